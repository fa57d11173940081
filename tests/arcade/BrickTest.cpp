// Bricks: the data model read back from tables, strength scaling, edge masks, damage
// stages, the image-name grammar and searches, composition of every brick resource the
// game ships, and the construction entry that keeps one bad brick from ending a level.
#include "FieldScene.h"

#include "core/Log.h"
#include "core/Random.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "display/Image.h"
#include "field/Brick.h"
#include "field/Powerup.h"
#include "lua/MakoLuaState.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace fieldtest;
using LuaPlus::LuaObject;

namespace {

class BrickTest : public FieldTest
{
protected:
    ~BrickTest() override
    {
        GetGlobalLuaState()->GetGlobals().SetNumber("brickStrengthOverride", 1.0);
    }

    // A brick from a Lua table expression, placed in the field.
    Brick* Make(const std::string& table)
    {
        Brick* brick = dynamic_cast<Brick*>(MakeStructure(table));
        EXPECT_NE(nullptr, brick) << table;
        return brick ? root->Place(brick) : nullptr;
    }
    LuaObject Read(Brick* brick, const char* name)
    {
        LuaObject value;
        brick->RetrieveProperty(value, name);
        return value;
    }
};

} // namespace

TEST_F(BrickTest, ANewBrickIsAWhiteStrengthOneRectangleThatBallsAndBlastsHit)
{
    Brick* brick = Make("{class = 'Brick'}");
    EXPECT_EQ(32, brick->GetShapeWidth());
    EXPECT_EQ(16, brick->GetShapeHeight());
    EXPECT_EQ(Palette::White, brick->GetBrickColor());
    EXPECT_EQ(1, brick->GetStrength());
    EXPECT_EQ(0, brick->GetDamage());
    EXPECT_EQ(1, brick->GetScore());
    EXPECT_FALSE(brick->IsNecessary());
    EXPECT_EQ(2u, brick->GetCategoryBits());
    EXPECT_EQ(257u, brick->GetCollideBits());
    const LuaObject cracks = Read(brick, "crackVariant");
    ASSERT_TRUE(cracks.IsTable());
    EXPECT_STREQ("1", cracks[1].GetString());
    EXPECT_STREQ("2", cracks[2].GetString());
}

// A strength and a damage from data are held to what a brick can count: a strength to
// -2 (never revealed) .. MAX_STRENGTH, a damage to 0 .. MAX_STRENGTH (-1 stays the whole
// strength), each mend named; so strength less damage always fits an int.
TEST_F(BrickTest, AStrengthAndADamageFromDataAreHeldToWhatABrickCounts)
{
    bbtest::LogCapture log;
    Brick* strong = Make("{class = 'Brick', noScaleStrength = true, strength = 2^31}");
    EXPECT_EQ(Brick::MAX_STRENGTH, strong->GetStrength());
    Brick* low = Make("{class = 'Brick', noScaleStrength = true, strength = -2^31}");
    EXPECT_EQ(-2, low->GetStrength());
    Brick* hurt = Make("{class = 'Brick', noScaleStrength = true, strength = 5, damage = -2^31}");
    EXPECT_EQ(0, hurt->GetDamage());
    EXPECT_FALSE(hurt->IsDead());
    Brick* far = Make("{class = 'Brick', noScaleStrength = true, strength = 5, damage = 2^31}");
    EXPECT_EQ(Brick::MAX_STRENGTH, far->GetDamage());
    EXPECT_NE(log.Text().find("\"strength\": 2147483648 is outside -2 to 1000000; 1000000 is used"),
              std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find("\"damage\": -2147483648 is outside 0 to 1000000; 0 is used"),
              std::string::npos)
        << log.Text();
}

