// The level check over the levels the pack ships (no problem may be found) and over broken
// levels, each of which must be reported with its file, level and, where the fault sits in
// the brick text, its row and cell column.
#include "LevelCheck.h"
#include "ContactSheet.h"

#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsMappedFileReader.h"
#include "sound/Sound.h"
#include "support/HostileScripts.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/DataVoice.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using levelcheck::LevelCheck;
using levelcheck::LevelSource;
using levelcheck::Problem;

namespace {

class LevelCheckTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    static std::string PackLevels() { return bbtest::AssetPackFolder() + "/Levels"; }

    // The report lines of one file, in the order found.
    std::vector<std::string> Lines(const std::string& file) const
    {
        std::vector<std::string> lines;
        for (const Problem& problem : check.GetProblems())
            if (problem.file == file)
                lines.push_back(problem.ToString());
        return lines;
    }

    static std::string Text(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }

    bool Reports(const std::string& file, const std::string& line) const
    {
        for (const std::string& found : Lines(file))
            if (found == line)
                return true;
        return false;
    }

    // A level file defining one level with the given keys (Lua table fields).
    static LevelSource LevelFile(const std::string& name, const std::string& keys)
    {
        return {name + ".lua", "Levels." + name + " = {\n" + "    fullName = \"" + name +
                                   "\", music = \"Harbour.mid\",\n" + keys + "\n}\n"};
    }

    LevelCheck check;
};

TEST_F(LevelCheckTest, TheShippedLevelsHaveNoProblem)
{
    // The file names come from the pack's folder as the game lists them; each text is read
    // through the game's script source.
    const bool started = !PHYSFS_isInit();
    ASSERT_TRUE(PHYSFS_isInit() || PHYSFS_init(nullptr));
    ASSERT_TRUE(PHYSFS_mount(bbtest::AssetPackFolder().c_str(), nullptr, 0));
    const std::vector<LevelSource> sources = levelcheck::ReadPackLevels();
    PHYSFS_unmount(bbtest::AssetPackFolder().c_str());
    if (started)
        PHYSFS_deinit();
    ASSERT_FALSE(sources.empty()) << "no level files in " << PackLevels();
    for (const LevelSource& source : sources)
        EXPECT_EQ("", source.error) << source.file;
    int frames = 0;
    const bool clean = check.Run(sources, [&](const std::string&, Canvas&) { ++frames; });
    std::string report;
    for (const Problem& problem : check.GetProblems())
        if (!problem.warning)
            report += problem.ToString() + "\n";
    EXPECT_TRUE(clean) << report;
    // Every level defined was built up to its serve.
    EXPECT_EQ(int(check.GetLevelFiles().size()), frames);
    EXPECT_EQ("Welcome.lua", check.GetLevelFiles().at("Welcome"));

    // The sheet's order follows the episodes.
    const std::vector<std::string> order = check.GetLevelsInOrder();
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ((std::vector<std::string>{"Welcome", "Crates", "FallingGold", "LottaLoot",
                                        "ScreamForHelp"}),
              std::vector<std::string>(order.begin(), order.begin() + 5));
}

// The sheet is the check's own output: written whole through the one writer, never
// through a link at its place nor over a file the check did not make; its own earlier
// sheet is written anew.
TEST_F(LevelCheckTest, TheSheetIsWrittenAsTheGamesOwnOutput)
{
    bbtest::TempHome home;
    const std::string notes = home.Path() + "/notes";
    const std::string path = home.Path() + "/sheet.png";
    bbtest::WriteFile(notes, "mine\n");
    levelcheck::ContactSheet sheet;
    std::string error;
    std::filesystem::create_symlink(notes, path);
    EXPECT_FALSE(sheet.Write(path, {"Welcome"}, {}, {}, error));
    EXPECT_NE(std::string::npos, error.find("a link to \"" + notes + "\"")) << error;
    EXPECT_EQ("mine\n", bbtest::ReadFile(notes));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    std::filesystem::remove(path);
    for (int time = 0; time < 2; ++time) {
        ASSERT_TRUE(sheet.Write(path, {"Welcome"}, {}, {}, error)) << error;
        EXPECT_EQ(0u, bbtest::ReadFile(path).rfind("\x89PNG", 0));
    }
}

TEST_F(LevelCheckTest, BrickTextFaultsNameTheLevelRowAndColumn)
{
    check.Run({LevelFile("BadChar", "bricks = {\n"
                                    "    \"R,R,R,R,R\",\n"
                                    "    \"G,G,G,G,G\",\n"
                                    "    \"B,B,B,B,x\",\n"
                                    "}"),
               LevelFile("BadPowerup", "bricks = { \"R,R,Rq\" }")});
    EXPECT_TRUE(Reports("BadChar.lua", "BadChar.lua: BadChar: row 3, column 5: brick text: "
                                       "Unknown character 'x' while searching for brick"))
        << Text(Lines("BadChar.lua"));
    EXPECT_TRUE(Reports("BadPowerup.lua", "BadPowerup.lua: BadPowerup: row 1, column 3: brick "
                                          "text: Unknown character 'q' while searching for "
                                          "powerup"))
        << Text(Lines("BadPowerup.lua"));
    EXPECT_GT(check.CountErrors(), 0);
}

