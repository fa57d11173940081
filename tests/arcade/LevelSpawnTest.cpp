// A level filling the field: bricks placed on the grid with their loot counted, extra and
// level actors, the artefact, walls and shields, paddles at their starts, and the serve's
// accounting (the free first serve, expensive serves, the farthest start, and balls that
// could not be served costing nothing).
#include "FieldScene.h"
#include "LevelTestSupport.h"

#include "field/Brick.h"
#include "field/Factory.h"
#include "field/FieldBounds.h"
#include "logic/LevelContainer.h"
#include "scene/AbstractMotion.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace fieldtest;
using leveltest::Globals;
using leveltest::MakeLevel;
using leveltest::ServeLogic;

namespace {

// Takes what the level hands over and keeps it for the test.
class Container : public LevelContainer
{
public:
    void AddBrick(Brick* brick) override { Keep(brick, bricks); }
    void AddActor(Actor* actor) override { Keep(actor, actors); }
    void AddShield(Shield* shield) override { Keep(shield, shields); }
    void AddWall(Wall* wall) override { Keep(wall, walls); }
    void SetBackgroundImage(const std::string& name) override { background = name; }
    void SetArtefact(Actor* actor) override
    {
        ++artefactCalls;
        if (actor)
            Keep(actor, actors);
        artefact = actor;
    }

    std::vector<Brick*> bricks;
    std::vector<Actor*> actors;
    std::vector<Shield*> shields;
    std::vector<Wall*> walls;
    std::string background;
    Actor* artefact = nullptr;
    int artefactCalls = 0;

private:
    template <typename T> void Keep(T* object, std::vector<T*>& list)
    {
        list.push_back(object);
        m_Owned.emplace_back(object);
    }
    std::vector<std::unique_ptr<Actor>> m_Owned;
};

class LevelSpawnTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }
    LevelSpawnTest() { logic.SetField(root, nullptr); }
    ~LevelSpawnTest() override { delete root; }

    Actor* root = new Actor();
    ServeLogic logic;
    bbtest::SoundLog sounds;
    Container container;
};

TEST_F(LevelSpawnTest, BricksLandOnTheGridShiftedByTheOffsetAndTheFieldWithTheirLootCounted)
{
    Globals globals{{"BrickWidth", "32"}, {"BrickHeight", "16"}};
    auto level = MakeLevel(R"({
        offsetPosition = { 2, 0 },
        compiledBricks = {
            { resource = "RedBrick", position = { 1, 1 } },
            { resource = "GreenBrick", position = { 3, 2 }, extraLoot = 2 },
            { resource = "BlueBrick", position = { 1, 4 }, powerups = { "BlingCoin", "Split" } },
        },
        lastBrickBonus = { { powerupClass = "BlingDiamond" } } })");
    level->AddBackground(&container);
    EXPECT_EQ(container.background, "bkgGame.jpg");
    level->SpawnBricks(&container);
    ASSERT_EQ(container.bricks.size(), 3u);
    EXPECT_EQ(container.bricks[0]->GetX(), 16 + 64);
    EXPECT_EQ(container.bricks[0]->GetY(), 36);
    EXPECT_EQ(container.bricks[1]->GetX(), 16 + 128);
    EXPECT_EQ(container.bricks[1]->GetY(), 36 + 16);
    EXPECT_EQ(container.bricks[2]->GetY(), 36 + 48);
    // Two units of extra loot, one coin, one entry of the last-brick bonus.
    EXPECT_EQ(level->GetLootAmount(), 4);

    // A brick list made without the field's origin, for the drop animation.
    std::vector<std::unique_ptr<Brick>> made;
    level->CreateBricks(made);
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0]->GetX(), 64);
}

TEST_F(LevelSpawnTest, BadBrickListsRaiseNamingTheLevelAndBadEntriesBecomePlaceholders)
{
    auto broken = MakeLevel("{ compiledBricks = 7 }");
    try {
        broken->SpawnBricks(&container);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_NE(e.GetMessage().find("Level \"Test\": compiledBricks is a number"),
                  std::string::npos)
            << e.GetMessage();
    }

    bbtest::LogCapture log;
    auto level = MakeLevel(R"({ compiledBricks = {
        { resource = "RedBrick", position = { 2, 1 }, brickSize = "Enormous" }, "junk" } })");
    level->SpawnBricks(&container);
    ASSERT_EQ(container.bricks.size(), 1u);
    EXPECT_EQ(container.bricks[0]->GetX(), 16 + 32);
    EXPECT_NE(log.Text().find("Brick \"RedBrick\" (level \"Test\", row 1, column 2): "
                              "\"brickSize\": \"Enormous\" is no brick size"),
              std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find("Level \"Test\", compiledBricks[2]: the string \"junk\" is not a "
                              "brick entry; it is left out"),
              std::string::npos)
        << log.Text();
}

