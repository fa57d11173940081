// The shape of every picture metadata file of the pack taken away in turn: the file emptied
// ("Metadata {}"), and every entry's animations renamed with its numFrames set to 1. The
// folder's pictures come from a copy holding the changed file, scanned over the pack (the
// resources are scanned again for each change). The game starts with a card, shows the
// menu, the map, the lab and the finds, and plays each level that uses the folder for 300
// passes, the serve clicked, and opens the level's letter and tally. Nothing may escape the
// game, every level must be built, and a change the game met is named with its folder.
//
// Which levels use a folder is found, not listed: every level of the pack is built and
// played briefly once with the pack as it is, counting the pictures it asks for; a folder's
// levels are then a few that together ask for every picture of it any level asks for. The
// folders are split over four cases so that a sharded run spreads them.
#include "GameApp.h"

#include "core/Utility.h"
#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/StartLevelDialog.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/LogCapture.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const int kShards = 4;
// Passes a level is played to find the pictures it asks for, and with a folder changed.
const int kSurveyPasses = 40;
const int kPlayPasses = 300;

const char kShapeCard[] = "Player { guid = 41, Card_Version = 4, Name = \"Sweeper\", Options = { "
                          "[\"game.mode\"] = \"Adventure\", [\"player.skill\"] = \"gamer\" } }";