TEST_F(LevelCheckTest, BricksThatOverlapAreReportedWithBothCells)
{
    // A double brick covers its neighbour's cell; a triple one reaches two cells on.
    check.Run({LevelFile("Overlap", "bricks = {\n"
                                    "    \"R2,G,,Y,Y\",\n"
                                    "    \",,B3,,P\",\n"
                                    "}")});
    const std::vector<std::string> lines = Lines("Overlap.lua");
    EXPECT_TRUE(Reports("Overlap.lua", "Overlap.lua: Overlap: row 1, column 2: the brick "
                                       "overlaps the brick at row 1, column 1"))
        << Text(lines);
    EXPECT_TRUE(Reports("Overlap.lua", "Overlap.lua: Overlap: row 2, column 5: the brick "
                                       "overlaps the brick at row 2, column 3"))
        << Text(lines);
    // Bricks side by side in their own cells do not overlap.
    for (const std::string& line : lines)
        EXPECT_EQ(std::string::npos, line.find("row 1, column 5")) << line;
}

TEST_F(LevelCheckTest, BricksOutsideTheFieldOrBelowThePaddleAreReported)
{
    std::string rows;
    for (int i = 0; i < 24; ++i)
        rows += "\"\",";
    check.Run({LevelFile("Edges", "bricks = { \",,,,,,,,,,,,,,,,,,R2\", " + rows + " \"G\" }")});
    EXPECT_TRUE(Reports("Edges.lua", "Edges.lua: Edges: row 1, column 19: the brick is "
                                     "outside the field"))
        << Text(Lines("Edges.lua"));
    EXPECT_TRUE(Reports("Edges.lua", "Edges.lua: Edges: row 26, column 1: the brick reaches "
                                     "below the paddle's line (y 416)"))
        << Text(Lines("Edges.lua"));
}

TEST_F(LevelCheckTest, UnknownNamesAndMissingAssetsAreReported)
{
    check.Run(
        {LevelFile("Unknowns",
                   "brickLetters = { X = \"NoSuchBrick\" },\n"
                   "bricks = { \"R,X,G\" },\n"
                   "levelActors = { { class = \"NoSuchClass\", position = { 100, 100 } },\n"
                   "                { resource = \"NoSuchResource\" } },\n"
                   "backgroundName = \"bkgNowhere.jpg\",\n"
                   "artefact = { name = \"artifactNowhere.jpg\" }"),
         {"NoMusic.lua", "Levels.NoMusic = { music = \"NoSuchSong.mid\", bricks = { \"R\" } }\n"
                         "Levels.ShortSong = { music = \"Theme.mid\", bricks = { \"R\" } }\n"
                         "Levels.BadLoot = { compiledBricks = { { resource = \"RedBrick\",\n"
                         "    position = { 4, 2 }, powerups = { \"NoSuchPowerup\" } } } }\n"
                         "Levels.Throws = { compiledBricks = \"oops\" }\n"}});
    const std::string unknowns = Text(Lines("Unknowns.lua"));
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: row 1, column 2: unknown brick "
                                        "resource \"NoSuchBrick\""))
        << unknowns;
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: levelActors[1]: unknown class "
                                        "\"NoSuchClass\"; it is left out"))
        << unknowns;
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: levelActors[2]: unknown "
                                        "resource \"NoSuchResource\""))
        << unknowns;
    // What the game's build says of them, once.
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: \"backgroundName\": "
                                        "\"bkgNowhere.jpg\" is not among the resources; the "
                                        "plain background is used"))
        << unknowns;
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: \"artefact\": the picture "
                                        "\"artifactNowhere.jpg\" is not among the resources; the "
                                        "level plays without its artefact"))
        << unknowns;
    EXPECT_TRUE(Reports("Unknowns.lua", "Unknowns.lua: Unknowns: artefact "
                                        "\"artifactNowhere.jpg\" has no entry in Artifacts"))
        << unknowns;

    const std::string music = Text(Lines("NoMusic.lua"));
    EXPECT_TRUE(Reports("NoMusic.lua", "NoMusic.lua: NoMusic: \"music\": \"NoSuchSong.mid\" is "
                                       "not among the resources; the level plays without music"))
        << music;
    EXPECT_TRUE(Reports("NoMusic.lua", "NoMusic.lua: BadLoot: row 2, column 4: unknown power-up "
                                       "class \"NoSuchPowerup\""))
        << music;
    // Bricks that are not a list stop the level's build.
    EXPECT_TRUE(Reports("NoMusic.lua", "NoMusic.lua: Throws: \"compiledBricks\" needs a table, "
                                       "not the string \"oops\"; the default is used"))
        << music;
    EXPECT_NE(std::string::npos, music.find("NoMusic.lua: Throws: the build throws: ")) << music;
    // The splash tune is in the pack but has none of the parts a level plays.
    EXPECT_NE(std::string::npos,
              music.find("NoMusic.lua: ShortSong: music \"Theme.mid\" has no part GetReady, "
                         "Letter, Play1"))
        << music;
}

// A class level data may not build, or a condition LevelConditions does not hold, is a
// problem of its level, named with its key, and the level is still built without it.
TEST_F(LevelCheckTest, ClassesAndConditionsALevelMayNotUseAreReported)
{
    const bool clean = check.Run({LevelFile(
        "Builds", "bricks = { \"R\" },\n"
                  "levelActors = {\n"
                  "    { class = \"Label\", text = \"|LevelCheckTripWire()|\",\n"
                  "      font = { fontName = \"DejaVuSans-Bold.ttf\", fontSize = 12 } },\n"
                  "    { class = \"Brick\", resource = \"RedBrick\", position = { 200, 200 },\n"
                  "      motion = { class = \"MotionConditional\", start = true,\n"
                  "                 addMotionList = { { class = \"TopRecordsView\" } } },\n"
                  "      hitMotion = { class = \"MotionConditional\",\n"
                  "                    condition = { name = \"ClearPlayer\", args = 1 } } },\n"
                  "    { class = \"Brick\", resource = \"RedBrik\", position = { 240, 200 } } }")});
    EXPECT_FALSE(clean);
    const std::string lines = Text(Lines("Builds.lua"));
    EXPECT_TRUE(Reports("Builds.lua", "Builds.lua: Builds: levelActors[1]: class \"Label\" is "
                                      "not one a level may build; it is left out"))
        << lines;
    EXPECT_TRUE(Reports("Builds.lua", "Builds.lua: Builds: levelActors[2].motion.addMotionList[1]: "
                                      "class \"TopRecordsView\" is not one a level may build; it "
                                      "is left out"))
        << lines;
    EXPECT_TRUE(Reports("Builds.lua", "Builds.lua: Builds: levelActors[2]: condition "
                                      "\"ClearPlayer\" is not one of LevelConditions; no motion "
                                      "is chosen"))
        << lines;
    // The entries past the one left out are still checked.
    EXPECT_NE(std::string::npos, lines.find("levelActors[3]: unknown resource \"RedBrik\""))
        << lines;
    EXPECT_EQ(std::string::npos, lines.find("throws")) << lines;
}