TEST_F(BrickTest, PropertiesReadBackAsTheirSettersStoredThem)
{
    Brick* brick = Make(
        "{class = 'Brick', textureOnly = 'Stone', strength = 4, damageThreshold = 2, score = 25,"
        " necessary = true, steelEdges = {bottom = true, left = true, right = true},"
        " weakEdgesOnly = 65535, springEdges = 1, energyEdges = {top = true}, addEnergy = 3,"
        " groutEdges = 15, groutColor = 'Red', showAnonymousPowerup = true, showPowerup = true,"
        " powerups = 'Split', ballHopperSize = 2, ballHopperRequirement = 4,"
        " ballHopperError = 45, releaseBallTimerLength = 0.75, explosivePower = 7,"
        " explosiveRadius = 40, heals = 300, regenerates = 600, phases = {x = 30, y = 40},"
        " blockPaddle = true, noBlockBall = true, destroyGroup = 3, extraLoot = 2,"
        " icons = {'Icon.Key.png'}, flashEdges = {top = true}, scoreOnEdges = 4}");
    struct Expect
    {
        const char* name;
        double value;
    };
    const Expect numbers[] = {{"strength", 4},
                              {"damageThreshold", 2},
                              {"score", 25},
                              {"steelEdgesOnly", 14},
                              {"showSteelEdges", 14},
                              {"weakEdgesOnly", 65535},
                              {"showWeakEdges", 0},
                              {"springEdgesOnly", 1},
                              {"showSpringEdges", 1},
                              {"energyEdges", 1},
                              {"addEnergy", 3},
                              {"groutEdges", 15},
                              {"ballHopperSizeOnly", 2},
                              {"showBallHopperSize", 2},
                              {"ballHopperRequirement", 4},
                              {"ballHopperError", 45},
                              {"releaseBallTimerLength", 0.75},
                              {"explosivePowerOnly", 7},
                              {"showExplosivePower", 5},
                              {"explosiveRadius", 40},
                              {"healsOnly", 300},
                              {"regenerates", 600},
                              {"destroyGroup", 3},
                              {"extraLoot", 2},
                              {"flashEdges", 1},
                              {"scoreOnEdges", 4}};
    for (const Expect& e : numbers)
        EXPECT_DOUBLE_EQ(e.value, Read(brick, e.name).GetNumber()) << e.name;
    for (const char* on : {"necessary", "showPowerup", "showHeals", "blockPaddle", "noBlockBall"})
        EXPECT_TRUE(Read(brick, on).GetBoolean()) << on;
    EXPECT_FALSE(Read(brick, "showAnonymousPowerup").GetBoolean()) << "showPowerup clears it";
    EXPECT_STREQ("Split", Read(brick, "powerups")[1].GetString());
    EXPECT_EQ(30, Read(brick, "phases")["x"].GetNumber());
    EXPECT_STREQ("Icon.Key.png", Read(brick, "icons")[1].GetString());
    EXPECT_EQ(2u, brick->GetCategoryBits());
    EXPECT_EQ(256u | 16u, brick->GetCollideBits()) << "paddle bit on, ball bit off";
    EXPECT_EQ(std::make_pair(2, 0), brick->CountTrappedBalls());

    // The whole table reads back without touching a write-only property.
    LuaObject all;
    all.AssignNewTable(GetGlobalLuaState());
    brick->RetrieveProperties(all);
    EXPECT_EQ(4, all["strength"].GetNumber());
    for (const char* writeOnly : {"texture", "steelEdges", "brickSize", "heals", "trappedBall"})
        EXPECT_NE("", bbtest::MessageOf([&] { Read(brick, writeOnly); })) << writeOnly;

    // Clearing noBlockBall gives the ball bit back.
    brick->ApplyBoolProperty("noBlockBall", false);
    EXPECT_EQ(256u | 16u | 1u, brick->GetCollideBits());
}

TEST_F(BrickTest, MaterialRulesComeWithTextureButNotWithTextureOnly)
{
    EXPECT_EQ(-1, Make("{class = 'Brick', resources = {'MetalBrick'}}")->GetStrength());
    Brick* steel = Make("{class = 'Brick', strength = 3, texture = 'Steel'}");
    EXPECT_EQ(3, steel->GetStrength()) << "an explicit strength beside the material wins";
    Brick* steelLook = Make("{class = 'Brick', textureOnly = 'Steel'}");
    EXPECT_EQ(1, steelLook->GetStrength());
    Brick* glass = Make("{class = 'Brick', texture = 'Glass'}");
    EXPECT_TRUE(glass->IsGlass());
    EXPECT_STREQ("Glass", Read(glass, "textureOnly").GetString());
    EXPECT_FALSE(Make("{class = 'Brick', textureOnly = 'Glass'}")->IsGlass());
    EXPECT_EQ(Palette::Stone, Make("{class = 'Brick', texture = 'Stone'}")->GetBrickColor());
}

