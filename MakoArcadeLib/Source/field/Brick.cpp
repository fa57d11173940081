// Brick: state, construction, the construction entry of the level builder, and the data
// model operations (strength, sizes, hopper counts, colour variance).
#include "field/Brick.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/TableOrder.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "logic/PlayerSkill.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "physics/PhysicsGeom.h"
#include "resources/MemoryBudget.h"
#include "scene/SceneHost.h"

#include <algorithm>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Brick, "Brick", "ArcadeStructure", &Brick::RegisterProperties,
                     &InstantiateObjectOfClass<Brick>);

namespace {

struct BrickSize
{
    const char* name;
    int width;
    int height;
};
const BrickSize kBrickSizes[] = {
    {"Half", 16, 8}, {"Normal", 32, 16}, {"Double", 64, 32}, {"Triple", 96, 48}};

LuaObject ScriptString(const char* text)
{
    LuaObject value;
    value.AssignString(GetGlobalLuaState(), text);
    return value;
}

// The first key of a brick entry that fails when applied alone to a fresh brick; empty
// when none does by itself.
std::string FailingKey(const LuaObject& entry)
{
    if (!entry.IsTable())
        return std::string();
    for (const LuaObject& key : GetOrderedKeys(entry)) {
        if (!key.IsString() || std::string(key.GetString()) == "class")
            continue;
        LuaObject single = NewGlobalTable();
        single.SetObject(key.GetString(), entry[key]);
        if (!ObjectBoundary::Contain([&] {
                Brick probe;
                probe.ApplyProperties(single);
            }))
            return key.GetString();
    }
    return std::string();
}

// A message on one line of the log: its line breaks become "; ", a break at its end goes.
std::string OneLine(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
        text.replace(at, 1, "; ");
    return text;
}

} // namespace

Brick::Brick()
{
    m_BrickColor = Palette::White;
    SetRectangle(32, 16, false);
    m_CategoryBits = 2;
    m_CollideBits = 257;
    ApplyIntProperty("colorVariance", 0);
    ApplyIntProperty("brightnessVariance", 0);
    ApplyProperty("bevelVariant", ScriptString(""));
    LuaObject cracks = NewGlobalTable();
    cracks.SetString(1, "1");
    cracks.SetString(2, "2");
    ApplyProperty("crackVariant", cracks);
    ApplyBoolProperty("mustUncover", false);
    m_Powerups = NewGlobalTable();
    m_GroutColor = Color::FromRGBA(0, 0, 0, 0);
}

Brick::Brick(const std::string& resourceName) : Brick()
{
    AcquireAndApplyResource(resourceName);
}

Brick::~Brick()
{
    delete m_TrappedBall;
    DeletePowerupObjects();
    // Held balls are off the field while they sit in a slot: the hopper owns them.
    for (std::size_t i = 0; i < m_HopperSlots.size(); ++i)
        DeleteHeldBall(SlotBall(i));
    m_HopperSlots.clear();
    if (m_ReleaseTimer)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_ReleaseTimer);
}

Brick* Brick::CreateFromEntry(const LuaObject& entry, const std::string& entryName)
{
    std::unique_ptr<Brick> brick(new Brick());
    try {
        brick->ApplyProperties(entry);
        brick->Initialize();
        return brick.release();
    } catch (const std::exception& e) {
        if (!ObjectBoundary::IsDataError(e))
            throw;
        const std::string key = FailingKey(entry);
        std::string value;
        if (!key.empty() && entry[key.c_str()].IsConvertibleToString())
            value = ShortenedText(entry[key.c_str()].ToString());
        DataReport::Report(std::string(), "brick entry \"" + entryName + "\", key \"" + key +
                                              "\" (value \"" + value +
                                              "\") cannot be applied; a placeholder brick takes "
                                              "its place: " +
                                              e.what());
    }
    // The placeholder keeps the entry's place so the level's layout stays whole.
    std::unique_ptr<Brick> placeholder(new Brick());
    placeholder->m_Material = "Placeholder";
    placeholder->m_ShowsPlaceholder = true;
    placeholder->SetImageFromResource("InvalidImagePlaceholder.png");
    placeholder->SetRectangle(32, 16, false);
    placeholder->m_ImageValid = true;
    if (entry.IsTable() && !entry["position"].IsNil()) {
        if (!ObjectBoundary::Contain(
                [&] { placeholder->ApplyProperty("position", entry["position"]); }))
            DataReport::Report(std::string(),
                               "brick entry \"" + entryName + "\": its position is unusable too");
    }
    return placeholder.release();
}

