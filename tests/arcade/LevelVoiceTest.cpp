// What the level build says about its data goes through the one reporter: an entry that
// cannot be made, a wall or artefact of the wrong kind, a value a setter cannot take, a
// ball start naming no paddle. None reaches an assertion, each is named with the level
// and its key path, and the level still serves a ball. The build charges the level's work
// meter at each entry, so a stop asked for while it goes on ends it at the next entry.
#include "FieldScene.h"
#include "LevelTestSupport.h"

#include "core/DataReport.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "field/Brick.h"
#include "logic/LevelContainer.h"
#include "support/engine/DataVoice.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

using namespace fieldtest;
using leveltest::MakeLevel;
using leveltest::ServeLogic;

namespace {

// Takes what the level hands over and keeps it for the test.
class Keeper : public LevelContainer
{
public:
    void AddBrick(Brick* brick) override { Keep(brick); }
    void AddActor(Actor* actor) override { Keep(actor); }
    void AddShield(Shield* shield) override { Keep(shield); }
    void AddWall(Wall* wall) override { Keep(wall); }
    void SetBackgroundImage(const std::string&) override {}
    void SetArtefact(Actor* actor) override
    {
        if (actor)
            Keep(actor);
    }
    std::vector<Actor*> made;

private:
    void Keep(Actor* actor)
    {
        made.push_back(actor);
        m_Owned.emplace_back(actor);
    }
    std::vector<std::unique_ptr<Actor>> m_Owned;
};

class LevelVoiceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }
    LevelVoiceTest() { logic.SetField(root, nullptr); }
    ~LevelVoiceTest() override
    {
        StopSignal::Reset();
        delete root;
    }

    // Whether the reporter said a line holding every one of the words.
    bool Said(const std::vector<std::string>& words) const
    {
        for (const std::string& line : voice.Reported()) {
            bool all = true;
            for (const std::string& word : words)
                all = all && line.find(word) != std::string::npos;
            if (all)
                return true;
        }
        return false;
    }
    std::string AllSaid() const
    {
        std::string text;
        for (const std::string& line : voice.Reported())
            text += line + "\n";
        return text;
    }

    Actor* root = new Actor();
    ServeLogic logic;
    bbtest::SoundLog sounds;
    Keeper keeper;
    bbtest::LogCapture log;
    bbtest::DataVoice voice;
};

// Entries a setter or a maker cannot take, in each list the build reads, with the walls
// and the artefact of the wrong kind: every one is named with its key path, every entry
// that can stand stands, and nothing asserts.
TEST_F(LevelVoiceTest, WhatTheBuildCannotTakeIsReportedWithItsKeyPathAndNothingAsserts)
{
    auto level = MakeLevel(R"({
        compiledBricks = {
            { resource = "RedBrick", position = { 1, 1 }, showExplosivePower = 9 },
            { resource = "RedBrick", position = { 2, 1 }, showExplosivePower = -3 },
            { resource = "RedBrick", position = { 3, 1 }, explosivePower = -1 },
            { resource = "RedBrick", position = { 4, 1 }, explosivePowerOnly = -1 },
            { resource = "RedBrick", position = { 5, 1 }, brickSize = "Huge" },
            { resource = "RedBrick", position = { 6, 1 }, ballHopperSize = -1 } },
        levelActors = {
            { class = "Ball", position = { 100, 100 }, substance = "Plutonium" },
            { class = "Ball", position = { 140, 100 }, corona = "Foo" },
            { class = "Brick", resource = "RedBrick", position = { 200, 200 },
              showExplosivePower = 9 },
            { class = "Brick", resource = "RedBrick", position = { 260, 200 },
              brickSize = "Huge" },
            { class = "NoSuchThing" } },
        customWalls = { TopWall = 5 },
        artefact = { name = 5 } })");
    level->SpawnBricks(&keeper);
    level->SpawnLevelActors(&keeper);
    level->SetupArtefact(&keeper);
    level->CreateWalls(&keeper);

    EXPECT_EQ("", voice.Faults(log.Text())) << log.Text();
    // Six bricks, four actors that stand (the unknown class is left out), four walls.
    EXPECT_EQ(6u + 4u + 4u + 1u, keeper.made.size()) << AllSaid();
    const std::vector<std::vector<std::string>> said = {
        {"row 1, column 1", "\"showExplosivePower\": 9", "5 is used"},
        {"row 1, column 2", "\"showExplosivePower\": -3", "0 is used"},
        {"row 1, column 3", "\"explosivePower\": -1", "0 is used"},
        {"row 1, column 4", "\"explosivePowerOnly\": -1", "0 is used"},
        {"row 1, column 5", "\"brickSize\": \"Huge\"", "keeps its size"},
        {"row 1, column 6", "\"ballHopperSize\": -1", "0 is used"},
        {"levelActors[1]", "\"substance\": \"Plutonium\"", "keeps \"None\""},
        {"levelActors[2]", "\"corona\": \"Foo\"", "keeps \"None\""},
        {"levelActors[3]", "\"showExplosivePower\": 9"},
        {"levelActors[4]", "\"brickSize\": \"Huge\""},
        {"Level \"Test\", levelActors[5]: unknown class \"NoSuchThing\"; it is left out"},
        {"Level \"Test\", customWalls.TopWall: the number 5 is not a table; the wall keeps its "
         "defaults"},
        {"Level \"Test\": \"artefact\": \"name\" is the number 5, not a picture's name; the level "
         "plays without its artefact"},
    };
    for (const auto& words : said)
        EXPECT_TRUE(Said(words)) << words[0] << "\n" << AllSaid();
}