TEST_F(BrickTest, StrengthsAboveOneScaleWithTheSkillOverride)
{
    struct Row
    {
        double scale;
        int strength;
        bool noScale;
        int expected;
    };
    const Row rows[] = {{1.5, 3, false, 4}, {1.5, 1, false, 1},    {1.5, 3, true, 3},
                        {0.5, 5, false, 2}, {1.25, -1, false, -1}, {0.5, 2, false, 1}};
    for (const Row& r : rows) {
        GetGlobalLuaState()->GetGlobals().SetNumber("brickStrengthOverride", r.scale);
        Brick* brick = Make(
            "{class = 'Brick', noScaleStrength = " + std::string(r.noScale ? "true" : "false") +
            ", strength = " + std::to_string(r.strength) + "}");
        EXPECT_EQ(r.expected, brick->GetStrength()) << r.scale << " x " << r.strength;
    }
}

TEST_F(BrickTest, EdgeMasksComeFromNumbersOrSideTables)
{
    struct Row
    {
        const char* lua;
        int mask;
    };
    const Row rows[] = {{"nil", 0},
                        {"15", 15},
                        {"65535", 65535},
                        {"{top = true}", 1},
                        {"{right = true, left = true}", 10},
                        {"{bottom = true, left = true, right = true}", 14},
                        {"{top = false, bottom = true}", 4},
                        {"{}", 0}};
    for (const Row& r : rows)
        EXPECT_EQ(r.mask, Brick::GetEdges(bbtest::EvalLua(r.lua))) << r.lua;
    EXPECT_NE("", bbtest::MessageOf([] { Brick::GetEdges(bbtest::EvalLua("'top'")); }));
}

TEST_F(BrickTest, DamageStagesFollowTheThresholdAndTheLastPointBreaks)
{
    // Crates are whole blocks with four damage frames of their own.
    Brick* crate = Make("{class = 'Brick', resources = {'CrateBrick'}, strength = 10}");
    passes.Step();
    ASSERT_TRUE(crate->IsImageValid());
    ASSERT_FALSE(crate->ShowsPlaceholder());
    ASSERT_EQ(4, crate->GetDamageStages());
    const int frames[] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
    for (int d = 0; d < 10; ++d) {
        crate->ApplyIntProperty("damage", d);
        EXPECT_EQ(frames[d], crate->GetFrame()) << "damage " << d;
        EXPECT_FALSE(crate->IsDead());
    }
    crate->ApplyIntProperty("damage", 10);
    EXPECT_TRUE(crate->IsDead());
    EXPECT_EQ(5, logic.score) << "a broken crate scores";

    // A higher threshold keeps the first point invisible; a threshold at the strength (no
    // span to divide) shows the last stage.
    Brick* smash =
        Make("{class = 'Brick', resources = {'CrateBrick', 'RequireSmash'}, strength = 10}");
    passes.Step();
    smash->ApplyIntProperty("damage", 1);
    EXPECT_EQ(0, smash->GetFrame());
    smash->ApplyIntProperty("damage", 2);
    EXPECT_EQ(1, smash->GetFrame());
    Brick* flat =
        Make("{class = 'Brick', resources = {'CrateBrick'}, strength = 3, damageThreshold = 3}");
    passes.Step();
    EXPECT_EQ(3, flat->StageForDamage(3));
    EXPECT_EQ(0, flat->StageForDamage(2));

    // "Full" damage breaks an ordinary brick and leaves an indestructible one whole.
    Brick* full = Make("{class = 'Brick', strength = 4}");
    full->ApplyIntProperty("damage", -1);
    EXPECT_TRUE(full->IsDead());
    Brick* steel = Make("{class = 'Brick', texture = 'Steel'}");
    steel->ApplyIntProperty("damage", -1);
    EXPECT_FALSE(steel->IsDead());
    EXPECT_EQ(0, steel->GetDamage());
}

TEST_F(BrickTest, ResourceNamesFollowTheGrammar)
{
    Brick* brick =
        Make("{class = 'Brick', textureOnly = 'Wood', variant = '2', bevelVariant = 'Sharp',"
             " brickSize = 'Double'}");
    EXPECT_EQ("Texture.Wood.2.png", brick->TextureName());
    EXPECT_EQ("Shape.Rectangle.64.Outline.png", brick->OutlineName(64));
    EXPECT_EQ("Shape.Rectangle.64.Bevel.0.Sharp.png", brick->BevelName(64, 0, true));
    EXPECT_EQ("Shape.Rectangle.64.Block.Wood.2.png", brick->BlockName(64));
    // An empty texture reads as Transparent in the search and in the load alike.
    Brick* plain = Make("{class = 'Brick'}");
    EXPECT_EQ("Shape.Rectangle.32.Block.Transparent.png", plain->BlockName(32));
    EXPECT_EQ("Texture.Transparent.png", plain->TextureName());
    // A variant table picks one entry; reading back gives the table.
    Brick* colour = Make("{class = 'Brick', resources = {'RedBrick'}}");
    const std::string v = colour->GetVariant();
    EXPECT_TRUE(v == ".1" || v == ".2" || v == ".6") << v;
    EXPECT_TRUE(Read(colour, "variant").IsTable());
}