// A count that makes or counts something for each unit (a hopper's slots and icons, extra
// loot) is held to what the game allows, naming the level, the brick's cell and the key.
TEST_F(LevelSpawnTest, CountsABrickMakesOrCountsFromAreHeldAndNamed)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({ compiledBricks = {
        { resource = "RedBrick", position = { 2, 1 }, ballHopperSize = 2^31 },
        { resource = "RedBrick", position = { 3, 1 }, ballHopperSizeOnly = 1e308 },
        { resource = "RedBrick", position = { 4, 1 }, showBallHopperSize = 1/0 },
        { resource = "RedBrick", position = { 5, 1 }, extraLoot = 2^31 },
        { resource = "RedBrick", position = { 6, 1 }, extraLoot = -5 },
        { resource = "RedBrick", position = { 7, 1 }, ballHopperSize = 3, extraLoot = 2 } } })");
    level->SpawnBricks(&container);
    ASSERT_EQ(container.bricks.size(), 6u);
    const auto count = [&](int brick, const char* key) {
        LuaPlus::LuaObject value;
        container.bricks[std::size_t(brick)]->RetrieveProperty(value, key);
        return value.GetInteger();
    };
    EXPECT_EQ(count(0, "ballHopperSizeOnly"), Brick::MAX_HOPPER_SLOTS);
    EXPECT_EQ(count(0, "showBallHopperSize"), Brick::MAX_HOPPER_SLOTS);
    EXPECT_EQ(count(1, "ballHopperSizeOnly"), Brick::MAX_HOPPER_SLOTS);
    EXPECT_EQ(count(2, "showBallHopperSize"), Brick::MAX_HOPPER_SLOTS);
    EXPECT_EQ(count(3, "extraLoot"), Brick::MAX_EXTRA_LOOT);
    EXPECT_EQ(count(4, "extraLoot"), 0);
    EXPECT_EQ(count(5, "ballHopperSizeOnly"), 3);
    EXPECT_EQ(level->GetLootAmount(), Brick::MAX_EXTRA_LOOT + 2);
    const std::string text = log.Text();
    for (const char* named :
         {"(level \"Test\", row 1, column 2): \"ballHopperSize\": 2147483648 is outside 0 to 100; "
          "100 is used",
          "(level \"Test\", row 1, column 3): \"ballHopperSizeOnly\": 1e+308",
          "(level \"Test\", row 1, column 4): \"showBallHopperSize\": inf",
          "(level \"Test\", row 1, column 5): \"extraLoot\": 2147483648 is outside 0 to 1000",
          "(level \"Test\", row 1, column 6): \"extraLoot\": -5 is outside 0 to 1000; 0 is used"})
        EXPECT_NE(text.find(named), std::string::npos) << named << "\n" << text;
    EXPECT_EQ(text.find("column 7"), std::string::npos) << text;
}

TEST_F(LevelSpawnTest, ExtraActorsAreShiftedLevelActorsAreNotAndBothCountLoot)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({
        backgroundName = "bkgLevelChina.jpg",
        extraActors = { { class = "Brick", position = { 10, 20 }, extraLoot = 1 } },
        levelActors = { { class = "Brick", position = { 100, 200 }, extraLoot = 3 },
                        { class = "NoSuchThing" }, { class = "Ball" } } })");
    level->AddBackground(&container);
    EXPECT_EQ(container.background, "bkgLevelChina.jpg");
    // A background the pack lacks gives way to the plain one, said once.
    auto bare = MakeLevel(R"({ backgroundName = "bkgNowhere.jpg" })");
    bare->AddBackground(&container);
    EXPECT_EQ(container.background, "bkgGame.jpg");
    EXPECT_NE(log.Text().find("Level \"Test\": \"backgroundName\": \"bkgNowhere.jpg\" is not "
                              "among the resources; the plain background is used"),
              std::string::npos)
        << log.Text();
    level->SpawnBricks(&container);
    level->SpawnExtraActors(&container);
    level->SpawnLevelActors(&container);
    ASSERT_EQ(container.actors.size(), 3u);
    EXPECT_EQ(container.actors[0]->GetX(), 26);
    EXPECT_EQ(container.actors[0]->GetY(), 56);
    EXPECT_EQ(container.actors[1]->GetX(), 100);
    EXPECT_EQ(container.actors[1]->GetY(), 200);
    EXPECT_EQ(level->GetLootAmount(), 4);
    // The entry that cannot be made is named and leaves the others standing.
    EXPECT_NE(
        log.Text().find("Level \"Test\", levelActors[2]: unknown class \"NoSuchThing\"; it is "
                        "left out"),
        std::string::npos)
        << log.Text();
}

