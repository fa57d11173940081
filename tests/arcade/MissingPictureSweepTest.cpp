// The pack without one picture the game's own scripts name, for each such picture in turn.
// Which pictures the scripts name is found, not listed: every registered picture whose name
// is written as a quoted string in the text of a game script or of the game's own code, or is
// a string in a table the scripts made (their globals, classes and table resources; not the
// levels). Of those, the
// ones a level of every kind of field object asks for are swept: a brick carrying every
// power-up kind, an explosive and a lightning brick, every kind granted at the level's start,
// a goober carrying every kind, a paddle with its ball, a free ball, an artefact, the walls
// and the shield of the dangerous one. They are found by playing that level once with the
// pack whole and counting the pictures asked for.
//
// Each run takes one picture out of the registry (the game meets the name as in a pack that
// lacks the file), builds the level, serves and plays it with the autoplay. Nothing may escape the
// game, the level must be built, the picture must be named in the log (in a line the whole pack's
// run did not write) and no such line may be said twice, and every actor of the game must be gone
// once it has ended. The pictures are split over four cases so that a sharded run spreads them.
#include "LevelSweep.h"

#include "core/Random.h"
#include "core/Utility.h"
#include "field/Ball.h"
#include "field/PowerupKind.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "scene/Actor.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/GameLevels.h"
#include "support/engine/LogCapture.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"

#include "app/ArcadeApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kPictureShards = 4;
// Passes each run plays: the serve, the power-ups granted at the start, the first breaks.
const int kPicturePasses = 300;
const char kLevel[] = "MissingPicture";

// The level of every kind of field object (see above).
std::string EveryObjectLevel()
{
    std::string kinds, granted;
    for (const PowerupKind::Traits& kind : PowerupKind::GetKinds()) {
        kinds += std::string("'") + kind.name + "', ";
        granted += std::string("{ powerupClass = '") + kind.name + "' }, ";
    }
    return gametest::SweepBaseLevel(kLevel) +
           "L.compiledBricks[2] = { resource = 'RedBrick', position = { 4, 3 }, powerups = { " +
           kinds +
           "} }\n"
           "L.compiledBricks[3] = { resource = 'TNTBrick', position = { 6, 4 } }\n"
           "L.compiledBricks[4] = { resource = 'LightningBrick', position = { 8, 4 } }\n"
           "L.levelActors[1].powerups = { " +
           kinds + "}\nL.initialPowerups = { perLevel = { " + granted + "} }\n";
}

bool IsPicture(const std::string& name)
{
    ResourceManager& resources = bbtest::TestResources();
    const ResourceInfo* info = resources.FindInfo(name, true);
    return info && resources.KindOf(*info) == RESOURCE_IMAGE;
}

// Every string a table the game scripts made holds, at any depth: the globals but the levels,
// and the tables of the table resources.
const char kScriptStrings[] = R"lua(
local seen, found = {}, {}
local function walk(v)
    if type(v) == "string" then
        found[v] = true
    elseif type(v) == "table" and not seen[v] then
        seen[v] = true
        for key, value in pairs(v) do
            walk(key)
            walk(value)
        end
    end
end
seen[Levels] = true
seen[Resources] = true
for _, value in pairs(_G) do walk(value) end
for name in pairs(Resources._contents) do
    local value = Resources[name]
    if type(value) == "table" then walk(value) end
end
local list = {}
for name in pairs(found) do list[#list + 1] = name end
MissingPictureStrings = list
)lua";

// The registered pictures the game scripts name (see above), in name order.
std::set<std::string> PicturesTheScriptsName()
{
    std::set<std::string> pictures;
    const std::regex quoted(R"re(["']([^"'\n]+)["'])re");
    for (const std::string& script : ArcadeApp::GetScriptNames()) {
        for (const char* folder : {"/MakoArcadeLib/Source/scripts/", "/game/"}) {
            const std::string path = std::string(BB_SOURCE_DIR) + folder + script;
            if (!fs::exists(path))
                continue;
            const std::string text = bbtest::ReadFile(path);
            for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it)
                if (IsPicture((*it)[1].str()))
                    pictures.insert((*it)[1].str());
        }
    }
    // And the names the game's own code writes out (the heads-up display's ball, a flash).
    const std::string code = std::string(BB_SOURCE_DIR) + "/MakoArcadeLib/Source";
    for (const auto& file : fs::recursive_directory_iterator(code)) {
        if (file.path().extension() != ".cpp")
            continue;
        const std::string text = bbtest::ReadFile(file.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it)
            if (IsPicture((*it)[1].str()))
                pictures.insert((*it)[1].str());
    }
    MakoLuaState::LoadString(GetGlobalLuaState(), kScriptStrings);
    const LuaPlus::LuaObject strings = bbtest::EvalLua("MissingPictureStrings");
    for (int i = 1; strings[i].IsString(); ++i)
        if (IsPicture(strings[i].GetString()))
            pictures.insert(strings[i].GetString());
    MakoLuaState::LoadString(GetGlobalLuaState(), "MissingPictureStrings = nil");
    return pictures;
}