// A name where a resource of another kind is wanted is no such song (picture, sound), named
// with the level and key; a function is no value of level data, also one of the game's: it is
// named and left out, never called, while the functions a level file calls to make its
// tables (DropOnHit making a factory) still make them. Each level is built to its serve.
TEST_F(LevelCheckTest, NamesOfOtherKindsAndFunctionsInLevelDataAreReportedAndLeftOut)
{
    // A game function that counts its calls, under the name a level file sees.
    const LuaPlus::LuaObject dropOnHit = GetGlobalLuaState()->GetGlobal("DropOnHit");
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "CheckCalls = 0 local made = DropOnHit "
                             "DropOnHit = function(...) CheckCalls = CheckCalls + 1 "
                             "return made(...) end");
    const bool clean = check.Run(
        {LevelFile("Kinds",
                   "bricks = { \"R\" },\n"
                   "backgroundName = \"Harbour.mid\",\n"
                   "levelActors = {\n"
                   "    { class = \"Actor\", position = { 100, 100 }, image = \"Ball.lua\" },\n"
                   "    { class = \"Goober\", resource = \"NormalGoober\",\n"
                   "      position = { 200, 200 }, destructionSound = \"RedBrick\" } }"),
         {"Funcs.lua", "Levels.Funcs = { music = \"Harbour.mid\", bricks = { \"R\" },\n"
                       "  levelActors = { { class = \"Brick\", resource = \"RedBrick\",\n"
                       "    position = { 200, 200 }, strength = DropOnHit,\n"
                       "    factories = DropOnHit(\"Boulder\", 0.3), [DropOnHit] = 1 } },\n"
                       "  timeBonusAt = CompileLevel }\n"
                       "Levels.ScriptSong = { music = \"Ball.lua\", bricks = { \"R\" } }\n"}});
    const int calls = GetGlobalLuaState()->GetGlobal("CheckCalls").GetInteger();
    GetGlobalLuaState()->GetGlobals().SetObject("DropOnHit", dropOnHit);
    EXPECT_FALSE(clean);
    const std::string kinds = Text(Lines("Kinds.lua"));
    for (const char* line :
         {"Kinds.lua: Kinds: levelActors[1].image: no such picture \"Ball.lua\" (the resource of "
          "that name is a script); the key is left out",
          "Kinds.lua: Kinds: levelActors[2].destructionSound: no such sound \"RedBrick\" (the "
          "resource of that name is a table resource); the key is left out",
          "Kinds.lua: Kinds: \"backgroundName\": no such picture \"Harbour.mid\" (the resource "
          "of that name is a song); the plain background is used"})
        EXPECT_TRUE(Reports("Kinds.lua", line)) << line << "\n" << kinds;
    const std::string funcs = Text(Lines("Funcs.lua"));
    for (const char* line :
         {"Funcs.lua: Funcs: levelActors[1].strength: a function is not a value level data may "
          "hold; it is left out",
          "Funcs.lua: Funcs: levelActors[1][function]: a function is not a value level data may "
          "hold; it is left out",
          "Funcs.lua: Funcs: timeBonusAt: a function is not a value level data may hold; it is "
          "left out",
          "Funcs.lua: ScriptSong: \"music\": no such song \"Ball.lua\" (the resource of that "
          "name is a script); the level plays without music"})
        EXPECT_TRUE(Reports("Funcs.lua", line)) << line << "\n" << funcs;
    EXPECT_EQ(std::string::npos, (kinds + funcs).find("throws")) << kinds << funcs;
    // Only the file's own call made a factory: no reader called the function it held.
    EXPECT_EQ(1, calls);
}