// A table a level may not build is left out of every place that holds it, also where the
// walk meets it a second time (one table under two keys, or in two lists).
TEST_F(LevelSpawnTest, AClassALevelMayNotBuildIsLeftOutOfEveryPlaceThatHoldsIt)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"((function()
        local label = { class = "Label", text = "shared", position = { 10, 10 },
                        font = { fontName = "DejaVuSans-Bold.ttf", fontSize = 12 } }
        local motion = { class = "Button" }
        return { levelActors = { label, label,
                                 { class = "Brick", position = { 100, 200 }, motion = motion },
                                 { class = "Brick", position = { 150, 200 }, hitMotion = motion } },
                 extraActors = { label } }
    end)())");
    level->SpawnLevelActors(&container);
    level->SpawnExtraActors(&container);
    ASSERT_EQ(2u, container.actors.size());
    for (Actor* actor : container.actors)
        EXPECT_EQ("Brick", actor->GetClass()->GetName());
    for (const char* line :
         {"levelActors[1]: class \"Label\"", "levelActors[2]: class \"Label\"",
          "extraActors[1]: class \"Label\"", "levelActors[3].motion: class \"Button\"",
          "levelActors[4].hitMotion: class \"Button\""})
        EXPECT_NE(
            log.Text().find(std::string(line) + " is not one a level may build; it is left out"),
            std::string::npos)
            << line << "\n"
            << log.Text();
}

// Wherever a list from data holds objects of one kind (the level's actors, a structure's
// factories, a factory's creations and triggers, a composite motion's children, a trail's
// emitters) or a key holds one object (a motion), an element of another kind is named with
// its level and key path and left out before anything is made of it; the rest stands.
TEST_F(LevelSpawnTest, ListElementsOfTheWrongKindAreNamedAndLeftOutAndTheRestStands)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({ levelActors = {
        "x", 5, true, {}, { class = "MotionWait", duration = 1 }, { class = "Powerup" },
        { class = "Brick", position = { 100, 200 },
          factories = { 5, { class = "MotionWait" },
                        { class = "Factory", hitTriggers = { "x", {} },
                          creations = { 7, { objectSpec = "x" },
                                        { objectSpec = { class = "MotionWait" } },
                                        { objectSpec = { class = "Goober",
                                                         resource = "NormalGoober" } } } } },
          motion = { class = "Brick" },
          hitMotion = { class = "MotionSequential",
                        addMotionList = { "x", {}, { class = "MotionWait", duration = 5 } } },
          trailEmitter = { 5 } } } })");
    level->SpawnLevelActors(&container);
    ASSERT_EQ(1u, container.actors.size());
    const auto* brick = dynamic_cast<const Brick*>(container.actors[0]);
    ASSERT_NE(nullptr, brick);
    ASSERT_EQ(1u, brick->GetFactories().size());
    EXPECT_EQ(1u, brick->GetFactories()[0]->GetCreations().size());
    EXPECT_EQ(nullptr, brick->GetMotion());
    const auto* hit = dynamic_cast<const AbstractMotion*>(brick->GetHitMotion());
    ASSERT_NE(nullptr, hit);
    EXPECT_EQ(1u, hit->GetChildCount());
    for (const char* line :
         {"Level \"Test\", levelActors[1]: the string \"x\" is no \"Actor\"; it is left out",
          "Level \"Test\", levelActors[2]: the number 5 is no \"Actor\"",
          "Level \"Test\", levelActors[3]: the boolean true is no \"Actor\"",
          "Level \"Test\", levelActors[4]: a table naming no class the game has is no",
          "Level \"Test\", levelActors[5]: a table of class \"MotionWait\" is no \"Actor\"",
          "Level \"Test\", levelActors[6]: a table of class \"Powerup\" cannot be made by name",
          "levelActors[7]): factories[1]: the number 5 is not a table; it is left out",
          "levelActors[7]): factories[2]: a table of class \"MotionWait\" is no \"Factory\"",
          "levelActors[7]): hitTriggers[1]: the string \"x\" is not a table",
          "levelActors[7]): creations[1]: the number 7 is not a table",
          "levelActors[7]): creations[2].objectSpec: the string \"x\" is no "
          "\"ArcadeStructure\"; it is left out",
          "levelActors[7]): creations[3].objectSpec: a table of class \"MotionWait\" is no "
          "\"ArcadeStructure\"",
          "levelActors[7]): motion: a table of class \"Brick\" is no \"Motion\"",
          "levelActors[7]): addMotionList[1]: the string \"x\" is not a table",
          "levelActors[7]): addMotionList[2]: a table naming no class the game has is no "
          "\"Motion\"",
          "levelActors[7]): trailEmitter[1]: the number 5 is not an emitter name"})
        EXPECT_NE(log.Text().find(line), std::string::npos) << line << "\n" << log.Text();
    EXPECT_EQ(std::string::npos, log.Text().find("Assertion failed")) << log.Text();
}

