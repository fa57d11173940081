// Brick: the properties scripts, levels and resource tables set and read. Setters of
// appearance properties drop the image caches so the next draw composes the image again.
#include "field/Brick.h"

#include "core/Class.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "display/Image.h"
#include "field/Ball.h"
#include "field/Powerup.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>
#include <limits>

using LuaPlus::LuaObject;

namespace {

using BrickSetter = void (*)(Brick& brick, const LuaObject& value);

PropertyAccessor* SetterOf(BrickSetter set, const char* name)
{
    return MakeFunctionAccessor(
        [set](Object& object, const LuaObject& value) {
            set(CastPropertyObject<Brick>(object), value);
        },
        name);
}

bool ToBool(const LuaObject& v)
{
    return ReadBooleanFromObject(v);
}
int ToInt(const LuaObject& v)
{
    return ReadIntegerFromObject(v);
}

// A count from data held to least..most: each unit of it makes or counts something, so a
// value outside is reported (naming the brick and the key, and the level's place when one
// is open) and the nearest end is used.
int HeldCount(const Brick& brick, const char* key, const LuaObject& value, int least, int most)
{
    const int count = ToInt(value);
    const int held = std::clamp(count, least, most);
    if (held != count)
        DataReport::Report(
            DescribeObject(brick),
            std::string("\"") + key +
                "\": " + (value.IsNumber() ? value.ToString() : std::to_string(count)) +
                (least == std::numeric_limits<int>::min() ? " is more than " + std::to_string(most)
                 : most == std::numeric_limits<int>::max()
                     ? " is below " + std::to_string(least)
                     : " is outside " + std::to_string(least) + " to " + std::to_string(most)) +
                "; " + std::to_string(held) + " is used");
    return held;
}

// A hopper's count: a slot is made for each ball it holds, so from 0 to MAX_HOPPER_SLOTS.
int HopperCount(const Brick& brick, const char* key, const LuaObject& value)
{
    return HeldCount(brick, key, value, 0, Brick::MAX_HOPPER_SLOTS);
}

// Keys whose setters depend on others of the same table: a shape before the size name and
// its scale, the material before an explicit strength, the strength scaling switch and the
// threshold before the strength, the strength before the damage.
void RankBrickProperties()
{
    RankPropertyKey("brickSize", 15.6);
    RankPropertyKey("texture", 20);
    RankPropertyKey("textureOnly", 20);
    RankPropertyKey("noScaleStrength", 21);
    RankPropertyKey("damageThreshold", 21);
    RankPropertyKey("strength", 22);
    RankPropertyKey("damage", 23);
}

// The properties RetrieveProperties copies into a table, after the structure's own.
const char* const kRetrievedNames[] = {"powerupIsLoot",
                                       "powerups",
                                       "glass",
                                       "blockPaddle",
                                       "noBlockBall",
                                       "lightningProof",
                                       "bombProof",
                                       "strength",
                                       "noScaleStrength",
                                       "damage",
                                       "score",
                                       "showScore",
                                       "showSteelEdges",
                                       "steelEdgesOnly",
                                       "showWeakEdges",
                                       "weakEdgesOnly",
                                       "showSpringEdges",
                                       "springEdgesOnly",
                                       "ballEaterOnly",
                                       "showBallEater",
                                       "ballHopperSizeOnly",
                                       "ballHopperRequirement",
                                       "showBallHopperSize",
                                       "showTrappedBall",
                                       "trappedBallOnly",
                                       "showPowerup",
                                       "showAnonymousPowerup",
                                       "explosivePowerOnly",
                                       "explosiveRadius",
                                       "showExplosivePower",
                                       "healsOnly",
                                       "showHeals",
                                       "regenerates",
                                       "reviveTraits",
                                       "addEnergy",
                                       "noFlash",
                                       "invisible",
                                       "phases",
                                       "phaseToInvisible",
                                       "energyEdges",
                                       "flashEdges",
                                       "scoreOnEdges",
                                       "flashPoly",
                                       "necessary",
                                       "explodeAsLightning",
                                       "groutEdges",
                                       "groutColor",
                                       "healsSilently",
                                       "stageProgress",
                                       "phaseProgress",
                                       "phaseStrong",
                                       "destroyGroup",
                                       "extraLoot",
                                       "ballHopperInPlace",
                                       "ballHopperError",
                                       "icons",
                                       "noRotateTexture",
                                       "hitMotionRequiresDamage",
                                       "damageThreshold"};

} // namespace