// The slips an author makes most: a misspelt key (on a brick, on the level), a value of
// the wrong type (on the level, on an actor), a brick and an actor whose names the game
// does not know. Each is one line, with the closest name the game knows.
TEST_F(LevelCheckTest, AuthorsSlipsAreReportedOneALineWithTheClosestName)
{
    const bool clean = check.Run({LevelFile(
        "Slips", "initialBallSpeed = 400,\n"
                 "minBallSpeed = \"fast\",\n"
                 "compiledBricks = {\n"
                 "    { resource = \"RedBrick\", position = { 2, 1 }, strenght = 9 },\n"
                 "    { resource = \"RedBrik\", position = { 4, 1 } } },\n"
                 "levelActors = {\n"
                 "    { class = \"Brik\", position = { 100, 100 } },\n"
                 "    { class = \"Brick\", resource = \"RedBrick\", position = { 200, 200 },\n"
                 "      strength = \"nine\" } }")});
    EXPECT_FALSE(clean);
    const std::vector<std::string> expected = {
        "Slips.lua: Slips: \"initialBallSpeed\": no such key; did you mean \"initalBallSpeed\"?",
        "Slips.lua: Slips: \"minBallSpeed\" needs a number, not the string \"fast\"; the default "
        "is used",
        "Slips.lua: Slips: row 1, column 2: \"strenght\": no such key; did you mean "
        "\"strength\"?",
        "Slips.lua: Slips: row 1, column 4: unknown brick resource \"RedBrik\"; did you mean "
        "\"RedBrick\"?",
        // What the game does with that brick, in its own words.
        "Slips.lua: Slips: row 1, column 4: brick entry \"Slips.compiledBricks[2]\", key "
        "\"resource\" (value \"RedBrik\") cannot be applied; a placeholder brick takes its "
        "place: Could not find resource info with name = RedBrik",
        "Slips.lua: Slips: levelActors[1]: unknown class \"Brik\"; it is left out; did you mean "
        "\"Brick\"?",
        "Slips.lua: Slips: levelActors[2]: \"strength\" needs a number, not the string "
        "\"nine\"; the default is used",
    };
    std::vector<std::string> errors;
    for (const Problem& problem : check.GetProblems())
        if (problem.file == "Slips.lua" && !problem.warning)
            errors.push_back(problem.ToString());
    std::sort(errors.begin(), errors.end());
    std::vector<std::string> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, errors) << Text(errors);
}

TEST_F(LevelCheckTest, TheEpisodeOrderAndTheFilesAreCheckedAgainstEachOther)
{
    check.Run({LevelFile("Stray", "bricks = { \"R,G,B\" }"),
               {"Broken.lua", "Levels.Half = { bricks = { \"R\" } }\n"
                              "local x = 1\n"
                              "this is not Lua\n"
                              "Levels.Never = {}\n"}});
    // A level no episode lists is a warning only.
    const std::vector<std::string> stray = Lines("Stray.lua");
    ASSERT_EQ(1u, stray.size()) << Text(stray);
    EXPECT_EQ("Stray.lua: Stray: warning: LevelOrder does not list the level", stray[0]);
    // A level the order names that no file defines is a problem.
    EXPECT_TRUE(Reports("LevelOrder", "LevelOrder: Crates: episode 1, level 2 names a level "
                                      "that no file defines"))
        << Text(Lines("LevelOrder"));
    // A file that does not compile is reported with its line; nothing of it runs.
    const std::vector<std::string> broken = Lines("Broken.lua");
    ASSERT_FALSE(broken.empty());
    EXPECT_EQ(0u, broken[0].find("Broken.lua: line 3: Lua error: ")) << Text(broken);
    EXPECT_EQ(0u, check.GetLevelFiles().count("Half"));
    EXPECT_EQ(0u, check.GetLevelFiles().count("Never"));
}

// A level's own numbers out of what the field can play (a force, a goal past an int, an
// artefact's width that is no number) are the level's: each is named with its level and
// key as the game reads it, and the value as the author wrote it.
TEST_F(LevelCheckTest, ALevelsNumbersOutOfRangeAreNamedWithTheLevel)
{
    check.Run(
        {LevelFile("Wild", "wind = { strength = 1e10, direction = { 1, 0 }, variance = 8 },\n"
                           "victoryBalls = 1/0,\n"
                           "artefact = { name = 'artifactScarab.jpg', position = { 272, 52 },\n"
                           "             constrainWidth = 0/0 }")});
    const std::string wild = Text(Lines("Wild.lua"));
    for (const char* said : {"\"wind.strength\": 10000000000 is outside -100 to 100; 100 is used",
                             "\"victoryBalls\": inf is outside -1 to 10000; 10000 is used",
                             "\"constrainWidth\": nan is no number; 0 is used"})
        EXPECT_NE(std::string::npos, wild.find(said)) << said << "\n" << wild;
    const std::string pack = Text(Lines("pack"));
    EXPECT_EQ(std::string::npos, pack.find("zoom")) << pack;
}

// The sizes a level gives its pictures are the level's: a brick's scale or an artefact's
// width the field cannot play (none, no number, past the largest) or that would leave its
// picture without a pixel is named with the level, the place and the key, never as a
// warning of the pack's picture.
TEST_F(LevelCheckTest, ALevelsPictureSizesOutOfRangeAreNamedWithTheLevel)
{
    const std::pair<const char*, const char*> values[] = {{"Zero", "0"},     {"Tiny", "1e-310"},
                                                          {"Small", "0.01"}, {"NaN", "0/0"},
                                                          {"Below", "-1"},   {"Huge", "1e308"}};
    // Each key with the level text holding it (a level is named by its kind and value).
    const std::tuple<const char*, const char*, const char*> keys[] = {
        {"polyScale", "Brick",
         "compiledBricks = { { resource = 'RedBrick', position = { 3, 3 }, "
         "polyScale = %V% } }"},
        {"constrainWidth", "Artefact",
         "artefact = { name = 'artifactScarab.jpg', position = { 272, 52 }, "
         "constrainWidth = %V% }"}};
    std::vector<LevelSource> files;
    for (const auto& [key, kind, text] : keys)
        for (const auto& value : values) {
            std::string entry = text;
            entry.replace(entry.find("%V%"), 3, value.second);
            files.push_back(LevelFile(std::string(kind) + value.first, entry));
        }
    check.Run(files);
    for (const auto& [key, kind, text] : keys)
        for (const auto& value : values) {
            const std::string file = std::string(kind) + value.first + ".lua";
            const std::string said = Text(Lines(file));
            // An artefact's width of 0 is no constraint: nothing to say.
            const bool unconstrained = file == "ArtefactZero.lua";
            EXPECT_EQ(unconstrained, said.find(key) == std::string::npos) << file << "\n" << said;
        }
    // Too small to leave a pixel: held to the least that does.
    for (const char* file : {"BrickTiny.lua", "BrickSmall.lua"})
        EXPECT_NE(std::string::npos,
                  Text(Lines(file)).find("is outside 0.125 to 64; 0.125 is used"))
            << Text(Lines(file));
    for (const char* file : {"ArtefactTiny.lua", "ArtefactSmall.lua"})
        EXPECT_NE(std::string::npos, Text(Lines(file)).find("is outside 16 to 32767; 16 is used"))
            << Text(Lines(file));
    const std::string pack = Text(Lines("pack"));
    EXPECT_EQ(std::string::npos, pack.find("zoom")) << pack;
}