// A structure the level names no shape for (no rectangle, circle or polygon of its own or
// of its resources) cannot stand on the field: it is named and left out, the rest stands.
TEST_F(LevelSpawnTest, AStructureWithoutAShapeIsNamedAndLeftOut)
{
    bbtest::LogCapture log;
    auto level = MakeLevel(R"({
        levelActors = { { class = "ArcadeStructure", position = { 10, 10 } },
                        { class = "ArcadeStructure", rectangle = { 8, 8 }, position = { 20, 20 } },
                        { resource = "RedBrick", position = { 200, 200 } } } })");
    level->SpawnLevelActors(&container);
    ASSERT_EQ(2u, container.actors.size());
    EXPECT_EQ("ArcadeStructure", container.actors[0]->GetClass()->GetName());
    EXPECT_EQ("Brick", container.actors[1]->GetClass()->GetName());
    EXPECT_NE(log.Text().find("levelActors[1]: it has no shape (rectangle, circle or polygon); it "
                              "is left out"),
              std::string::npos)
        << log.Text();
}

// Level data builds the field's own kinds only: any other class, at any depth, is named
// with its key and left out, and the rest of the level stands.
TEST_F(LevelSpawnTest, ClassesALevelMayNotBuildAreNamedAndLeftOut)
{
    bbtest::LogCapture log;
    MakoLuaState::LoadString(
        GetGlobalLuaState(),
        "function LevelTripWire() LevelTripped = (LevelTripped or 0) + 1 return '' end");
    auto level = MakeLevel(R"({
        compiledBricks = { { resource = "RedBrick", position = { 2, 1 },
                             hitMotion = { class = "OptionsDialog" } } },
        levelActors = {
            { class = "Label", text = "|LevelTripWire()|", position = { 10, 10 },
              font = { fontName = "DejaVuSans-Bold.ttf", fontSize = 12 } },
            { class = "Brick", position = { 100, 200 },
              motion = { class = "MotionSequential", start = true,
                         addMotionList = { { class = "Button" },
                                           { class = "MotionWait", duration = 5 } } } },
            { class = "Player" }, { class = "ArcadeGameLogic" },
            { resource = "PaddleLabel", text = "|LevelTripWire()|" },
            { resources = { "MapPinButton" }, position = { 30, 30 } },
            { resource = "RedBrick", position = { 200, 200 } } } })");
    level->SpawnBricks(&container);
    level->SpawnLevelActors(&container);
    // A class named through the resources an entry builds on is screened as well.
    ASSERT_EQ(2u, container.actors.size());
    EXPECT_EQ("Brick", container.actors[0]->GetClass()->GetName());
    EXPECT_EQ("Brick", container.actors[1]->GetClass()->GetName());
    ASSERT_EQ(1u, container.bricks.size());
    for (const char* line :
         {"levelActors[1]: class \"Label\"",
          "levelActors[2].motion.addMotionList[1]: class \"Button\"",
          "levelActors[3]: class \"Player\"", "levelActors[4]: class \"ArcadeGameLogic\"",
          "levelActors[5]: class \"Label\" (of its resources)",
          "levelActors[6]: class \"Button\" (of its resources)",
          "compiledBricks[1].hitMotion: class \"OptionsDialog\""})
        EXPECT_NE(
            log.Text().find(std::string(line) + " is not one a level may build; it is left out"),
            std::string::npos)
            << line << "\n"
            << log.Text();
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("LevelTripped").IsNil());
}