TEST_F(BrickTest, SearchesPickTheNearestResolutionAndRotation)
{
    const std::vector<int> resolutions = {16, 24, 32, 48, 64, 96, 128};
    struct Size
    {
        int size;
        int expected;
    };
    for (const Size s : {Size{100, 96}, Size{40, 32}, Size{200, 128}, Size{1, 16}, Size{56, 48}})
        EXPECT_EQ(s.expected, Brick::NearestEntry(resolutions, s.size, false)) << s.size;
    EXPECT_EQ(-1, Brick::NearestEntry({}, 10, false));

    // Angles wrap around: 350 is nearer 0 than 315.
    const std::vector<int> rotations = {0, 45, 90, 135, 180, 225, 270, 315};
    struct Angle
    {
        int angle;
        int expected;
    };
    for (const Angle a : {Angle{350, 0}, Angle{22, 0}, Angle{23, 45}, Angle{270, 270},
                          Angle{200, 180}, Angle{337, 315}, Angle{338, 0}})
        EXPECT_EQ(a.expected, Brick::NearestEntry(rotations, a.angle, true)) << a.angle;

    // On bricks: rotations of any number of turns, and sizes between resolutions.
    struct Placed
    {
        const char* table;
        int resolution;
        int rotation;
    };
    const Placed placed[] = {
        {"{class = 'Brick', textureOnly = 'Stone', rotation = -90}", 32, 270},
        {"{class = 'Brick', textureOnly = 'Stone', rotation = 710}", 32, 0},
        {"{class = 'Brick', textureOnly = 'Stone', rotation = 22.7}", 32, 0},
        {"{class = 'Brick', textureOnly = 'Stone', rectangle = {100, 20}}", 96, 0},
        {"{class = 'Brick', textureOnly = 'Stone', rectangle = {40, 20}}", 32, 0},
        {"{class = 'Brick', textureOnly = 'Stone', preferredResolution = 64}", 64, 0},
        {"{class = 'Brick', textureOnly = 'Stone', preferredResolution = 65}", 32, 0},
    };
    for (const Placed& p : placed) {
        Brick* brick = Make(p.table);
        brick->PickBaseImageParameters();
        EXPECT_EQ(p.resolution, brick->GetResolution()) << p.table;
        EXPECT_EQ(p.resolution, brick->GetBevelResolution()) << p.table;
        EXPECT_EQ(p.rotation, brick->GetBevelRotation()) << p.table;
    }
    // A bevel variant without images is dropped; NoBevel leaves the brick unbevelled.
    Brick* sharp = Make("{class = 'Brick', textureOnly = 'Stone', bevelVariant = 'Pointy'}");
    sharp->PickBaseImageParameters();
    EXPECT_TRUE(sharp->IsBevelled());
    EXPECT_EQ("", sharp->GetBevelVariant());
    Brick* whole = Make("{class = 'Brick', resources = {'CrateBrick'}}");
    whole->PickBaseImageParameters();
    EXPECT_FALSE(whole->IsBevelled());
}

// The names of every brick resource the game ships: the brick script run again against a
// table that only records the names it declares.
static std::vector<std::string> ShippedBrickNames()
{
    const std::string script = BB_SOURCE_DIR "/MakoArcadeLib/Source/scripts/ResourceBricks.lua";
    GetGlobalLuaState()->DoString(
        ("local real = Resources\n"
         "BrickNames = {}\n"
         "Resources = setmetatable({}, {__index = function(_, k) return real[k] end,\n"
         "  __newindex = function(_, k, v)\n"
         "    if type(v) == 'table' and v.class == 'Brick' then table.insert(BrickNames, k) end\n"
         "  end})\n"
         "dofile('" +
         script +
         "')\n"
         "Resources = real\n")
            .c_str());
    const LuaObject declared = GetGlobalLuaState()->GetGlobal("BrickNames");
    std::vector<std::string> names;
    for (int i = 1; declared[i].IsString(); ++i)
        names.push_back(declared[i].GetString());
    return names;
}

