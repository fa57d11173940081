#include "screens/ComboMeter.h"

#include "core/Class.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "core/TimerManager.h"
#include "core/TimerRecord.h"
#include "core/Utility.h"
#include "field/Brick.h"
#include "field/FlyingText.h"
#include "geometry/Color.h"
#include "logic/ArcadeGameLogic.h"
#include "scene/SceneHost.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(ComboMeter, "ComboMeter", "Actor", &ComboMeter::RegisterProperties,
                     &InstantiateObjectOfClass<ComboMeter>);

namespace {

bool ReadBool(const LuaObject& table, const char* key, bool fallback)
{
    const LuaObject value = table[key];
    return value.IsBoolean() ? value.GetBoolean() : fallback;
}

std::string ReadString(const LuaObject& table, const char* key)
{
    const LuaObject value = table[key];
    return value.IsString() ? std::string(value.GetString()) : std::string();
}

} // namespace

void ComboMeter::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("combos"));
    c.RegisterPropertySetter(MakeClassicAccessor("combos"));
}

ComboMeter::ComboMeter() = default;

ComboMeter::~ComboMeter()
{
    ClearCombos();
}

void ComboMeter::ClearCombos()
{
    TimerManager* timers = SceneHost::GetTimerManager();
    for (Combo& combo : m_Combos)
        if (combo.timer != 0 && timers)
            timers->KillTimer(combo.timer);
    m_Combos.clear();
}

void ComboMeter::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "combos") {
        SetCombos(value);
        SetScriptField(name, value);
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
}

void ComboMeter::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    LuaObject combos;
    GetScriptField(combos, "combos");
    table.SetObject("combos", combos);
}

void ComboMeter::SetCombos(const LuaObject& value)
{
    ClearCombos();
    MAKO_ASSERT(value.IsTable());
    std::vector<Combo> combos;
    int number = 0;
    for (LuaPlus::LuaTableIterator it(value); it; it.Next()) {
        const LuaObject comboValue = it.GetValue();
        MAKO_ASSERT(comboValue.IsTable());
        ++number;
        Combo combo;
        combo.rewardText = ReadString(comboValue, "rewardText");
        // Names the combo in a refusal: its place in the list and its reward text.
        const std::string which =
            "combo " + std::to_string(number) + " \"" + combo.rewardText + "\"";
        MAKO_ASSERT_MSG(comboValue["rewardText"].IsString(), which + " needs a rewardText");
        const std::string type = ReadString(comboValue, "comboType");
        if (type == "Colors")
            combo.type = COLORS;
        else if (type == "Powerups")
            combo.type = POWERUPS;
        else if (type == "Custom")
            combo.type = CUSTOM;
        else
            MAKO_ASSERT_MSG(0, which + " has an unknown comboType \"" + type + "\"");
        const LuaObject required = comboValue["numberRequired"];
        combo.numberRequired = required.IsNumber() ? required.GetInteger() : 0;
        MAKO_ASSERT_MSG(combo.numberRequired >= 1, which + " needs a numberRequired of at least 1");
        const LuaObject limit = comboValue["timeLimit"];
        combo.timePerItem = (limit.IsNumber() ? limit.GetNumber() : 0.0) /
                            static_cast<unsigned>(combo.numberRequired);
        const LuaObject reward = comboValue["rewardScore"];
        combo.rewardScore = reward.IsNumber() ? reward.GetInteger() : 0;
        const LuaObject requirements = comboValue["requirements"];
        if (requirements.IsTable())
            for (LuaPlus::LuaTableIterator r(requirements); r; r.Next())
                if (r.GetValue().IsString())
                    combo.requirements.emplace_back(r.GetValue().GetString());
        combo.inOrder = ReadBool(comboValue, "inOrder", false);
        MAKO_ASSERT_MSG(!combo.inOrder || !combo.requirements.empty(),
                        which + " is inOrder but has no requirements");
        combo.mustDestroy = ReadBool(comboValue, "mustDestroy", true);
        combo.property = ReadString(comboValue, "property");
        const LuaObject repetitions = comboValue["repetitions"];
        if (repetitions.IsNumber() &&
            repetitions.GetNumber() == std::floor(repetitions.GetNumber()))
            combo.repetitions = repetitions.GetInteger();
        combos.push_back(std::move(combo));
    }
    m_Combos = std::move(combos);
}