TEST_F(LevelSpawnTest, AnArtefactThatCannotBeMadeLeavesTheLevelWithout)
{
    bbtest::LogCapture log;
    auto none = MakeLevel("{}");
    none->SetupArtefact(&container);
    EXPECT_EQ(container.artefactCalls, 1);
    EXPECT_EQ(none->GetArtefactName(), "EMPTY");

    if (ClassManager::GetInstance()->GetClass("Artefact", true))
        return; // the game has artefacts: a named one is made
    auto named = MakeLevel(R"({ artefact = { name = "Amulet", score = 500 } })");
    named->SetupArtefact(&container);
    EXPECT_EQ(container.artefactCalls, 2);
    EXPECT_EQ(container.artefact, nullptr);
    EXPECT_EQ(named->GetArtefactName(), "EMPTY");
    EXPECT_NE(log.Text().find("Level \"Test\": artefact \"Amulet\" cannot be made"),
              std::string::npos)
        << log.Text();
}

TEST_F(LevelSpawnTest, WallsAreDangerousAtTheBottomUnlessTheLevelSaysOtherwiseWithShieldsToMatch)
{
    struct Case
    {
        const char* table;
        bool dangerous[4]; // Top, Left, Bottom, Right
        std::vector<std::string> shields;
    };
    const Case cases[] = {
        {"{}", {false, false, true, false}, {"Bottom"}},
        {"{ customWalls = { BottomWall = { dangerous = false } } }",
         {false, false, false, false},
         {}},
        {R"({ customWalls = { LeftWall = { dangerous = true, variant = "Ice" },
                              TopWall = { dangerous = true } } })",
         {true, true, true, false},
         {"Top", "Left", "Bottom"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        Container walls;
        MakeLevel(c.table)->CreateWalls(&walls);
        ASSERT_EQ(walls.walls.size(), 4u);
        const char* names[4] = {"TopWall", "LeftWall", "BottomWall", "RightWall"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(walls.walls[i]->IsDangerous(), c.dangerous[i]) << names[i];
            EXPECT_EQ(walls.walls[i]->AttractsPowerups(), i == 2) << names[i];
        }
        std::vector<std::string> sides;
        for (Shield* shield : walls.shields) {
            sides.push_back(shield->GetSide());
            EXPECT_EQ(shield->GetLevel(), 0);
        }
        EXPECT_EQ(sides, c.shields);
    }
}

TEST_F(LevelSpawnTest, TheLevelTakesItsFieldFromTheWallScriptsWhenItBuildsTheWalls)
{
    auto level = MakeLevel("{}");
    EXPECT_FALSE(level->HasFieldBounds());
    {
        leveltest::Globals field{{"x2", "20"}, {"x3", "600"}, {"y2", "'top'"}, {"y3", "470"}};
        bbtest::LogCapture log;
        Container walls;
        level->CreateWalls(&walls);
        EXPECT_NE(log.Text().find("The field's walls: \"y2\" needs a number, not the string "
                                  "\"top\"; the default is used"),
                  std::string::npos)
            << log.Text();
    }
    ASSERT_TRUE(level->HasFieldBounds());
    const FieldBounds field = level->GetFieldBounds();
    EXPECT_EQ(20, field.left);
    EXPECT_EQ(600, field.right);
    EXPECT_EQ(36, field.top); // the wrong value: the shipped field's
    EXPECT_EQ(470, field.bottom);

    // Scripts ask for the field; with no game running it is the wall scripts' own.
    const LuaPlus::LuaObject shown = bbtest::EvalLua("GetFieldBounds()");
    EXPECT_EQ(16, shown["left"].GetInteger());
    EXPECT_EQ(624, shown["right"].GetInteger());
    EXPECT_EQ(36, shown["top"].GetInteger());
    EXPECT_EQ(485, shown["bottom"].GetInteger());
}