// The map lists an episode's levels in rows of five, or six once the sixth is open: a
// seventh level would be reached only by the map's arrow.
TEST_F(LevelCheckTest, AnEpisodeListingMoreLevelsThanTheMapShowsIsReported)
{
    LuaPlus::LuaObject episode = bbtest::EvalLua("Config.LevelOrder[1]");
    ASSERT_TRUE(episode.IsTable());
    const int shipped = episode.GetCount();
    ASSERT_LE(shipped, 6);
    for (int i = shipped + 1; i <= 7; ++i)
        episode.SetString(i, "Stray");
    check.Run({LevelFile("Stray", "bricks = { \"R,G,B\" }")});
    for (int i = 7; i > shipped; --i)
        episode.SetNil(i);
    EXPECT_TRUE(Reports("LevelOrder", "LevelOrder: Stray: episode 1, level 7: the map lists at "
                                      "most 6 levels of an episode"))
        << Text(Lines("LevelOrder"));
    EXPECT_FALSE(Reports("LevelOrder", "LevelOrder: Stray: episode 1, level 6: the map lists at "
                                       "most 6 levels of an episode"));
}

TEST_F(LevelCheckTest, ALevelOverTheLimitOfObjectsIsReportedWithoutBeingBuilt)
{
    const int over = Level::MAX_FIELD_OBJECTS + 1;
    // Every brick in the same cell: built, each would be reported as overlapping.
    check.Run({{"Crowd.lua", "local t = {} for i = 1, " + std::to_string(over - 1) +
                                 " do t[i] = { resource = 'RedBrick', position = { 1, 1 } } end\n"
                                 "Levels.Crowd = { compiledBricks = t, levelActors = { { class "
                                 "= 'NoSuchClass' } } }\n"}});
    std::vector<std::string> lines;
    for (const Problem& problem : check.GetProblems())
        if (problem.file == "Crowd.lua" && !problem.warning)
            lines.push_back(problem.ToString());
    ASSERT_EQ(1u, lines.size()) << Text(lines);
    EXPECT_EQ("Crowd.lua: Crowd: " + std::to_string(over) + " bricks and objects: more than the " +
                  std::to_string(Level::MAX_FIELD_OBJECTS) +
                  " a level may hold (compiledBricks, levelActors and extraActors together); the "
                  "game refuses the level",
              lines[0]);
}

TEST_F(LevelCheckTest, AStopSignalEndsTheCheckWithWhatWasFound)
{
    StopSignal::Request(SIGTERM);
    const bool clean = check.Run({LevelFile("Stray", "bricks = { \"R,G,B\" }")});
    StopSignal::Reset();
    EXPECT_FALSE(clean);
    EXPECT_TRUE(Lines("Stray.lua").empty()) << Text(Lines("Stray.lua"));
    EXPECT_TRUE(Reports("levelcheck", "levelcheck: stopped by SIGTERM; the levels after this "
                                      "point were not checked"))
        << Text(Lines("levelcheck"));
}

TEST_F(LevelCheckTest, AFileThatNeverEndsOrGrowsWithoutEndIsNamedAndTheOthersChecked)
{
    check.Run({{"Endless.lua", "Levels.Endless = { fullName = 'x' }\nwhile true do end\n"},
               {"Huge.lua", bbtest::kGrowsWithoutEnd},
               LevelFile("Plain", "bricks = { \"R,x\" }")});
    EXPECT_TRUE(Reports("Endless.lua", "Endless.lua: Lua error: the file did not finish within "
                                       "10000000 instructions"))
        << Text(Lines("Endless.lua"));
    EXPECT_TRUE(Reports("Huge.lua", "Huge.lua: Lua error: the file needs more than 128 MiB of "
                                    "memory"))
        << Text(Lines("Huge.lua"));
    EXPECT_FALSE(Lines("Plain.lua").empty());
}

TEST_F(LevelCheckTest, ALevelThatIsWonBeforeItStartsIsAWarning)
{
    check.Run({LevelFile("Welcome", "bricks = {}")});
    bool warned = false;
    for (const Problem& problem : check.GetProblems())
        if (problem.file == "Welcome.lua") {
            EXPECT_TRUE(problem.warning) << problem.ToString();
            warned = warned || problem.text.find("is won at once") != std::string::npos;
        }
    EXPECT_TRUE(warned) << Text(Lines("Welcome.lua"));
}

} // namespace