// How often each registered picture was asked for.
std::map<std::string, int> AskedCounts()
{
    std::map<std::string, int> counts;
    ResourceManager& resources = bbtest::TestResources();
    for (const char* suffix : {".png", ".jpg"})
        for (const std::string& name : resources.FindNamesEndingWith(suffix))
            counts[name] = resources.FindInfo(name)->GetAcquireCount();
    return counts;
}

// The lines of log that hold text.
std::vector<std::string> LinesWith(const std::string& log, const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);)
        if (line.find(text) != std::string::npos)
            lines.push_back(line);
    return lines;
}

class MissingPictureSweep : public gametest::LevelSweepFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    // Plays the level for kPicturePasses passes from the same random start each time, so that a run
    // meets what the whole pack's run met until the missing picture changes it, and makes its
    // start and end letters.
    void Play()
    {
        MakoSrand(7);
        PlayLevel(kLevel, kPicturePasses);
    }

    void DefineLevel()
    {
        LuaPlus::LuaState* state = GetGlobalLuaState();
        MakoLuaState::LoadString(state, std::string("rawset(Levels, '") + kLevel + "', nil)");
        std::string error;
        LevelManager::RunLevelText(state, EveryObjectLevel(),
                                   std::string("@Levels/") + kLevel + ".lua", error);
        ASSERT_EQ("", error);
    }

    // The pictures the scripts name that the level asks for, found once a process by playing
    // it with the pack whole.
    const std::vector<std::string>& Swept()
    {
        static std::vector<std::string> swept;
        static bool surveyed = false;
        if (surveyed)
            return swept;
        surveyed = true;
        const std::set<std::string> named = PicturesTheScriptsName();
        EXPECT_TRUE(named.count("Bling.Coin.png")) << "the coin's picture is not found named";
        DefineLevel();
        Ball::FreeBallImages();
        const std::map<std::string, int> before = AskedCounts();
        std::string state;
        {
            bbtest::LogCapture log;
            Play();
            state = logic ? State() : "no game";
            FreshScreen();
            passes.Step();
            for (const std::string& line : LinesWith(log.Text(), ""))
                Routine().insert(line);
        }
        for (const auto& [name, count] : AskedCounts())
            if (named.count(name) && count > (before.count(name) ? before.at(name) : 0))
                swept.push_back(name);
        std::cout << "missing-picture sweep: " << named.size() << " pictures named by the scripts, "
                  << swept.size() << " asked for by the level, played to " << state << std::endl;
        return swept;
    }

    // The lines the game logs when the pack is whole: a line of a run that names the
    // picture is its report only when it is none of these.
    static std::set<std::string>& Routine()
    {
        static std::set<std::string> lines;
        return lines;
    }

    void RunShard(int shard)
    {
        const std::vector<std::string>& pictures = Swept();
        ASSERT_FALSE(pictures.empty());
        DefineLevel();
        gametest::SweepTally tally{"missing pictures"};
        tally.sites = 1;
        for (std::size_t i = std::size_t(shard); i < pictures.size(); i += kPictureShards) {
            const std::string& name = pictures[i];
            const std::string run = "without " + name;
            SCOPED_TRACE(run);
            const auto from = std::chrono::steady_clock::now();
            // Counted over an empty screen, before the run and after it.
            FreshScreen();
            passes.Step();
            const int actors = Actor::GetLiveCount();
            std::string logged;
            bool built = false;
            {
                bbtest::ResourceScope scope;
                ASSERT_TRUE(scope.Hide(name));
                Ball::FreeBallImages();
                bbtest::LogCapture log;
                try {
                    Play();
                    built =
                        logic && logic->GetLevel() && logic->GetLevel()->GetLevelName() == kLevel;
                    // The game ends with its screen, as when the player leaves it.
                    FreshScreen();
                    passes.Step();
                } catch (const std::exception& e) {
                    ADD_FAILURE() << run << ": " << e.what();
                }
                logged = log.Text();
            }
            Ball::FreeBallImages();
            FreshScreen();
            passes.Step();
            ++tally.values;
            EXPECT_TRUE(built) << run << ": the level was not built\n" << logged.substr(0, 3000);
            std::vector<std::string> lines;
            for (const std::string& line : LinesWith(logged, name))
                if (!Routine().count(line))
                    lines.push_back(line);
            EXPECT_FALSE(lines.empty()) << run << ": the picture is not named\n"
                                        << logged.substr(0, 3000);
            const std::set<std::string> distinct(lines.begin(), lines.end());
            EXPECT_EQ(distinct.size(), lines.size())
                << run << ": a line naming the picture is said again\n"
                << logged.substr(0, 3000);
            EXPECT_EQ(actors, Actor::GetLiveCount()) << run << ": actors left alive";
            tally.Ran(run, from);
        }
        tally.Print("missing-picture sweep, shard " + std::to_string(shard + 1));
    }

    LevelManager manager;
};

} // namespace

TEST_F(MissingPictureSweep, Shard1)
{
    RunShard(0);
}

TEST_F(MissingPictureSweep, Shard2)
{
    RunShard(1);
}

TEST_F(MissingPictureSweep, Shard3)
{
    RunShard(2);
}

TEST_F(MissingPictureSweep, Shard4)
{
    RunShard(3);
}