TEST_F(LevelSpawnTest, PaddlesAppearAtTheirStartsNamedByTheirBallStarts)
{
    auto level = MakeLevel(R"({ paddleStarts = {
        { position = { 288, 416 }, ballStart = { paddleName = "Main" }, name = "Ignored" },
        { position = { 40, 200 }, vertical = true, facePositive = true } } })");
    level->SpawnPaddles(&logic);
    ASSERT_EQ(logic.paddles.size(), 2u);
    EXPECT_EQ(logic.paddles[0]->GetName(), "Main");
    EXPECT_EQ(logic.paddles[0]->GetX(), 288);
    EXPECT_EQ(logic.paddles[0]->GetY(), 416);
    // A side paddle stands 27 pixels left of and below its start.
    EXPECT_EQ(logic.paddles[1]->GetX(), 13);
    EXPECT_EQ(logic.paddles[1]->GetY(), 227);
    EXPECT_EQ(sounds.Count("paddleAppear.ogg"), 2);
    // The start table itself is left as the level wrote it.
    EXPECT_STREQ(level->GetPaddleStarts()[0]["name"].GetString(), "Ignored");

    level->SpawnBall(&logic, -1, false);
    ASSERT_EQ(logic.heldServes.size(), 1u);
    EXPECT_EQ(logic.heldServes[0]->GetPaddle(), logic.paddles[0]);
    EXPECT_EQ(sounds.Count("ballAppear.ogg"), 1);
    EXPECT_FALSE(logic.emitters.IsEmpty());

    // A place beyond the int range (or none at all) is held to it; the paddle appears.
    auto far = MakeLevel(R"({ paddleStarts = { { position = { 1e308, 0/0 } },
                                               { position = { -1/0, 2^40 }, vertical = true } } })");
    far->SpawnPaddles(&logic);
    EXPECT_EQ(logic.paddles.size(), 4u);
}

TEST_F(LevelSpawnTest, ServesChargeOnlyTheBallsServedAfterTheFreeFirstOne)
{
    const char* threeStarts =
        R"({ expensiveSpawns = true, paddleStarts = { { position = { 0, 440 } } },
        ballStarts = { { position = { 100, 100 } }, { position = { 500, 100 } },
                       { position = { 300, 400 } } } })";
    auto level = MakeLevel(threeStarts);
    logic.m_BallsLeft = 5;
    level->SpawnBall(&logic, -1, false);
    EXPECT_EQ(logic.freeServes.size(), 3u);
    EXPECT_EQ(logic.m_BallsLeft, 5);

    // Two left: the two starts farthest from the balls in play, one after the other.
    const std::list<Actor*> served = logic.GetBallSpawnAnimations().GetMembers();
    for (Actor* ball : served)
        logic.GetBallSpawnAnimations().Remove(ball);
    logic.freeServes.clear();
    Ball* near = new Ball(108, 108, 0, 0, true);
    root->AddChild(near, "");
    logic.GetBalls().Add(near);
    logic.m_BallsLeft = 2;
    level->SpawnBall(&logic, -1, false);
    ASSERT_EQ(logic.freeServes.size(), 2u);
    EXPECT_EQ(logic.freeServes[0]->GetX(), 500);
    EXPECT_EQ(logic.freeServes[1]->GetX(), 300);
    EXPECT_EQ(logic.m_BallsLeft, 0);

    // None left: nothing, unless forced (which costs nothing).
    logic.freeServes.clear();
    level->SpawnBall(&logic, 1, false);
    EXPECT_TRUE(logic.freeServes.empty());
    level->SpawnBall(&logic, 1, true);
    EXPECT_EQ(logic.freeServes.size(), 1u);
    EXPECT_EQ(logic.m_BallsLeft, 0);

    // One ball per serve when serves are not expensive.
    auto cheap = MakeLevel(R"({ ballStarts = { { position = { 1, 1 } }, { position = { 2, 2 } } },
                                paddleStarts = { { position = { 0, 440 } } } })");
    logic.m_BallsLeft = 3;
    cheap->SpawnBall(&logic, -1, false);
    cheap->SpawnBall(&logic, -1, false);
    EXPECT_EQ(logic.m_BallsLeft, 2);
}

TEST_F(LevelSpawnTest, AServeWhosePaddleIsGoneCostsNothing)
{
    auto level = MakeLevel(R"({ paddleStarts = { { position = { 0, 440 },
                                                    ballStart = { paddleName = "Ghost" } } } })");
    logic.m_BallsLeft = 3;
    level->SpawnBall(&logic, -1, false); // the free first serve
    level->SpawnBall(&logic, -1, false);
    level->SpawnBall(&logic, 1, false);
    EXPECT_TRUE(logic.heldServes.empty());
    EXPECT_EQ(logic.m_BallsLeft, 3);

    // With its paddle in place the same start serves and is charged.
    level->SpawnPaddles(&logic);
    level->SpawnBall(&logic, 1, false);
    EXPECT_EQ(logic.heldServes.size(), 1u);
    EXPECT_EQ(logic.m_BallsLeft, 2);
}

} // namespace