bool ComboMeter::AdvanceCombo(std::size_t i, const std::string& item, ArcadeGameLogic* logic,
                              double x, double y)
{
    Combo& combo = m_Combos[i];
    if (combo.inOrder) {
        if (item != combo.requirements[combo.progress.size() % combo.requirements.size()])
            return false;
    } else {
        const bool wanted = combo.requirements.empty() ||
                            std::find(combo.requirements.begin(), combo.requirements.end(), item) !=
                                combo.requirements.end();
        if (!wanted ||
            std::find(combo.progress.begin(), combo.progress.end(), item) != combo.progress.end())
            return false;
    }
    combo.progress.push_back(item);
    TimerManager* timers = SceneHost::GetTimerManager();
    if (static_cast<int>(combo.progress.size()) < combo.numberRequired) {
        const std::uint32_t ms = static_cast<std::uint32_t>(combo.timePerItem * 1000.0);
        if (!timers)
            return false;
        if (combo.timer == 0)
            combo.timer = timers->CreateTimer(this, ms, 1, TIMER_LIMITED_TO_FRAMERATE);
        else
            timers->DelayTimer(combo.timer, ms);
        return false;
    }
    if (combo.timer != 0 && timers)
        timers->KillTimer(combo.timer);
    combo.timer = 0;
    combo.progress.clear();
    PayCombo(combo, logic, x, y);
    return true;
}

void ComboMeter::PayCombo(Combo& combo, ArcadeGameLogic* logic, double x, double y)
{
    if (logic)
        logic->AddScore(combo.rewardScore);
    Sound::PlaySound(combo.rewardScore < kMagicReward ? "attention5.ogg" : "Pickup_Magic33.ogg");
    if (combo.rewardScore >= kClapsReward)
        Sound::PlaySound("claps.ogg");
    if (logic) {
        logic->AddFlyingText(
            new FlyingText("Combo: " + FormatWithThousandsSeparators(combo.rewardScore), 100, x, y,
                           2.0, -20.0, Palette::Blue));
        logic->ShowMessage(combo.rewardText, kMarqueeMs);
    }
    ++combo.completions;
}

void ComboMeter::RemoveSpentCombos()
{
    m_Combos.erase(std::remove_if(m_Combos.begin(), m_Combos.end(),
                                  [](const Combo& c) {
                                      return c.repetitions != -1 && c.completions >= c.repetitions;
                                  }),
                   m_Combos.end());
}

void ComboMeter::OnPaddleHit(const std::string& item, ArcadeGameLogic* logic, double x, double y)
{
    bool paid = false;
    for (std::size_t i = 0; i < m_Combos.size(); ++i)
        if (m_Combos[i].type == POWERUPS)
            paid |= AdvanceCombo(i, item, logic, x, y);
    if (paid)
        RemoveSpentCombos();
}

void ComboMeter::OnBrickHit(Brick* brick, bool destroyed, ArcadeGameLogic* logic, double x,
                            double y)
{
    if (!brick)
        return;
    LuaObject texture;
    brick->GetScriptField(texture, "textureOnly");
    const std::string colour = texture.IsString() ? texture.GetString() : "";
    bool paid = false;
    for (std::size_t i = 0; i < m_Combos.size(); ++i) {
        const Combo& combo = m_Combos[i];
        if (destroyed != combo.mustDestroy)
            continue;
        if (combo.type == COLORS) {
            paid |= AdvanceCombo(i, colour, logic, x, y);
        } else if (combo.type == CUSTOM) {
            LuaObject value;
            brick->RetrieveProperty(value, combo.property);
            if (value.IsString())
                paid |= AdvanceCombo(i, value.GetString(), logic, x, y);
        }
    }
    if (paid)
        RemoveSpentCombos();
}

bool ComboMeter::OnTimer(const Event& event)
{
    const std::uint32_t id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id != 0)
        for (Combo& combo : m_Combos)
            if (combo.timer == id) {
                combo.timer = 0;
                combo.progress.clear();
                return true;
            }
    return Actor::OnTimer(event);
}