TEST_F(LevelCheckTest, HostileLevelFilesAreReportedAndTheCheckGoesOn)
{
    check.Run({{"Loop.lua", "while true do pcall(function() while true do end end) end"},
               {"Hook.lua", "debug.sethook() while true do end"},
               {"Pattern.lua", "local x = ('a'):rep(3000):find('.-.-.-.-.-.-b')"},
               {"Writes.lua", "io.open('written-by-a-level', 'w'):write('x')"},
               LevelFile("Good", "bricks = { \"R,R,R\" }")});
    for (const char* file : {"Loop.lua", "Hook.lua", "Pattern.lua", "Writes.lua"})
        EXPECT_FALSE(Lines(file).empty()) << file;
    // Each ends at once, on its first use of what a level file does not have (pcall,
    // debug), not at its budget.
    for (const char* file : {"Loop.lua", "Hook.lua"})
        EXPECT_NE(std::string::npos, Text(Lines(file)).find("line 1: Lua error: attempt to "))
            << Text(Lines(file));
    EXPECT_TRUE(Reports("Pattern.lua", "Pattern.lua: line 1: Lua error: attempt to call method "
                                       "'find' (a nil value)"))
        << Text(Lines("Pattern.lua"));
    EXPECT_FALSE(std::filesystem::exists("written-by-a-level"));
    EXPECT_EQ("Good.lua", check.GetLevelFiles().at("Good"));
    for (const std::string& line : Lines("Good.lua")) // it was checked, and only warned of
        EXPECT_NE(std::string::npos, line.find("warning: ")) << line;
}

TEST_F(LevelCheckTest, SecretsOnBricksThatCannotBreakOrGivenTwiceAreReported)
{
    check.Run({LevelFile("TwoSecrets", "bricks = { \"R?,G,B?\" }"),
               LevelFile("SteelSecret", "bricks = { \"R,M?,G\" }"),
               LevelFile("OneSecret", "bricks = { \"R,G?,B\" }")});
    const std::string two = Text(Lines("TwoSecrets.lua"));
    EXPECT_TRUE(Reports("TwoSecrets.lua", "TwoSecrets.lua: TwoSecrets: row 1, column 3: a second "
                                          "secret (\"?\"): a level hides one secret"))
        << two;
    EXPECT_TRUE(Reports("SteelSecret.lua", "SteelSecret.lua: SteelSecret: row 1, column 2: the "
                                           "secret (\"?\") is on a brick that cannot break"))
        << Text(Lines("SteelSecret.lua"));
    const std::string one = Text(Lines("OneSecret.lua"));
    EXPECT_EQ(std::string::npos, one.find("secret")) << one;
}

TEST_F(LevelCheckTest, DamagedSongsPicturesAndSoundsInThePackAreReported)
{
    // Damaged files beside the pack's: a song and a background a level names, and a sound
    // only the level's objects would play.
    bbtest::TempHome home;
    ResourceManager* resources = GetResourceManager();
    ASSERT_NE(nullptr, resources);
    // Songs load only while the music plays, as in the level check's own engine.
    if (!Sound::IsMusicActive())
        Sound::InitDirectMusic(true);
    ASSERT_TRUE(Sound::IsActive() && Sound::IsMusicActive());
    const std::pair<const char*, std::string> files[] = {
        {"CheckBroken.mid", "MThd garbage"},
        {"bkgCheckBroken.jpg", std::string("\xFF\xD8\xFF\xE0 truncated", 14)},
        {"CheckBroken.ogg", ""},
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = home.Path() + "/" + name;
        bbtest::WriteFile(path, bytes);
        resources->AddInfo(name,
                           new ResourceInfo(path, std::make_unique<WindowsMappedFileReader>()));
    }
    check.Run(
        {LevelFile("Damaged", "backgroundName = \"bkgCheckBroken.jpg\", bricks = { \"R\" }"),
         {"Song.lua", "Levels.BadSong = { music = \"CheckBroken.mid\", bricks = { \"R\" } }\n"}});
    const std::string damaged = Text(Lines("Damaged.lua"));
    EXPECT_NE(std::string::npos,
              damaged.find("Damaged.lua: Damaged: background \"bkgCheckBroken.jpg\" cannot be "
                           "loaded: Could not load image: / file="))
        << damaged;
    const std::string song = Text(Lines("Song.lua"));
    EXPECT_NE(std::string::npos,
              song.find("Song.lua: BadSong: music \"CheckBroken.mid\" cannot be loaded: "
                        "Couldn't load music"))
        << song;
    const std::string pack = Text(Lines("pack"));
    EXPECT_NE(std::string::npos,
              pack.find("pack: warning: the resource \"CheckBroken.ogg\" could not be loaded "
                        "(Couldn't load sample"))
        << pack;
    // Each damaged file once, where it was first found.
    EXPECT_EQ(std::string::npos, pack.find("CheckBroken.mid")) << pack;
    EXPECT_EQ(std::string::npos, pack.find("bkgCheckBroken.jpg")) << pack;

    // The shared manager forgets them, so that a later check in this process finds none.
    for (const auto& file : files)
        resources->AddInfo(file.first, new ResourceInfo("", nullptr));
    EXPECT_TRUE(resources->GetDamaged().empty());
}