// ---- Data model ------------------------------------------------------------------------

int Brick::GetEdges(const LuaObject& value)
{
    if (value.IsNil())
        return 0;
    if (value.IsNumber())
        return value.GetInteger();
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a number or a table of sides", value);
    static const std::pair<const char*, int> kSides[] = {{"top", BRICK_EDGE_TOP},
                                                         {"right", BRICK_EDGE_RIGHT},
                                                         {"bottom", BRICK_EDGE_BOTTOM},
                                                         {"left", BRICK_EDGE_LEFT}};
    int mask = 0;
    for (const auto& side : kSides) {
        const LuaObject flag = value[side.first];
        if (flag.IsBoolean() && flag.GetBoolean())
            mask |= side.second;
    }
    return mask;
}

void Brick::SetStrength(int strength)
{
    const int old = m_Strength;
    m_Strength = strength;
    if (old < 2 && strength > 0)
        InvalidateImage(true);
    if (strength > 1 && !m_NoScaleStrength) {
        m_Strength = ClampToInt(m_Strength * GetBrickStrengthScale());
    }
    const Vector2D centre = GetCentre();
    SetDamage(m_Damage, nullptr, nullptr, centre.x, centre.y);
}

int Brick::StageForDamage(int damage) const
{
    const int stages = m_DamageStages;
    if (stages <= 1 || damage < m_DamageThreshold)
        return 0;
    // A strength at or below the threshold leaves no span to divide: the last stage.
    if (m_Strength <= m_DamageThreshold)
        return stages - 1;
    const int stage =
        (damage - m_DamageThreshold) * (stages - 1) / (m_Strength - m_DamageThreshold) + 1;
    return std::min(stages - 1, stage);
}

void Brick::SetBrickSize(const std::string& name)
{
    for (const BrickSize& size : kBrickSizes) {
        if (name == size.name) {
            InvalidateImage(true);
            SetRectangle(size.width, size.height, false);
            UpdateGeometry();
            return;
        }
    }
    DataReport::Report(DescribeObject(*this),
                       "\"brickSize\": \"" + ShortenedText(name) +
                           "\" is no brick size (Half, Normal, Double, Triple); the brick keeps "
                           "its size");
}

void Brick::SetBallHopperSize(int count)
{
    SetBallHopperSizeOnly(count);
    SetShowBallHopperSize(count);
}

void Brick::SetBallHopperSizeOnly(int count)
{
    const int value = count;
    MAKO_ASSERT(value >= 0);
    // Balls held in slots that go away go with them.
    while (m_HopperSlots.size() > std::size_t(count)) {
        DeleteHeldBall(SlotBall(m_HopperSlots.size() - 1));
        m_HopperSlots.pop_back();
    }
    while (m_HopperSlots.size() < std::size_t(count))
        m_HopperSlots.emplace_back(new ActorLink<Ball>());
    m_BallHopperSize = count;
}

void Brick::SetShowBallHopperSize(int count)
{
    const int value = count;
    MAKO_ASSERT(value >= 0);
    m_ShowBallHopperSize = count;
    InvalidateImage(false);
}

void Brick::SetExplosivePower(int power)
{
    const int value = power;
    MAKO_ASSERT(value >= 0);
    m_ExplosivePower = power;
    SetShowExplosivePower(std::min(power, 5));
}

