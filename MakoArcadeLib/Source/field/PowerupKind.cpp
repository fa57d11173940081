#include "field/PowerupKind.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "display/Image.h"
#include "display/ImageEffects.h"

#include <cstdlib>
#include <memory>
#include <utility>

using LuaPlus::LuaObject;

namespace {

// Every kind the game knows, with what it does besides reading its table.
const PowerupKind::Traits kKinds[] = {
    {"BlingCoin", true, false},
    {"BlingDiamond", true, false},
    {"BlingEmerald", true, false},
    {"BlingRuby", true, false},
    {"GoldBrickPowerup", false, true},
    {"Secret", false, false},
    {"IncreaseShield", false, false},
    {"Breakthru", false, false},
    {"DecreasePaddlePower", false, false},
    {"IncreasePaddlePower", false, false},
    {"RubberBall", false, false},
    {"GlueBall", false, false},
    {"HeavyBall", false, false},
    {"LightBall", false, false},
    {"BigBall", false, false},
    {"SmallBall", false, false},
    {"Faster", false, false},
    {"Slower", false, false},
    {"Split", false, false},
    {"Lightning", false, false},
    {"LetterB", false, false},
    {"LetterR", false, false},
    {"LetterE", false, false},
    {"LetterA", false, false},
    {"LetterK", false, false},
    {"LetterO", false, false},
    {"LetterU", false, false},
    {"LetterT", false, false},
    {"ExpandPaddle", false, false},
    {"ContractPaddle", false, false},
    {"PaddleCatch", false, false},
    {"Laser", false, false},
    {"ExtraBall", false, false},
    {"NormalBall", false, false},
    {"NormalPaddle", false, false},
};
constexpr std::size_t kKindCount = sizeof(kKinds) / sizeof(kKinds[0]);
constexpr double kGoldBrickScale = 0.3333333333333333;
constexpr int kSpinAnimations = 3;

// The instantiator of kind I: the kind built, the table applied, initialised; a kind that
// fails on the way is deleted and the failure passes on.
template <std::size_t I> Object* InstantiateKind(const LuaObject& params)
{
    std::unique_ptr<PowerupKind> kind(new PowerupKind(kKinds[I].name));
    kind->ApplyProperties(params);
    kind->Initialize();
    return kind.release();
}

template <std::size_t... I> std::vector<Class*> RegisterKinds(std::index_sequence<I...>)
{
    // The parent record must exist first.
    Powerup::GetStaticClass();
    return {new Class(kKinds[I].name, "Powerup", nullptr, &InstantiateKind<I>)...};
}

const std::vector<Class*>& KindClasses()
{
    static const std::vector<Class*> classes =
        RegisterKinds(std::make_index_sequence<kKindCount>());
    return classes;
}

[[maybe_unused]] const bool kKindsRegistered = !KindClasses().empty();

std::size_t KindIndex(const std::string& name)
{
    for (std::size_t i = 0; i < kKindCount; ++i)
        if (name == kKinds[i].name)
            return i;
    MAKO_THROW(Exception, "Unknown power-up kind " + name);
}

} // namespace

PowerupKind::PowerupKind(const std::string& kindName)
    : Powerup(kindName), m_Class(KindClasses()[KindIndex(kindName)]),
      m_Traits(&kKinds[KindIndex(kindName)])
{
    if (m_Traits->shrinksToThird) {
        if (Image* image = GetImage()) {
            Image* small = ImageEffects::ZoomImage(image, kGoldBrickScale, true);
            if (small)
                SetImage(small, "");
        }
    }
}

bool PowerupKind::OnSpawn(bool playSound)
{
    if (m_Traits->spins)
        PlayAnimation("spin" + std::to_string(std::rand() % kSpinAnimations + 1));
    return Powerup::OnSpawn(playSound);
}

const std::vector<PowerupKind::Traits>& PowerupKind::GetKinds()
{
    static const std::vector<Traits> kinds(kKinds, kKinds + kKindCount);
    return kinds;
}

const PowerupKind::Traits* PowerupKind::FindKind(const std::string& name)
{
    for (const Traits& traits : kKinds)
        if (name == traits.name)
            return &traits;
    return nullptr;
}