// Friend of Brick: the registration needs the members.
struct BrickProperties
{
    // A member that reads back as stored and whose setter is set.
    template <int Id, typename M>
    static void Member(Class& c, M Brick::*member, const char* name, BrickSetter set)
    {
        c.RegisterPropertyGetter(MakeMemberAccessor<Id>(member, name));
        c.RegisterPropertySetter(SetterOf(set, name));
    }
    // A value kept in the script table: the setter runs, then the raw value is stored.
    static void Script(Class& c, const char* name, BrickSetter set)
    {
        c.RegisterPropertyGetter(MakeScriptAccessor(name));
        c.RegisterPropertySetter(SetterOf(set, name));
    }
    // An edge set ("left", {"top", "bottom"}, ...) the picture shows: setting it composes
    // the picture again.
    static void ShownEdges(Class& c, int Brick::*member, const char* name)
    {
        c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_INT>(member, name));
        c.RegisterPropertySetter(MakeFunctionAccessor(
            [member](Object& o, const LuaObject& v) {
                Brick& b = CastPropertyObject<Brick>(o);
                b.*member = Brick::GetEdges(v);
                b.InvalidateImage(false);
            },
            name));
    }
    // A flag the picture shows: setting it composes the picture again, and with
    // `parameters` draws its variant parameters anew.
    static void ShownFlag(Class& c, bool Brick::*member, const char* name, bool parameters)
    {
        c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_BOOL>(member, name));
        c.RegisterPropertySetter(MakeFunctionAccessor(
            [member, parameters](Object& o, const LuaObject& v) {
                Brick& b = CastPropertyObject<Brick>(o);
                b.*member = ToBool(v);
                b.InvalidateImage(parameters);
            },
            name));
    }
    // Set only: reading raises the class registry's property error.
    static void WriteOnly(Class& c, const char* name, BrickSetter set)
    {
        c.RegisterPropertyGetter(MakeLockedAccessor(name));
        c.RegisterPropertySetter(SetterOf(set, name));
    }

    static void Register(Class& c);

private:
    // The texture, its variants and variances, the grout.
    static void RegisterTexture(Class& c);
    // What the picture shows of the brick's traits: edges, marks, flashes, size and shape.
    static void RegisterMarks(Class& c);
    static void RegisterStrength(Class& c);
    // Materials, the edges that act on balls, and what the brick blocks.
    static void RegisterMaterials(Class& c);
    // Eating, holding and trapping balls.
    static void RegisterBallTraits(Class& c);
    // Explosives, healing, phases and the power-ups the brick holds.
    static void RegisterTraits(Class& c);
};

void BrickProperties::Register(Class& c)
{
    // Kept in the script table for the brick's own code: the traits a brick takes when it
    // comes back, the group it counts in.
    for (const char* name : {"reviveTraits", "groupID"}) {
        c.RegisterPropertyGetter(MakeScriptAccessor(name));
        c.RegisterPropertySetter(MakeScriptAccessor(name));
    }
    // The hopper's launch angle in degrees, kept in the script table too: a number is held
    // to a turn either way (what is no number is reported and 0 is used), so a launch
    // always has a direction.
    Script(c, "launchAngle", [](Brick& b, const LuaObject& v) {
        if (!v.IsNumber()) {
            b.SetScriptField("launchAngle", v);
            return;
        }
        LuaObject held;
        held.AssignNumber(GetGlobalLuaState(), DataRange::Read(DescribeObject(b), "launchAngle",
                                                               v.GetNumber(), -360.0, 360.0, 0.0));
        b.SetScriptField("launchAngle", held);
    });
    RegisterTexture(c);
    RegisterMarks(c);
    RegisterStrength(c);
    RegisterMaterials(c);
    RegisterBallTraits(c);
    RegisterTraits(c);
    RankBrickProperties();
}

// ---- Appearance --------------------------------------------------------------------------