TEST_F(BrickTest, EveryShippedBrickComposesItsImageWithoutThePlaceholder)
{
    const std::vector<std::string> names = ShippedBrickNames();
    ASSERT_GT(names.size(), 30u);
    int x = 0, y = 20;
    std::vector<std::pair<std::string, Brick*>> bricks;
    for (const std::string& name : names) {
        Brick* brick = nullptr;
        try {
            brick = new Brick(name);
        } catch (const std::exception& e) {
            ADD_FAILURE() << name << ": " << e.what();
            continue;
        }
        brick->ApplyBoolProperty("invisible", false);
        brick->SetPosition(x, y);
        root->Place(brick);
        bricks.emplace_back(name, brick);
        x += 100;
        if (x > 540) {
            x = 0;
            y += 50;
        }
    }
    passes.Step();
    for (const auto& [name, brick] : bricks) {
        if (brick->GetStrength() < -1)
            continue;
        EXPECT_TRUE(brick->IsImageValid()) << name;
        EXPECT_FALSE(brick->ShowsPlaceholder()) << name;
        ASSERT_NE(nullptr, brick->GetImage());
        EXPECT_EQ(int(brick->GetShapeWidth()), brick->GetImage()->GetFrameSize().x);
        EXPECT_EQ(brick->GetDamageStages(), brick->GetImage()->GetNumFrames());
    }

    // Both display backends show every brick: the pixel at each brick's centre is lit.
    for (bool accel3d : {false, true}) {
        DisplayManager manager;
        DisplayParams params(false, accel3d, 640, 480, false);
        manager.ApplyDisplayParams(params);
        ASSERT_EQ(accel3d, params.accel3d);
        {
            Canvas canvas(manager.GetImageRenderer(), false);
            root->Render(canvas);
        }
        manager.Flip();
        SDL_Surface* shot = manager.GetScreenshotSurface();
        ASSERT_NE(nullptr, shot);
        SDL_LockSurface(shot);
        for (const auto& [name, brick] : bricks) {
            if (brick->IsInvisible() || brick->GetStrength() < -1)
                continue;
            const int x = brick->GetX() + brick->GetWidth() / 2;
            const int y = brick->GetY() + brick->GetHeight() / 2;
            ASSERT_LT(y, shot->h) << name << " lies off the screen";
            const auto* row = static_cast<const std::uint8_t*>(shot->pixels) + y * shot->pitch;
            const std::uint32_t pixel = reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
            EXPECT_NE(0u, pixel) << name << (accel3d ? " (hardware)" : " (software)");
        }
        SDL_UnlockSurface(shot);
    }
}

TEST_F(BrickTest, AnUnbuildableImageShowsThePlaceholderOnceAndSaysWhy)
{
    bbtest::LogCapture capture;
    // No texture, no bevel and no block for a circle: nothing to compose.
    Brick* brick =
        Make("{class = 'Brick', circle = 8, textureOnly = 'Snow', bevelVariant = 'NoBevel'}");
    passes.Step(2);
    EXPECT_TRUE(brick->ShowsPlaceholder());
    EXPECT_TRUE(brick->IsImageValid());
    const std::string log = capture.Text();
    // One line of its own, naming the brick.
    const std::size_t said = log.find("shows the placeholder\n");
    ASSERT_NE(std::string::npos, said) << log;
    EXPECT_EQ(0u, log.compare(log.rfind('\n', said - 1) + 1, 5, "Brick")) << log;
    EXPECT_EQ(log.find("shows the placeholder"), log.rfind("shows the placeholder"))
        << "later draws keep the placeholder without retrying";
}

// A value the brick can mend (a size it does not have, a count below 0) is named and
// mended; a value it cannot take at all makes the entry a placeholder, named with the
// entry and key. Neither reaches an assertion.
TEST_F(BrickTest, ABadBrickEntryIsMendedOrBecomesAPlaceholderAndNamesTheEntryAndKey)
{
    bbtest::LogCapture capture;
    const struct
    {
        const char* entry;
        bool placeholder;
    } bad[] = {
        {"{resources = {'StoneBrick'}, brickSize = 'Huge', position = {64, 48}}", false},
        {"{ballHopperSize = -1}", false},
        {"{steelEdges = 'bottom'}", true},
        {"{textureOnly = 'Chartreuse'}", true},
        {"{explosivePower = -2}", false},
    };
    int i = 0;
    for (const auto& c : bad) {
        const std::string name = "Level1.brick" + std::to_string(++i);
        std::unique_ptr<Brick> brick(Brick::CreateFromEntry(bbtest::EvalLua(c.entry), name));
        ASSERT_NE(nullptr, brick) << c.entry;
        EXPECT_EQ(c.placeholder, brick->ShowsPlaceholder()) << c.entry;
        if (i == 1) {
            EXPECT_EQ(64, brick->GetX());
            EXPECT_EQ(32, brick->GetWidth());
        }
    }
    std::unique_ptr<Brick> good(
        Brick::CreateFromEntry(bbtest::EvalLua("{resources = {'StoneBrick'}}"), "Level1.good"));
    EXPECT_FALSE(good->ShowsPlaceholder());
    EXPECT_EQ(2, good->GetStrength());
    const std::string log = capture.Text();
    for (const char* piece :
         {"\"brickSize\": \"Huge\" is no brick size", "\"ballHopperSize\": -1 is outside 0 to 100",
          "Level1.brick3", "steelEdges", "Level1.brick4", "Chartreuse",
          "\"explosivePower\": -2 is below 0; 0 is used"})
        EXPECT_NE(std::string::npos, log.find(piece)) << piece << "\n" << log;
    EXPECT_EQ(std::string::npos, log.find("Assertion failed")) << log;
}