void Brick::SetShowExplosivePower(int power)
{
    const int value = power;
    MAKO_ASSERT(value >= 0 && value <= 5);
    m_ShowExplosivePower = power;
    InvalidateImage(false);
}

std::pair<int, int> Brick::CountTrappedBalls() const
{
    const int occupied = int(std::count_if(
        m_HopperSlots.begin(), m_HopperSlots.end(),
        [](const std::unique_ptr<ActorLink<Ball>>& slot) { return slot->Get() != nullptr; }));
    return {int(m_HopperSlots.size()), occupied};
}

void Brick::ApplyColorVariance()
{
    auto shift = [](std::uint8_t& channel, int by) {
        channel = std::uint8_t(std::clamp(int(channel) + by, 0, 255));
    };
    if (m_PendingColorVariance) {
        const int c = m_PendingColorVariance;
        const int red = RandomInt(2 * c) - c;
        const int blue = RandomInt(2 * c) - c;
        const int green = RandomInt(2 * c) - c;
        shift(m_BrickColor.r, red);
        shift(m_BrickColor.b, blue);
        shift(m_BrickColor.g, green);
        m_PendingColorVariance = 0;
    }
    if (m_PendingBrightnessVariance) {
        const int b = m_PendingBrightnessVariance;
        const int by = RandomInt(2 * b) - b;
        shift(m_BrickColor.r, by);
        shift(m_BrickColor.g, by);
        shift(m_BrickColor.b, by);
        m_PendingBrightnessVariance = 0;
    }
}

void Brick::InvalidateImage(bool base, bool parameters)
{
    m_ImageValid = false;
    m_FinishedImage.reset();
    if (base)
        m_BaseImage.reset();
    if (parameters)
        m_ImageParametersPicked = false;
}

// ---- Actor and structure -----------------------------------------------------------------

void Brick::Kill()
{
    if (IsDead())
        return;
    if (m_Geom)
        m_Geom->Disable();
    // The destroyed callbacks belong to Destroy, not to Kill.
    Actor::Kill();
}

void Brick::UpdateGeometry()
{
    ArcadeStructure::UpdateGeometry();
}

void Brick::SetRotation(double degrees)
{
    ArcadeStructure::SetRotation(degrees);
}

void Brick::BuildImage()
{
    if (m_ImageValid)
        return;
    try {
        CreateBrickImage();
    } catch (const InvalidImageParametersError& e) {
        DataReport::Report(DescribeObject(*this), "its image cannot be made (" +
                                                      OneLine(e.GetMessage()) +
                                                      "); it shows the placeholder");
        SetImageFromResource("InvalidImagePlaceholder.png");
        m_ShowsPlaceholder = true;
        m_ImageValid = true;
    } catch (const BudgetExceeded& e) {
        // Its copies (a shape zoomed to the brick's scale) do not fit what the game may hold:
        // said once for all the bricks that meet it.
        ObjectBoundary::ReportOnce(DescribeObject(*this), "its image cannot be made (" +
                                                              OneLine(e.GetMessage()) +
                                                              "); it shows the placeholder");
        SetImageFromResource("InvalidImagePlaceholder.png");
        m_ShowsPlaceholder = true;
        m_ImageValid = true;
    } catch (const ResourceNotFoundException& e) {
        DataReport::Report(DescribeObject(*this), "its image \"" +
                                                      ShortenedText(e.GetResourceName()) +
                                                      "\" is missing; it shows the placeholder");
        SetImageFromResource("InvalidImagePlaceholder.png");
        m_ShowsPlaceholder = true;
        m_ImageValid = true;
    }
}

void Brick::Draw(Canvas& canvas)
{
    if (GetY() + GetHeight() < 0)
        return;
    BuildImage();
    if (!m_Invisible)
        ArcadeStructure::Draw(canvas);
}