// What the game leaves out or mends while it builds a level (an entry it cannot make, a
// value a setter cannot take, a wall or an artefact of the wrong kind, a ball start naming
// no paddle) is what the check reports, each with its level and key path; the game's log
// holds no assertion and no line about the level the reporter did not say.
TEST_F(LevelCheckTest, WhatTheBuildLeavesOutOrMendsIsReportedAsTheGameLogsIt)
{
    bbtest::LogCapture log;
    bbtest::DataVoice voice;
    const bool clean = check.Run(
        {LevelFile("Drops",
                   "bricks = { \"R\" },\n"
                   "levelActors = {\n"
                   "    { class = \"Ball\", position = { 100, 100 }, substance = \"Plutonium\" },\n"
                   "    { class = \"Ball\", position = { 140, 100 }, corona = \"Foo\" },\n"
                   "    { class = \"Brick\", resource = \"RedBrick\", position = { 200, 200 },\n"
                   "      showExplosivePower = 9 },\n"
                   "    { class = \"Brick\", resource = \"RedBrick\", position = { 300, 200 },\n"
                   "      brickSize = \"Huge\" } },\n"
                   "customWalls = { TopWall = 5 },\n"
                   "artefact = { name = 5 }"),
         LevelFile("Serve", "bricks = { \"R\" },\n"
                            "paddleStarts = { { position = { 288, 416 } } },\n"
                            "ballStarts = { { paddleName = \"Nope\" } }")});
    EXPECT_FALSE(clean);
    const std::string lines = Text(Lines("Drops.lua")) + Text(Lines("Serve.lua"));
    for (const char* said :
         {"Drops.lua: Drops: levelActors[1]: \"substance\": \"Plutonium\" is no substance",
          "Drops.lua: Drops: levelActors[2]: \"corona\": \"Foo\" is no corona",
          "Drops.lua: Drops: levelActors[3]: \"showExplosivePower\": 9 is outside 0 to 5; 5 is "
          "used",
          "Drops.lua: Drops: levelActors[4]: \"brickSize\": \"Huge\" is no brick size",
          "Drops.lua: Drops: customWalls.TopWall: the number 5 is not a table; the wall keeps "
          "its defaults",
          "Drops.lua: Drops: \"artefact\": \"name\" is the number 5, not a picture's name; the "
          "level plays without its artefact",
          "Serve.lua: Serve: ballStarts: \"paddleName\": no paddle \"Nope\" is on the field; the "
          "ball is served on "})
        EXPECT_NE(std::string::npos, lines.find(said)) << said << "\n" << lines;
    EXPECT_EQ(std::string::npos, lines.find("throws")) << lines;
    EXPECT_EQ(std::string::npos, lines.find("no ball is served")) << lines;
    EXPECT_EQ(std::string::npos, lines.find("did not come to the serve")) << lines;
    EXPECT_EQ("", voice.Faults(log.Text()));
}

// However long the text of a problem, its line is bounded.
TEST_F(LevelCheckTest, AProblemOfAnyLengthIsOneBoundedLine)
{
    check.Run(
        {{"Long.lua", "local s = ('x'):rep(1024 * 1024) s = s .. s s = s .. s s = s .. s "
                      "s = s .. s error(s)"},
         {"LongName.lua", "Levels[('n'):rep(100000)] = { bricks = { 'R' }, nosuchkey = 1 }"}});
    ASSERT_FALSE(check.GetProblems().empty());
    for (const Problem& problem : check.GetProblems())
        EXPECT_GE(LevelCheck::kLongestText + LevelCheck::kLongestName + 100,
                  problem.ToString().size())
            << problem.ToString().substr(0, 200);
    EXPECT_FALSE(Lines("Long.lua").empty());
}

namespace {

// Bricks of the heavy level below: its build takes most of the game's meter.
const int kHeavyBricks = 1000;

// The most units the game's own meter for building a level (`level "<name>"`, opened by the
// controller's loading state) was seen to use.
long long s_BuildUnits = 0;
std::string s_BuildMeter;
// The most units the check's own look at the level's table (`the check of level "<name>"`)
// was seen to use.
long long s_LookUnits = 0;
std::string s_LookMeter;

void NoteBuildUnits(const WorkMeter& meter, long long)
{
    if (meter.GetWhat() == s_BuildMeter)
        s_BuildUnits = std::max(s_BuildUnits, meter.GetUsed());
    if (meter.GetWhat() == s_LookMeter)
        s_LookUnits = std::max(s_LookUnits, meter.GetUsed());
}

} // namespace

// Whether the check refuses a level for its work is the game's verdict, not the sum of the
// check's own look and the game's build: a level whose build takes most of the game's meter
// (bricks carrying many power-up names, each made and counted by the build and looked at
// by the check), and whose build and look together take more than one meter, is built and
// served. A brick's cell is read as the game reads it: a cell
// that is no number of the field is said once, in the game's words, and the brick stands at
// cell 0 (no "column -2147483648", no placeholder for the same fault).
TEST_F(LevelCheckTest, TheCheckSaysOfWorkAndCellsWhatTheGameDoes)
{
    bbtest::LogCapture log;
    bbtest::DataVoice voice;
    const std::string heavy =
        "local kinds = { 'BlingCoin', 'BlingDiamond', 'BlingEmerald', 'BlingRuby', "
        "'GoldBrickPowerup', 'IncreaseShield', 'Breakthru', 'RubberBall', 'GlueBall', "
        "'HeavyBall', 'LightBall', 'BigBall', 'SmallBall', 'Faster', 'Slower', 'Split', "
        "'Lightning', 'ExpandPaddle', 'Laser', 'ExtraBall' }\n"
        "local bricks = {}\n"
        "for i = 1, " +
        std::to_string(kHeavyBricks) +
        " do local names = {} for k = 1, 50 do names[k] = kinds[1 + k % 20] end\n"
        "  bricks[i] = { resource = 'RedBrick', position = { 1 + (i - 1) % 19, 1 + "
        "math.floor((i - 1) / 19) }, powerups = names } end\n"
        "Levels.Heavy = { fullName = 'Heavy', music = 'Harbour.mid', compiledBricks = bricks }\n";
    s_BuildUnits = s_LookUnits = 0;
    s_BuildMeter = "level \"Heavy\"";
    s_LookMeter = "the check of level \"Heavy\"";
    WorkMeter::SetProbe(&NoteBuildUnits);
    std::set<std::string> built;
    check.Run({{"Heavy.lua", heavy},
               LevelFile("Cells", "compiledBricks = {\n"
                                  "    { resource = 'RedBrick', position = { 1e308, 2 } },\n"
                                  "    { resource = 'RedBrick', position = { 0/0, 3 } },\n"
                                  "    { resource = 'RedBrick', position = { 5, 4 } } }")},
              [&](const std::string& level, Canvas&) { built.insert(level); });
    WorkMeter::SetProbe(nullptr);
    const std::string heavyLines = Text(Lines("Heavy.lua"));
    // The game's build took most of its meter, and held.
    const long long meter = WorkMeter::kDefaultUnits;
    EXPECT_GT(s_BuildUnits, meter / 2) << "the level no longer tests much";
    EXPECT_LE(s_BuildUnits, meter);
    // Had one meter borne the build and the look, the level would have been refused.
    EXPECT_GT(s_BuildUnits + s_LookUnits, meter)
        << "the level no longer tests the two apart: the build took " << s_BuildUnits
        << ", the look " << s_LookUnits;
    EXPECT_EQ(std::string::npos, heavyLines.find("steps of work")) << heavyLines;
    EXPECT_EQ(1u, built.count("Heavy")) << heavyLines;

    const std::string cells = Text(Lines("Cells.lua"));
    EXPECT_TRUE(Reports("Cells.lua", "Cells.lua: Cells: compiledBricks[1]: \"position[1]\": "
                                     "1e+308 is no cell of the field; 0 is used"))
        << cells;
    EXPECT_NE(std::string::npos, cells.find("Cells.lua: Cells: compiledBricks[2]: "
                                            "\"position[1]\": "))
        << cells;
    EXPECT_NE(std::string::npos, cells.find("nan is no cell of the field; 0 is used")) << cells;
    for (const char* wrong : {"-2147483648", "placeholder"})
        EXPECT_EQ(std::string::npos, cells.find(wrong)) << wrong << "\n" << cells;
    EXPECT_EQ(1u, built.count("Cells")) << cells;
    EXPECT_EQ("", voice.Faults(log.Text()));
}