// Lua: the metadata file's text with every entry's animations renamed and one frame.
const char kShapeLua[] = R"lua(
function ShapeSweepRenamed(source)
    local read
    local f = assert(loadstring(source))
    setfenv(f, { Metadata = function(t) read = t end })
    f()
    local items = {}
    for name, entry in pairs(read or {}) do
        local fields = {}
        for key, value in pairs(type(entry) == "table" and entry or {}) do
            if key == "Animations" and type(value) == "table" then
                local renamed = {}
                for animation, list in pairs(value) do
                    local elements = {}
                    for i, element in ipairs(type(list) == "table" and list or {}) do
                        elements[i] = type(element) == "string" and
                            string.format("%q", element .. "Gone") or
                            (type(element) == "number" and tostring(element) or "0")
                    end
                    renamed[#renamed + 1] = string.format("[%q] = { %s }",
                        tostring(animation) .. "Gone", table.concat(elements, ", "))
                end
                fields[#fields + 1] = "Animations = { " .. table.concat(renamed, ", ") .. " }"
            elseif key ~= "numFrames" and type(value) == "number" then
                fields[#fields + 1] = string.format("[%q] = %.17g", key, value)
            end
        end
        fields[#fields + 1] = "numFrames = 1"
        items[#items + 1] = string.format("[%q] = { %s }", name, table.concat(fields, ", "))
    end
    return "Metadata { " .. table.concat(items, ",\n") .. " }"
end
)lua";

struct Folder
{
    std::string relative;              // "Images/Paddles"
    std::string path;                  // in the pack
    std::vector<std::string> pictures; // its picture files' names
    bool animated = false;             // its metadata holds animations or frame strips
};

// How many times each picture of the pack's folders was asked for.
std::map<std::string, int> AskedCounts(const std::vector<Folder>& folders)
{
    std::map<std::string, int> counts;
    for (const Folder& folder : folders)
        for (const std::string& name : folder.pictures)
            if (ResourceInfo* info = bbtest::TestResources().FindInfo(name, true))
                counts[name] = info->GetAcquireCount();
    return counts;
}

// Plays the level of that name as a game of it for `passes` passes, the serve clicked every
// few passes; true when the game built it.
bool PlayLevel(bbtest::GameApp& app, const std::string& name, int passes)
{
    bbtest::RunLua("GameOptions = { gameType = 'Levels', levelName = '" + name +
                   "', ballsLeft = 3 }");
    app.ApplyBoolProperty("enableBrickDropAnimation", false);
    app.ApplyBoolProperty("enableStartLevelDialog", false);
    app.SwitchTo("GameScreen");
    bool built = false;
    for (int i = 0; i < passes; ++i) {
        if (i % 25 == 10)
            app.ClickLeft();
        app.Pass();
        ArcadeGameLogic* logic = app.GameScreen()->GetGameLogic();
        Level* level = logic ? logic->GetLevel() : nullptr;
        built = built || (level && level->GetLevelName() == name);
        if (level && i + 1 == passes) {
            // The letters that show the level's texts and its tally.
            delete new StartLevelDialog("tester", level->GetNoteText(), level->GetFromText(),
                                        level->GetFullName());
            delete new EndLevelBonusDialog(level->GetFullName(), 0);
        }
    }
    app.SwitchTo("Elsewhere");
    app.Pass();
    return built;
}

// The start of the game over a card: the menu, the map, the lab and the finds shown.
void ShowScreens(bbtest::GameApp& app, const std::string& cards)
{
    app.LoadCard(cards, kShapeCard);
    for (const char* screen : {"MenuScreen", "MapScreen", "LabScreen", "ArtifactScreen"})
        app.Show(screen);
    app.SwitchTo("Elsewhere");
}

// The pack's picture folders, and for each the levels that together ask for every picture
// of it the levels ask for (found once a process).
struct Survey
{
    std::vector<Folder> folders;
    std::map<std::string, std::vector<std::string>> levelsOf; // by folder
    std::vector<std::string> levels;
};

Survey MakeSurvey(const std::string& pack)
{
    Survey survey;
    for (const auto& entry : fs::recursive_directory_iterator(pack + "/Images")) {
        if (entry.path().filename() != "metadata.cfg")
            continue;
        Folder folder;
        folder.path = entry.path().parent_path().string();
        folder.relative = fs::relative(entry.path().parent_path(), pack).string();
        for (const auto& file : fs::directory_iterator(folder.path)) {
            const std::string name = file.path().filename().string();
            if (EndsWith(name, ".png") || EndsWith(name, ".jpg"))
                folder.pictures.push_back(name);
        }
        const std::string text = bbtest::ReadFile(entry.path().string());
        // Animations, or a picture cut into more than one frame.
        folder.animated = text.find("Animations") != std::string::npos ||
                          std::regex_search(text, std::regex("numFrames = ([2-9]|[1-9][0-9])"));
        survey.folders.push_back(folder);
    }
    std::sort(survey.folders.begin(), survey.folders.end(),
              [](const Folder& a, const Folder& b) { return a.relative < b.relative; });

    bbtest::TempHome home;
    bbtest::GameApp app;
    ShowScreens(app, home.Path() + "/cards/");
    survey.levels = bbtest::TableKeys("Levels");
    // The pictures each level asks for.
    std::map<std::string, std::set<std::string>> asked;
    for (const std::string& level : survey.levels) {
        const std::map<std::string, int> before = AskedCounts(survey.folders);
        PlayLevel(app, level, kSurveyPasses);
        for (const auto& [name, count] : AskedCounts(survey.folders))
            if (count > (before.count(name) ? before.at(name) : 0))
                asked[level].insert(name);
    }
    // Greedy: the level asking for most pictures not yet covered, until none is left.
    for (const Folder& folder : survey.folders) {
        const std::set<std::string> own(folder.pictures.begin(), folder.pictures.end());
        std::set<std::string> left;
        for (const auto& [level, names] : asked)
            for (const std::string& name : names)
                if (own.count(name))
                    left.insert(name);
        while (!left.empty()) {
            std::string best;
            std::size_t most = 0;
            for (const auto& [level, names] : asked) {
                std::size_t n = 0;
                for (const std::string& name : names)
                    n += left.count(name);
                if (n > most)
                    most = n, best = level;
            }
            survey.levelsOf[folder.relative].push_back(best);
            for (const std::string& name : asked[best])
                left.erase(name);
        }
    }
    return survey;
}

class MetadataShapeSweep : public ::testing::Test
{
protected:
    static const Survey& GetSurvey()
    {
        static const Survey survey = MakeSurvey(bbtest::AssetPackFolder());
        return survey;
    }

    // Runs every change of every folder of the shard.
    void SweepShard(int shard)
    {
        const std::string pack = bbtest::AssetPackFolder();
        BB_REQUIRE_FILE(pack + "/Images/Paddles/metadata.cfg", "the asset pack's pictures");
        bbtest::RunLua(kShapeLua);
        const auto start = std::chrono::steady_clock::now();
        const Survey& survey = GetSurvey();
        EXPECT_GE(survey.folders.size(), 10u);
        EXPECT_GE(survey.levels.size(), 10u);
        int runs = 0, played = 0;
        for (std::size_t i = shard; i < survey.folders.size(); i += kShards) {
            const Folder& folder = survey.folders[i];
            const auto found = survey.levelsOf.find(folder.relative);
            const std::vector<std::string> levels =
                found == survey.levelsOf.end() ? std::vector<std::string>() : found->second;
            const std::string original = bbtest::ReadFile(folder.path + "/metadata.cfg");
            const std::string renamed = GetGlobalLuaState()
                                            ->GetGlobal("ShapeSweepRenamed")
                                            .Call(original.c_str())
                                            .ToString();
            std::string names;
            for (const std::string& level : levels)
                names += " " + level;
            std::cout << folder.relative << ": " << folder.pictures.size() << " pictures, levels"
                      << (names.empty() ? " none" : names) << std::endl;
            for (const auto& [change, text] :
                 {std::pair<std::string, std::string>{"emptied", "Metadata {}\n"},
                  {"animations renamed, one frame", renamed}}) {
                ++runs;
                played += static_cast<int>(levels.size());
                RunChange(folder, change, text, levels);
            }
        }
        std::cout << "metadata shape sweep, shard " << shard << ": " << runs << " changes, "
                  << played << " level plays, "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                  << " s" << std::endl;
    }

    void RunChange(const Folder& folder, const std::string& change, const std::string& text,
                   const std::vector<std::string>& levels)
    {
        const std::string run = folder.relative + "/metadata.cfg " + change;
        SCOPED_TRACE(run);
        const std::string copy = home.Path() + "/pack/" + folder.relative + "/";
        fs::remove_all(copy);
        fs::create_directories(copy);
        for (const auto& file : fs::directory_iterator(folder.path))
            if (file.is_regular_file())
                fs::copy_file(file.path(), copy + file.path().filename().string());
        bbtest::WriteFile(copy + "metadata.cfg", text);
        bbtest::LogCapture log;
        bool askedFolder = false;
        try {
            bbtest::ResourceScope scope;
            scope.Add(new WindowsDirectoryResourceScanner(copy));
            bbtest::TestResources().ScanAll();
            Ball::FreeBallImages();
            const std::map<std::string, int> before = AskedCounts({folder});
            bbtest::GameApp app;
            ShowScreens(app, home.Path() + "/cards-" + std::to_string(++m_Starts) + "/");
            for (const std::string& level : levels)
                EXPECT_TRUE(PlayLevel(app, level, kPlayPasses)) << level << " was not built";
            for (const auto& [name, count] : AskedCounts({folder}))
                askedFolder = askedFolder || count > (before.count(name) ? before.at(name) : 0);
        } catch (const std::exception& e) {
            ADD_FAILURE() << run << ": " << e.what();
        }
        Ball::FreeBallImages();
        // A folder whose pictures have frames or animations, asked for in the run: what the
        // change took away is named with the folder.
        if (askedFolder && folder.animated) {
            EXPECT_NE(std::string::npos, log.Text().find(folder.relative + "/"))
                << run << "\n"
                << log.Text().substr(0, 3000);
        }
        EXPECT_EQ(std::string::npos, log.Text().find("Assertion failed")) << run;
    }

    bbtest::TempHome home;
    int m_Starts = 0;
};

} // namespace

TEST_F(MetadataShapeSweep, Folders1Of4)
{
    SweepShard(0);
}

TEST_F(MetadataShapeSweep, Folders2Of4)
{
    SweepShard(1);
}

TEST_F(MetadataShapeSweep, Folders3Of4)
{
    SweepShard(2);
}

TEST_F(MetadataShapeSweep, Folders4Of4)
{
    SweepShard(3);
}
