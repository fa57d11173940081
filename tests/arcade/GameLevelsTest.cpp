// The game's levels as the pack carries them, and the order of episodes: every level file
// loads, every brick it holds can be built, fits the field beside the others, and every
// name the order gives is accounted for.
#include "support/engine/GameLevels.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"

#include "core/ClassManager.h"
#include "field/Brick.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

// The play field's size in pixels and the line the bricks must stay above, so that the
// paddle (its top at 380 in field coordinates) has room to play.
const int kFieldWidth = 608;
const int kBrickFloor = 320;

std::vector<std::string> StringList(const LuaObject& list)
{
    std::vector<std::string> names;
    for (int i = 1; list[i].IsString(); ++i)
        names.push_back(list[i].GetString());
    return names;
}

struct Box
{
    int x, y, w, h;
    bool Overlaps(const Box& o) const
    {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// Builds every compiled brick of the level and checks it against the field and the others.
void CheckBricks(const std::string& name, const LuaObject& level)
{
    const LuaObject bricks = level["compiledBricks"];
    ASSERT_TRUE(bricks.IsTable()) << name;
    int ox = 0, oy = 0;
    if (level["offsetPosition"].IsTable()) {
        ox = level["offsetPosition"][1].GetInteger();
        oy = level["offsetPosition"][2].GetInteger();
    }
    ClassManager* classes = ClassManager::GetInstance();
    std::vector<Box> boxes;
    int loot = 0;
    bool secretUnderCover = false;
    int secrets = 0;
    for (int i = 1; bricks[i].IsTable(); ++i) {
        const LuaObject entry = bricks[i];
        const std::string label = name + " brick " + std::to_string(i);
        std::unique_ptr<Brick> brick(Brick::CreateFromEntry(entry, label));
        ASSERT_NE(nullptr, brick) << label;
        EXPECT_FALSE(brick->ShowsPlaceholder()) << label;
        const Box box{(entry["position"][1].GetInteger() + ox - 1) * 32,
                      (entry["position"][2].GetInteger() + oy - 1) * 16, brick->GetWidth(),
                      brick->GetHeight()};
        EXPECT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.w <= kFieldWidth &&
                    box.y + box.h <= kBrickFloor)
            << label << " at " << box.x << "," << box.y << " size " << box.w << "x" << box.h;
        for (const Box& other : boxes)
            EXPECT_FALSE(box.Overlaps(other)) << label << " overlaps an earlier brick";
        boxes.push_back(box);
        const LuaObject powerups = entry["powerups"];
        for (int k = 1; powerups.IsTable() && powerups[k].IsString(); ++k)
            EXPECT_NE(nullptr, classes->GetClass(powerups[k].GetString(), true))
                << label << " " << powerups[k].GetString();
        brick->CountLoot();
        loot += brick->GetLootCount();
        LuaObject mustUncover;
        brick->RetrieveProperty(mustUncover, "mustUncover");
        if (brick->HasSecret() && mustUncover.IsBoolean() && mustUncover.GetBoolean())
            secretUnderCover = true;
        secrets += brick->HasSecret() ? 1 : 0;
    }
    EXPECT_GE(boxes.size(), 10u) << name;
    EXPECT_GT(loot, 0) << name;
    // A level that hides a painting hides its secret with it: the stones over the painting
    // hold the puzzle piece, so the tally's "Secret Found" row has something to count.
    if (level["artefact"].IsTable()) {
        EXPECT_TRUE(secretUnderCover) << name << ": the artefact's cover holds no secret";
    }
    // One secret at most: a card counts a level's secret once.
    EXPECT_LE(secrets, 1) << name;
}

// The bricks of the level that hold a secret, and how many of them must be broken to win.
struct SecretBricks
{
    int count = 0;
    int necessary = 0;
};

SecretBricks FindSecrets(const std::string& name, const LuaObject& level)
{
    SecretBricks found;
    const LuaObject bricks = level["compiledBricks"];
    for (int i = 1; bricks.IsTable() && bricks[i].IsTable(); ++i) {
        std::unique_ptr<Brick> brick(Brick::CreateFromEntry(bricks[i], name));
        if (!brick)
            continue;
        brick->CountLoot();
        if (brick->HasSecret()) {
            ++found.count;
            found.necessary += brick->IsNecessary() ? 1 : 0;
        }
    }
    return found;
}

} // namespace