// A ball start naming a paddle the field does not have serves on the paddle in play, said
// once for the level; the level never plays without a ball.
TEST_F(LevelVoiceTest, AStartNamingNoPaddleServesOnThePaddleInPlayAndSaysSoOnce)
{
    auto level = MakeLevel(R"({ paddleStarts = { { position = { 288, 416 } } },
                                ballStarts = { { paddleName = "Nope" } } })");
    level->SpawnPaddles(&logic);
    ASSERT_EQ(1u, logic.paddles.size());
    level->SpawnBall(&logic, -1, false);
    ASSERT_EQ(1u, logic.heldServes.size());
    EXPECT_EQ(logic.paddles[0], logic.heldServes[0]->GetPaddle());
    // A serve of fewer balls than starts picks its start by where it serves from: the
    // paddle in play too.
    logic.m_BallsLeft = 3;
    level->SpawnBall(&logic, 1, true);
    EXPECT_EQ(2u, logic.heldServes.size());
    int lines = 0;
    for (const std::string& line : voice.Reported())
        lines += line.find("no paddle \"Nope\"") != std::string::npos;
    EXPECT_EQ(1, lines) << AllSaid();
    EXPECT_EQ("", voice.Faults(log.Text())) << log.Text();
}

// A stop asked for while the bricks or the actors are being made ends the build at the
// next entry: the reporter's listener asks for it as the third entry is said, and no
// entry after the fourth is looked at.
TEST_F(LevelVoiceTest, AStopAskedForDuringTheBuildEndsItAtTheNextEntry)
{
    std::string entries;
    for (int i = 0; i < 40; ++i)
        entries += "\"junk\", ";
    for (const char* list : {"compiledBricks", "levelActors"}) {
        SCOPED_TRACE(list);
        StopSignal::Reset();
        auto level = MakeLevel(std::string("{ ") + list + " = { " + entries + " } }");
        int heard = 0;
        const DataReport::Listener previous =
            DataReport::SetListener([&heard](const DataIssue& issue) {
                if (issue.text.find("junk") != std::string::npos && ++heard == 3)
                    StopSignal::Request(SIGTERM);
            });
        WorkMeter meter("level \"Test\"");
        bool ended = false;
        try {
            if (std::string(list) == "compiledBricks")
                level->SpawnBricks(&keeper);
            else
                level->SpawnLevelActors(&keeper);
        } catch (const WorkSpent&) {
            ended = true;
        }
        DataReport::SetListener(previous);
        EXPECT_TRUE(ended);
        EXPECT_TRUE(meter.IsSpent());
        EXPECT_EQ(3, heard);
    }
}

} // namespace