void BrickProperties::RegisterTexture(Class& c)
{
    using B = Brick;
    WriteOnly(c, "texture",
              [](B& b, const LuaObject& v) { b.SetTexture(ReadStringFromObject(v), true); });
    Script(c, "textureOnly", [](B& b, const LuaObject& v) {
        b.SetTexture(ReadStringFromObject(v), false);
        b.SetScriptField("textureOnly", v);
    });
    Script(c, "variant",
           [](B& b, const LuaObject& v) { b.SetVariantMember(b.m_Variant, "variant", v, true); });
    Script(c, "shapeVariant", [](B& b, const LuaObject& v) {
        b.SetVariantMember(b.m_ShapeVariant, "shapeVariant", v, true);
    });
    Script(c, "crackVariant", [](B& b, const LuaObject& v) {
        b.SetVariantMember(b.m_CrackVariant, "crackVariant", v, false);
    });
    Script(c, "bevelVariant", [](B& b, const LuaObject& v) {
        b.SetVariantMember(b.m_BevelVariant, "bevelVariant", v, true);
    });
    Script(c, "colorVariance", [](B& b, const LuaObject& v) {
        b.m_PendingColorVariance = ToInt(v);
        b.InvalidateImage(true);
        b.SetScriptField("colorVariance", v);
    });
    Script(c, "brightnessVariance", [](B& b, const LuaObject& v) {
        b.m_PendingBrightnessVariance = ToInt(v);
        b.InvalidateImage(true);
        b.SetScriptField("brightnessVariance", v);
    });
    Script(c, "icons", [](B& b, const LuaObject& v) {
        b.InvalidateImage(false);
        b.SetScriptField("icons", v);
    });
    ShownFlag(c, &B::m_NoRotateTexture, "noRotateTexture", true);
    ShownEdges(c, &B::m_GroutEdges, "groutEdges");
    Member<PROPERTY_COLOR>(c, &B::m_GroutColor, "groutColor", [](B& b, const LuaObject& v) {
        b.m_GroutColor = Color(v);
        b.InvalidateImage(false);
    });
}

void BrickProperties::RegisterMarks(Class& c)
{
    using B = Brick;
    ShownEdges(c, &B::m_ShowSteelEdges, "showSteelEdges");
    ShownEdges(c, &B::m_ShowSpringEdges, "showSpringEdges");
    ShownEdges(c, &B::m_ShowWeakEdges, "showWeakEdges");
    ShownFlag(c, &B::m_ShowBallEater, "showBallEater", false);
    Member<PROPERTY_INT>(c, &B::m_ShowBallHopperSize, "showBallHopperSize",
                         [](B& b, const LuaObject& v) {
                             b.SetShowBallHopperSize(HopperCount(b, "showBallHopperSize", v));
                         });
    ShownFlag(c, &B::m_ShowTrappedBall, "showTrappedBall", false);
    Member<PROPERTY_BOOL>(c, &B::m_ShowPowerup, "showPowerup", [](B& b, const LuaObject& v) {
        b.m_ShowPowerup = ToBool(v);
        if (b.m_ShowPowerup)
            b.m_ShowAnonymousPowerup = false;
        b.InvalidateImage(false);
    });
    ShownFlag(c, &B::m_ShowAnonymousPowerup, "showAnonymousPowerup", false);
    // The icon shows a power of 0 to 5.
    Member<PROPERTY_INT>(c, &B::m_ShowExplosivePower, "showExplosivePower",
                         [](B& b, const LuaObject& v) {
                             b.SetShowExplosivePower(HeldCount(b, "showExplosivePower", v, 0, 5));
                         });
    ShownFlag(c, &B::m_ShowHeals, "showHeals", false);
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_ShowScore, "showScore");
    Member<PROPERTY_BOOL>(c, &B::m_Invisible, "invisible", [](B& b, const LuaObject& v) {
        b.m_Invisible = ToBool(v);
        b.m_ImageValid = false;
    });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_NoFlash, "noFlash");
    Member<PROPERTY_INT>(c, &B::m_FlashEdges, "flashEdges",
                         [](B& b, const LuaObject& v) { b.m_FlashEdges = Brick::GetEdges(v); });
    RegisterMemberProperty<PROPERTY_POLY>(c, &B::m_FlashPoly, "flashPoly");
    WriteOnly(c, "brickSize",
              [](B& b, const LuaObject& v) { b.SetBrickSize(ReadStringFromObject(v)); });
    WriteOnly(c, "polyScale",
              [](B& b, const LuaObject& v) { b.SetPolyScale(ArcadeStructure::ReadPolyScale(v)); });
}

// ---- Strength, damage, score -------------------------------------------------------------