TEST_F(BrickTest, SpringsAndThePhaseMarkingAreChildrenRebuiltWithTheImage)
{
    Brick* brick = Make("{class = 'Brick', textureOnly = 'Stone', springEdges = 15,"
                        " phases = {x = 20, y = 20}}");
    passes.Step();
    std::vector<Actor*> springs;
    for (Actor* child : brick->GetChildren())
        if (child->GetName() == "springEdge" && !child->IsDead())
            springs.push_back(child);
    ASSERT_EQ(4u, springs.size());
    // Right, left, top, bottom: each sits outside the 32 x 16 outline.
    EXPECT_EQ(32, springs[0]->GetX());
    EXPECT_EQ(-springs[1]->GetWidth(), springs[1]->GetX());
    EXPECT_EQ(-springs[2]->GetHeight(), springs[2]->GetY());
    EXPECT_EQ(16, springs[3]->GetY());
    ASSERT_NE(nullptr, brick->GetChild("phaseEdges", false));

    // A rebuild replaces them rather than adding more.
    brick->ApplyIntProperty("groutEdges", 15);
    passes.Step();
    int count = 0, markings = 0;
    for (Actor* child : brick->GetChildren()) {
        count += child->GetName() == "springEdge" && !child->IsDead();
        markings += child->GetName() == "phaseEdges" && !child->IsDead();
    }
    EXPECT_EQ(4, count);
    EXPECT_EQ(1, markings);
}

TEST_F(BrickTest, IconsFillARowThatFitsTheBrick)
{
    // A 32 x 16 brick holds two icons: the key and one hopper picture; more are left out.
    auto picture = [&](const std::string& traits) {
        Brick* brick = Make("{class = 'Brick', textureOnly = 'Stone', icons = {'Icon.Key.png'}" +
                            traits + "}");
        MakoSrand(5); // the same window of the texture for each
        brick->CreateBrickImage();
        std::vector<std::uint32_t> pixels;
        SDL_Surface* s = brick->GetImage()->GetSDLSurface();
        SDL_LockSurface(s);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                pixels.push_back(reinterpret_cast<const std::uint32_t*>(
                    static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch)[x]);
        SDL_UnlockSurface(s);
        return pixels;
    };
    const auto four = picture(", ballHopperSize = 3");
    const auto two = picture(", ballHopperSize = 1");
    const auto one = picture("");
    EXPECT_EQ(two, four) << "the row ends when the brick is full";
    EXPECT_NE(one, two);
}

TEST_F(BrickTest, EveryShippedBrickThatALevelMustClearCanBeClearedByABall)
{
    // A required brick that no ball can break would leave its level unwinnable: it must
    // have strength to lose or a weak edge, and must not eat the balls sent at it.
    for (const std::string& name : ShippedBrickNames()) {
        Brick* brick = root->Place(new Brick(name));
        if (!Read(brick, "necessary").GetBoolean())
            continue;
        EXPECT_FALSE(Read(brick, "ballEaterOnly").GetBoolean()) << name;
        EXPECT_TRUE(brick->GetStrength() > 0 || Read(brick, "weakEdgesOnly").GetInteger() != 0)
            << name << " strength " << brick->GetStrength();
    }
    EXPECT_FALSE(Read(root->Place(new Brick("BallEaterBrick")), "necessary").GetBoolean());
    EXPECT_TRUE(Read(root->Place(new Brick("TNTBrick")), "necessary").GetBoolean());
}