// A paddle start the ball could never reach is said by the game, which starts the paddle
// inside the field, so the level comes to its serve; a paddle size out of range is said
// through the same reporter.
TEST_F(LevelCheckTest, APaddleOutOfReachIsNamedAndStartsInTheField)
{
    bbtest::LogCapture log;
    bbtest::DataVoice voice;
    std::set<std::string> built;
    check.Run({LevelFile("Reach", "bricks = { 'R,G,B' },\n"
                                  "paddleStarts = { { position = { 99999, 99999 }, "
                                  "paddleSize = 9 } }")},
              [&](const std::string& level, Canvas&) { built.insert(level); });
    const std::string lines = Text(Lines("Reach.lua"));
    EXPECT_NE(std::string::npos,
              lines.find("Reach.lua: Reach: paddle start: \"position\": { 99999, 99999 } puts "
                         "the paddle outside the field; it starts at { "))
        << lines;
    EXPECT_NE(std::string::npos,
              lines.find("Reach.lua: Reach: paddle start: \"paddleSize\": 9 is outside 0 to 6; 6 "
                         "is used"))
        << lines;
    EXPECT_EQ(std::string::npos, lines.find("did not come to the serve")) << lines;
    EXPECT_EQ(1u, built.count("Reach")) << lines;
    EXPECT_EQ("", voice.Faults(log.Text()));
}

// One problem is one line and one thing is said once: an error text of many lines, a level
// named with a line end, a brick row longer than the compiler takes (no line of the
// compiler's own file is given as the file's), a background the pack lacks (said by the
// game's build, not again by the check), and every secret past the first of a level (said
// by the game as it lays the bricks).
TEST_F(LevelCheckTest, EveryProblemIsOneLineAndSaidOnce)
{
    bbtest::LogCapture log;
    check.Run({{"Err.lua", "error(string.rep('line\\n', 200000))\n"},
               {"Nl.lua", "Levels['a\\nb'] = { bricks = { 'R' }, nosuchkey = 1 }\n"},
               {"Rows.lua", "Levels.Rows = { fullName = 'Rows',\n"
                            "  bricks = { string.rep('R,', 300000) } }\n"},
               LevelFile("Bg", "bricks = { 'R' }, backgroundName = 'bkgNowhere.jpg'"),
               LevelFile("Secrets", "bricks = { 'R?,G?,B?,Y?' }")});
    for (const Problem& problem : check.GetProblems())
        EXPECT_EQ(std::string::npos, problem.ToString().find_first_of("\r\n"))
            << problem.ToString().substr(0, 200);
    EXPECT_EQ(1u, Lines("Err.lua").size()) << Text(Lines("Err.lua")).substr(0, 400);
    EXPECT_FALSE(Lines("Nl.lua").empty());
    for (const std::string& line : Lines("Rows.lua"))
        EXPECT_EQ(std::string::npos, line.find(": line ")) << line;
    EXPECT_FALSE(Lines("Rows.lua").empty());

    int background = 0;
    for (const std::string& line : Lines("Bg.lua"))
        background += line.find("bkgNowhere.jpg") != std::string::npos;
    EXPECT_EQ(1, background) << Text(Lines("Bg.lua"));

    const std::string said = log.Text();
    for (int column = 2; column <= 4; ++column) {
        const std::string where = "row 1, column " + std::to_string(column);
        EXPECT_TRUE(Reports("Secrets.lua", "Secrets.lua: Secrets: " + where +
                                               ": a second secret (\"?\"): a level hides one "
                                               "secret"))
            << Text(Lines("Secrets.lua"));
        EXPECT_NE(std::string::npos,
                  said.find("Level \"Secrets\", " + where + ": a second secret (\"?\")"))
            << where;
    }
}