TEST(GameLevels, TheOrderHoldsTenEpisodesTheBonusLevelsAndTwoTestEpisodes)
{
    bbtest::OpenGameResources();
    const LuaObject order = bbtest::EvalLua("Config.LevelOrder");
    ASSERT_TRUE(order.IsTable());
    EXPECT_EQ(10, bbtest::EvalLua("Config.EpisodesPerGame").GetInteger());
    const int perEpisode = bbtest::EvalLua("Config.LevelsPerEpisode").GetInteger();

    std::set<std::string> seen;
    size_t most = 0;
    for (int e = 1; e <= 13; ++e) {
        const std::vector<std::string> names = StringList(order[e]);
        const size_t expected = e <= 9 ? 5 : e == 10 ? 6 : 10;
        EXPECT_EQ(expected, names.size()) << "episode " << e;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == "Blank") {
                EXPECT_TRUE(e >= 12 && i > 0) << "episode " << e;
                continue;
            }
            EXPECT_TRUE(seen.insert(names[i]).second) << names[i] << " is listed twice";
        }
        if (e <= 10)
            most = std::max(most, names.size());
        if (e == 11) {
            for (size_t i = 0; i < names.size(); ++i)
                EXPECT_EQ("Bonus" + std::to_string(i + 1), names[i]);
        }
    }
    EXPECT_TRUE(order[14].IsNil());
    EXPECT_EQ(int(most), perEpisode);
    EXPECT_EQ((std::vector<std::string>{"Welcome", "Crates", "FallingGold", "LottaLoot",
                                        "ScreamForHelp"}),
              StringList(order[1]));

    // Ten named episodes, each with its pin on the 640 x 480 map.
    const std::vector<std::string> episodes = StringList(bbtest::EvalLua("Config.EpisodeNames"));
    EXPECT_EQ(10u, episodes.size());
    EXPECT_EQ(10u, std::set<std::string>(episodes.begin(), episodes.end()).size());
    const LuaObject pins = bbtest::EvalLua("Config.PinLocations");
    for (const std::string& episode : episodes) {
        const LuaObject pin = pins[episode.c_str()];
        ASSERT_TRUE(pin.IsTable()) << episode;
        EXPECT_TRUE(pin[1].GetNumber() >= 0 && pin[1].GetNumber() < 640 &&
                    pin[2].GetNumber() >= 0 && pin[2].GetNumber() < 480)
            << episode;
    }
}

TEST(GameLevels, EveryLevelFileLoadsIntoAPlayableLevel)
{
    const std::vector<std::string> files = bbtest::LoadGameLevels();
    for (const char* file : {"Welcome.lua", "Crates.lua", "FallingGold.lua", "LottaLoot.lua",
                             "ScreamForHelp.lua", "TestBricks.lua", "TestStarts.lua"})
        EXPECT_NE(files.end(), std::find(files.begin(), files.end(), file)) << file;

    // The levels the order starts its episodes with exist.
    const LuaObject levels = bbtest::EvalLua("Levels");
    const LuaObject order = bbtest::EvalLua("Config.LevelOrder");
    for (const std::string& name : StringList(order[1]))
        EXPECT_TRUE(levels[name.c_str()].IsTable()) << name;
    EXPECT_TRUE(levels[order[12][1].GetString()].IsTable());
    EXPECT_TRUE(levels[order[13][1].GetString()].IsTable());

    int count = 0;
    for (LuaTableIterator it(levels); it; it.Next(), ++count) {
        const std::string name = it.GetKey().GetString();
        const LuaObject level = it.GetValue();
        SCOPED_TRACE(name);
        for (const char* key : {"fullName", "noteText", "fromText", "music"})
            EXPECT_TRUE(level[key].IsString() && !std::string(level[key].GetString()).empty())
                << key;
        // The music names a segment the pack holds.
        EXPECT_NE(nullptr, bbtest::TestResources().FindInfo(level["music"].GetString(), true));
        CheckBricks(name, level);

        // Actors are made by class name and stand inside the walls.
        const LuaObject actors = level["levelActors"];
        for (int i = 1; actors.IsTable() && actors[i].IsTable(); ++i) {
            EXPECT_NE(nullptr, FindClassInResourceTree(actors[i])) << "actor " << i;
            const LuaObject position = actors[i]["position"];
            EXPECT_TRUE(position[1].GetNumber() > 16 && position[1].GetNumber() < 600 &&
                        position[2].GetNumber() > 36 && position[2].GetNumber() < 400)
                << "actor " << i;
        }
        // Starts inherit from the shared resources without error.
        for (const char* key : {"paddleStarts", "ballStarts"}) {
            const LuaObject starts = level[key];
            for (int i = 1; starts.IsTable() && starts[i].IsTable(); ++i)
                MakoLuaState::LoadString(GetGlobalLuaState(), "flattenObject(Levels." + name + "." +
                                                                  key + "[" + std::to_string(i) +
                                                                  "])");
        }
    }
    EXPECT_EQ(int(files.size()), count);
}

// Every level of the adventure and of the lab hides one secret, in a brick the level cannot
// be won without breaking, so a player who wins sees it fall; a card counts them out of
// the 61 levels there are. The test episodes hold none.
TEST(GameLevels, EveryLevelOfTheAdventureAndTheLabHidesOneSecretInABrickThatMustBreak)
{
    bbtest::LoadGameLevels();
    const LuaObject levels = bbtest::EvalLua("Levels");
    const LuaObject order = bbtest::EvalLua("Config.LevelOrder");
    int total = 0;
    for (int e = 1; e <= 13; ++e)
        for (const std::string& name : StringList(order[e])) {
            if (name == "Blank")
                continue;
            const SecretBricks secrets = FindSecrets(name, levels[name.c_str()]);
            if (e > 11) {
                EXPECT_EQ(0, secrets.count) << name << " is a test level";
                continue;
            }
            EXPECT_EQ(1, secrets.count) << name;
            EXPECT_EQ(secrets.count, secrets.necessary)
                << name << ": the secret's brick need not be broken to win";
            total += secrets.count;
        }
    EXPECT_EQ(61, total);
}