void BrickProperties::RegisterStrength(Class& c)
{
    using B = Brick;
    Member<PROPERTY_INT>(c, &B::m_Strength, "strength", [](B& b, const LuaObject& v) {
        b.SetStrength(HeldCount(b, "strength", v, -2, Brick::MAX_STRENGTH));
    });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_NoScaleStrength, "noScaleStrength");
    Member<PROPERTY_INT>(c, &B::m_Damage, "damage", [](B& b, const LuaObject& v) {
        int damage = ToInt(v);
        if (damage == -1)
            damage = b.m_Strength == -1 ? 0 : b.m_Strength;
        else
            damage = HeldCount(b, "damage", v, 0, Brick::MAX_STRENGTH);
        const Vector2D centre = b.GetCentre();
        b.SetDamage(damage, nullptr, nullptr, centre.x, centre.y);
    });
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_DamageThreshold, "damageThreshold");
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_HitMotionRequiresDamage,
                                         "hitMotionRequiresDamage");
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_Score, "score");
    Member<PROPERTY_INT>(c, &B::m_ScoreOnEdges, "scoreOnEdges",
                         [](B& b, const LuaObject& v) { b.m_ScoreOnEdges = Brick::GetEdges(v); });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_Necessary, "necessary");
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_DestroyGroup, "destroyGroup");
    Script(c, "takeDamageOnCollision",
           [](B& b, const LuaObject& v) { b.SetTakeDamageOnCollision(v); });
}

// ---- Materials, edges and blocking --------------------------------------------------------

void BrickProperties::RegisterMaterials(Class& c)
{
    using B = Brick;
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_Glass, "glass");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_Bush, "bush");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_Key, "key");
    struct EdgePair
    {
        const char* both;
        const char* only;
        int B::*member;
        int B::*shown;
    };
    static const EdgePair kEdgePairs[] = {
        {"steelEdges", "steelEdgesOnly", &B::m_SteelEdges, &B::m_ShowSteelEdges},
        {"springEdges", "springEdgesOnly", &B::m_SpringEdges, &B::m_ShowSpringEdges},
        {"weakEdges", "weakEdgesOnly", &B::m_WeakEdges, &B::m_ShowWeakEdges}};
    for (const EdgePair& pair : kEdgePairs) {
        const EdgePair* p = &pair;
        c.RegisterPropertyGetter(MakeLockedAccessor(p->both));
        c.RegisterPropertySetter(MakeFunctionAccessor(
            [p](Object& o, const LuaObject& v) {
                B& b = CastPropertyObject<B>(o);
                b.*(p->member) = b.*(p->shown) = Brick::GetEdges(v);
                b.InvalidateImage(false);
            },
            p->both));
        ShownEdges(c, p->member, p->only);
    }
    ShownEdges(c, &B::m_EnergyEdges, "energyEdges");
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_AddEnergy, "addEnergy");
    Member<PROPERTY_BOOL>(c, &B::m_BlockPaddle, "blockPaddle",
                          [](B& b, const LuaObject& v) { b.SetBlockPaddle(ToBool(v)); });
    Member<PROPERTY_BOOL>(c, &B::m_NoBlockBall, "noBlockBall",
                          [](B& b, const LuaObject& v) { b.SetNoBlockBall(ToBool(v)); });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_LightningProof, "lightningProof");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_BombProof, "bombProof");
}

// ---- Traits --------------------------------------------------------------------------------

void BrickProperties::RegisterBallTraits(Class& c)
{
    using B = Brick;
    WriteOnly(c, "ballEater", [](B& b, const LuaObject& v) {
        b.m_BallEater = b.m_ShowBallEater = ToBool(v);
        b.InvalidateImage(false);
    });
    ShownFlag(c, &B::m_BallEater, "ballEaterOnly", false);
    WriteOnly(c, "ballHopperSize", [](B& b, const LuaObject& v) {
        b.SetBallHopperSize(HopperCount(b, "ballHopperSize", v));
    });
    Member<PROPERTY_INT>(c, &B::m_BallHopperSize, "ballHopperSizeOnly",
                         [](B& b, const LuaObject& v) {
                             b.SetBallHopperSizeOnly(HopperCount(b, "ballHopperSizeOnly", v));
                             b.InvalidateImage(false);
                         });
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_BallHopperRequirement, "ballHopperRequirement");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_BallHopperInPlace, "ballHopperInPlace");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &B::m_BallHopperError, "ballHopperError");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &B::m_ReleaseBallTimerLength,
                                           "releaseBallTimerLength");
    WriteOnly(c, "trappedBall", [](B& b, const LuaObject& v) {
        b.SetTrappedBall(v);
        b.m_ShowTrappedBall = !v.IsNil();
        b.InvalidateImage(false);
    });
    Script(c, "trappedBallOnly", [](B& b, const LuaObject& v) {
        b.SetTrappedBall(v);
        b.SetScriptField("trappedBallOnly", v);
    });
}

void BrickProperties::RegisterTraits(Class& c)
{
    using B = Brick;
    // A power below 0 means nothing: it is reported and 0 is used.
    WriteOnly(c, "explosivePower", [](B& b, const LuaObject& v) {
        b.SetExplosivePower(HeldCount(b, "explosivePower", v, 0, std::numeric_limits<int>::max()));
    });
    Member<PROPERTY_INT>(
        c, &B::m_ExplosivePower, "explosivePowerOnly", [](B& b, const LuaObject& v) {
            b.m_ExplosivePower =
                HeldCount(b, "explosivePowerOnly", v, 0, std::numeric_limits<int>::max());
        });
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_ExplosiveRadius, "explosiveRadius");
    ShownFlag(c, &B::m_ExplodeAsLightning, "explodeAsLightning", false);
    WriteOnly(c, "heals", [](B& b, const LuaObject& v) { b.SetHeals(ToInt(v), true); });
    Member<PROPERTY_INT>(c, &B::m_Heals, "healsOnly",
                         [](B& b, const LuaObject& v) { b.SetHeals(ToInt(v), false); });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_HealsSilently, "healsSilently");
    RegisterMemberProperty<PROPERTY_INT>(c, &B::m_Regenerates, "regenerates");
    Script(c, "phases", [](B& b, const LuaObject& v) { b.SetPhases(v); });
    Member<PROPERTY_BOOL>(c, &B::m_PhaseStrong, "phaseStrong", [](B& b, const LuaObject& v) {
        b.m_PhaseStrong = ToBool(v);
        b.UpdatePhaseInvisibility();
    });
    Member<PROPERTY_INT>(c, &B::m_PhaseProgress, "phaseProgress", [](B& b, const LuaObject& v) {
        b.m_PhaseProgress = ToInt(v);
        b.UpdatePhaseInvisibility();
    });
    Member<PROPERTY_INT>(c, &B::m_StageProgress, "stageProgress", [](B& b, const LuaObject& v) {
        b.m_StageProgress = ToInt(v);
        b.UpdatePhaseInvisibility();
    });
    Member<PROPERTY_BOOL>(c, &B::m_PhaseToInvisible, "phaseToInvisible",
                          [](B& b, const LuaObject& v) {
                              b.m_PhaseToInvisible = ToBool(v);
                              b.UpdatePhaseInvisibility();
                          });
    Member<PROPERTY_LUAOBJECT>(c, &B::m_Powerups, "powerups",
                               [](B& b, const LuaObject& v) { b.SetPowerups(v); });
    RegisterMemberProperty<PROPERTY_BOOL>(c, &B::m_PowerupIsLoot, "powerupIsLoot");
    Member<PROPERTY_INT>(c, &B::m_ExtraLoot, "extraLoot", [](B& b, const LuaObject& v) {
        b.m_ExtraLoot = HeldCount(b, "extraLoot", v, 0, Brick::MAX_EXTRA_LOOT);
    });
}

void Brick::RegisterProperties(Class& c)
{
    BrickProperties::Register(c);
    c.BuildDefaults();
}

// ---- Setters -------------------------------------------------------------------------------

void Brick::SetTexture(const std::string& name, bool materialRules)
{
    LuaObject colour;
    colour.AssignString(GetGlobalLuaState(), name.c_str());
    m_BrickColor.SetColor(colour);
    m_Material = name;
    InvalidateImage(true, true);
    if (materialRules) {
        m_Glass = name == "Glass";
        if (name == "Steel")
            SetStrength(-1);
        SetScriptField("textureOnly", colour);
    }
}

void Brick::SetVariantMember(std::string& member, const char* property, const LuaObject& v,
                             bool parameters)
{
    auto held = [](const std::string& s) { return s.empty() ? std::string() : "." + s; };
    if (v.IsString()) {
        member = held(v.GetString());
    } else if (v.IsTable()) {
        int n = 0;
        while (!v[n + 1].IsNil())
            ++n;
        if (n > 0)
            member = held(ReadStringFromObject(v[RandomInt(n) + 1]));
    }
    SetScriptField(property, v);
    InvalidateImage(true, parameters);
}

void Brick::SetPowerups(const LuaObject& value)
{
    // Any value: what names no kind is reported and left out.
    m_Powerups = Powerup::KindsOnly(value);
    DeletePowerupObjects();
    InvalidateImage(false);
}

void Brick::SetPhases(const LuaObject& value)
{
    m_PhaseStrongTicks = m_PhaseWeakTicks = 0;
    if (value.IsTable()) {
        const LuaObject x = value["x"].IsNil() ? value[1] : value["x"];
        const LuaObject y = value["y"].IsNil() ? value[2] : value["y"];
        m_PhaseStrongTicks = x.IsNumber() ? x.GetInteger() : 0;
        m_PhaseWeakTicks = y.IsNumber() ? y.GetInteger() : 0;
    } else if (!value.IsNil()) {
        MAKO_THROW_VALUE_TYPE("a table of two tick counts", value);
    }
    SetScriptField("phases", value);
    m_ImageValid = false;
    m_BaseImage.reset();
}

void Brick::SetHeals(int ticks, bool show)
{
    m_Heals = ticks;
    if (show)
        m_ShowHeals = ticks > 0;
    if (ticks == 0)
        m_HealCountdown = 0;
    else if (m_Damage != 0 && m_HealCountdown == 0)
        m_HealCountdown = ticks;
    InvalidateImage(false);
}

void Brick::SetPolyScale(double factor)
{
    InvalidateImage(true);
    if (m_FlashPoly.GetNumVertices()) {
        std::vector<Point2f> scaled;
        for (const Point2f& v : m_FlashPoly.GetVertices())
            scaled.emplace_back(float(v.x * factor), float(v.y * factor));
        m_FlashPoly.SetVertices(scaled);
        m_FlashPoly.BuildEdges();
    }
    LuaObject value;
    value.AssignNumber(GetGlobalLuaState(), factor);
    ArcadeStructure::ApplyClassicProperty("polyScale", value);
}

void Brick::SetTakeDamageOnCollision(const LuaObject& value)
{
    // Shared with the other bricks made from the same table.
    m_TakeDamageFrom = ReadBehaviourList(TAKE_DAMAGE_ON_COLLISION, value);
    RemoveHitCallback(&Brick::TakeDamageOnCollisionHit, this);
    AddHitCallback(&Brick::TakeDamageOnCollisionHit, this);
    SetScriptField("takeDamageOnCollision", value);
}

void Brick::SetBlockPaddle(bool block)
{
    m_BlockPaddle = block;
    SetCollideBits(block ? (m_CollideBits | 16u) : (m_CollideBits & ~16u));
}

void Brick::SetNoBlockBall(bool noBlock)
{
    const bool was = m_NoBlockBall;
    m_NoBlockBall = noBlock;
    if (noBlock) {
        SetCollideBits(m_CollideBits & ~1u);
    } else {
        SetCollideBits(m_CollideBits | 1u);
        if (was)
            StartSoftPeriod();
    }
}

void Brick::UpdatePhaseInvisibility()
{
    if (!m_PhaseToInvisible)
        return;
    const double v = m_PhaseProgress / double(kPhaseChange);
    SetAlpha(std::uint8_t(255 * (m_PhaseStrong ? v : 1 - v)));
    SetDrawMode(DRAWMODE_DEFAULT);
    SetNoBlockBall(m_PhaseStrong || m_PhaseProgress != 0);
}

// ---- Reading back ----------------------------------------------------------------------------

void Brick::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "rotation") {
        SetRotation(ReadNumberFromObject(value));
        return;
    }
    ArcadeStructure::ApplyClassicProperty(name, value);
    // The body follows a brick put elsewhere, and the trapped ball sits at its centre.
    if (name == "position" && m_Geom)
        SyncToPhysics();
    if (name == "position" && m_TrappedBall) {
        const Vector2D c = GetCentre();
        m_TrappedBall->SetPosition(int(c.x - m_TrappedBall->GetWidth() / 2.0),
                                   int(c.y - m_TrappedBall->GetHeight() / 2.0));
    }
}

void Brick::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
}

void Brick::RetrieveProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveProperties(table);
    for (const char* name : kRetrievedNames) {
        LuaObject value;
        RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}
