// The real program over a copy of its pack with fonts or sounds that promise huge or endless
// work (a font whose units per em make every glyph 128 times its size, an hour of silence
// in 180 KB of Ogg Vorbis, a WAV whose rate makes a small file last a day): the game
// starts, plays a level that uses the files, names each once, holds less than 400 MB and
// quits with exit 0 without a crash report; a SIGTERM while the pack loads is answered
// within a second. A pack of which no font can be used ends the start in one sentence.
#include "e2e/ProgramRun.h"
#include "support/CostlyFiles.h"
#include "support/HostilePictures.h"
#include "support/LevelCheckRun.h"
#include "support/ResidentMemory.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// The most resident memory the game may hold with any one such file in its pack.
const long long kMaxResidentBytes = 400ll << 20;
// How soon a stop signal is answered.
const int kAnswerMs = 1000;

struct CostlyPack
{
    const char* kind;
    // The files replaced (under the pack folder) and what each becomes, made from the
    // pack's own file of that name.
    std::vector<std::string> files;
    std::string (*make)(const std::string& original);
};

void PrintTo(const CostlyPack& pack, std::ostream* out)
{
    *out << pack.kind;
}

std::string PackFolder()
{
    return std::string(BB_BINARY_DIR) + "/Assets/";
}

// A copy of the program's folder with the files replaced; the folder's path.
std::string CostlyCopy(const TempHome& home, const CostlyPack& pack)
{
    const std::string folder = GameFolderCopy(home.Path());
    for (const std::string& file : pack.files)
        WriteFile(folder + "/Assets/" + file, pack.make(ReadFile(PackFolder() + file)));
    return folder;
}

std::unique_ptr<ProgramRun> StartIn(const std::string& folder)
{
    auto run = std::make_unique<ProgramRun>(
        std::vector<std::string>{"--keepcwd", "--console", "--nopkg", "--windowed"}, folder);
    return run;
}

// How the game names a file of the pack it refuses.
std::string Named(const std::string& file)
{
    return "Warning: the resource \"" + fs::path(file).filename().string() +
           "\" could not be loaded (";
}

const char* const kGreatWall = "GameOptions = { ballsLeft = 3, gameType = 'Adventure', "
                               "levelName = 'GreatWall' } SwitchToScreen('GameScreen')\n";

const std::vector<std::string> kLevelSounds = {"Sounds/Level/ballAppear.ogg",
                                               "Sounds/Level/paddleAppear.ogg"};

class CostlyFontsAndSounds : public ::testing::TestWithParam<CostlyPack>
{
};

} // namespace

TEST_P(CostlyFontsAndSounds, TheGamePlaysNamesEachFileOnceAndAnswersAStop)
{
    const CostlyPack& pack = GetParam();
    TempHome home;
    const std::string folder = CostlyCopy(home, pack);
    {
        std::unique_ptr<ProgramRun> run = StartIn(folder);
        // The splash loads the pack first.
        ASSERT_TRUE(run->WaitForLogLine("Loading done", 60000))
            << ReadFile(GameLogPath()) << CrashReports();
        ASSERT_TRUE(ReachScreen(*run, kGreatWall, "GameScreen"))
            << run->Errors().substr(0, 4000) << ReadFile(GameLogPath()).substr(0, 20000)
            << CrashReports();
        // The level plays until it has used each file: the game names it as it meets it.
        for (const std::string& file : pack.files)
            EXPECT_TRUE(run->WaitForLogLine(Named(file), 60000)) << file;
        const long long peak = PeakResidentKb(run->GetPid()) * 1024;
        std::printf("%s: peak resident memory %.0f MB\n", pack.kind, peak / 1048576.0);
        EXPECT_LT(peak, kMaxResidentBytes);
        run->Send("AppQuit()\n");
        EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
        EXPECT_EQ("", CrashReports());
        const std::string log = ReadFile(GameLogPath());
        for (const std::string& file : pack.files) {
            const std::string name = fs::path(file).filename().string();
            const std::string named =
                "Warning: the resource \"" + name + "\" could not be loaded (";
            EXPECT_NE(std::string::npos, log.find(named)) << log.substr(0, 8000);
            EXPECT_EQ(log.find(named), log.rfind(named)) << "named once";
        }
    }
    // A stop while the splash loads the pack, where every sound is decoded and every font
    // opened: the loading answers it. The log of the first run goes, so that only the
    // second run's lines are waited for.
    fs::remove(GameLogPath());
    std::unique_ptr<ProgramRun> run = StartIn(folder);
    ASSERT_TRUE(run->WaitForLogLine("Application::UseWindowedScreen FINISHED.", 60000))
        << ReadFile(GameLogPath());
    const auto signalled = std::chrono::steady_clock::now();
    run->Signal(SIGTERM);
    EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
    const long long tookMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - signalled)
                                 .count();
    std::printf("%s: SIGTERM answered in %lld ms\n", pack.kind, tookMs);
    EXPECT_LE(tookMs, kAnswerMs);
    EXPECT_EQ("", CrashReports());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, CostlyFontsAndSounds,
    ::testing::Values(
        CostlyPack{
            "FontOutOfProportion",
            {"Fonts/DejaVuSans-Bold.ttf"},
            [](const std::string& font) {
                return PatchFont(font, {"unitsPerEm=16", FontField::Field, "head", 18, 2, 16});
            }},
        CostlyPack{"HourOfSilenceOgg", kLevelSounds,
                   [](const std::string&) {
                       return SilentOgg({48000, 2, 3600});
                   }},
        CostlyPack{"DayLongWav", kLevelSounds,
                   [](const std::string&) {
                       return LyingWav({1, 2, 16, 400000});
                   }}),
    [](const ::testing::TestParamInfo<CostlyPack>& info) { return std::string(info.param.kind); });

// Every font of the pack made unusable at a size the game opens (empty; out of proportion
// at every size, or from 28 points up): the start ends in one sentence naming a font, exit 1
// and no crash report; the level check says that sentence as a problem, run to its end.
using UnusableFonts = CostlyFontsAndSounds;

TEST_P(UnusableFonts, TheGameAndTheCheckSayItInOneSentence)
{
    TempHome home;
    std::vector<std::string> fonts;
    for (const auto& entry : fs::directory_iterator(PackFolder() + "Fonts"))
        if (entry.path().extension() == ".ttf")
            fonts.push_back("Fonts/" + entry.path().filename().string());
    ASSERT_FALSE(fonts.empty());
    const std::string folder = CostlyCopy(home, {"EveryFont", fonts, GetParam().make});
    std::unique_ptr<ProgramRun> run = StartIn(folder);
    EXPECT_EQ(1, run->Wait(60000)) << run->Errors();
    const std::string errors = run->Errors();
    const std::string sentence = "No font file of the pack can be used (";
    EXPECT_NE(std::string::npos, errors.find(sentence)) << errors;
    EXPECT_NE(std::string::npos, errors.find("so the game cannot show its texts.\n")) << errors;
    EXPECT_EQ(std::string::npos, errors.find("Assertion")) << errors;
    EXPECT_EQ("", CrashReports());
    const LevelCheckRun check = RunLevelCheck(home.Path(), folder + "/Assets");
    EXPECT_EQ(1, check.status) << check.report << check.errors;
    EXPECT_NE(std::string::npos, check.report.find(sentence)) << check.report;
    EXPECT_NE(std::string::npos, check.report.find(" problem(s), ")) << check.errors;
}

template <std::uint16_t kUnits> std::string UnitsPerEm(const std::string& font)
{
    return PatchFont(font, {"unitsPerEm", FontField::Field, "head", 18, 2, kUnits});
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, UnusableFonts,
    ::testing::Values(CostlyPack{"Empty", {}, [](const std::string&) { return std::string(); }},
                      CostlyPack{"UnitsPerEm16", {}, UnitsPerEm<16>},
                      CostlyPack{"UnitsPerEm512", {}, UnitsPerEm<512>},
                      CostlyPack{"UnitsPerEm560", {}, UnitsPerEm<560>}),
    [](const ::testing::TestParamInfo<CostlyPack>& info) { return std::string(info.param.kind); });

// The pack as a whole at its bounds, each file within its own: every picture at the most
// pixels a picture may have, every sound at the longest a sound decoded whole may last, or a
// level of bricks at the largest scale. Under a budget of 128 MB for what the game holds
// decoded, the start and a level stay within the budget and a slack, each refusal is named
// once as the pack's size, nothing reaches the crash reporter, a SIGTERM in the level is
// answered within a second; the level check names the pack's total and the level's.
namespace {

constexpr int kBudgetMb = 128;
// What the game holds besides its budget under the sanitizers (its code, heap, screens).
constexpr long long kSlackMb = 320;

struct WholePack
{
    const char* kind;
    const char* levelFile; // the level played and checked, in the pack's Levels
    void (*make)(const std::string& assets);
};

void ReplaceEach(const std::string& assets, const std::vector<std::string>& endings,
                 const std::string& bytes)
{
    for (const auto& entry : fs::recursive_directory_iterator(assets))
        for (const std::string& ending : endings)
            if (entry.is_regular_file() && entry.path().extension() == ending)
                WriteFile(entry.path().string(), bytes);
}

// Waits for a log line while the game's resident memory stays under the bound; false at the
// deadline, when the game ends, or (the game then killed) when it passes the bound.
bool WaitHolding(ProgramRun& run, const std::string& line, long long mostKb, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 200) {
        if (run.WaitForLogLine(line, 200))
            return true;
        if (!run.IsRunning() || PeakResidentKb(run.GetPid()) > mostKb) {
            run.Signal(SIGKILL);
            return false;
        }
    }
    return false;
}

class CostlyWholePack : public ::testing::TestWithParam<WholePack>
{
};

} // namespace

TEST_P(CostlyWholePack, TheGameHoldsItsBudgetAndNamesEachRefusalOnce)
{
    const WholePack& pack = GetParam();
    TempHome home;
    const std::string folder = GameFolderCopy(home.Path());
    pack.make(folder + "/Assets");
    WriteFile(GameConfigPath(),
              "LoadConfig {\n    memory_budget_mb = " + std::to_string(kBudgetMb) + ",\n}\n");
    // The sanitizer's quarantine keeps freed memory resident; held small, the resident size
    // is the game's. Its leak check at the exit would scan that memory within the second a
    // stop is given.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string saved = sanitizer ? sanitizer : "";
    setenv("ASAN_OPTIONS", (saved + ":quarantine_size_mb=8:detect_leaks=0").c_str(), 1);
    std::unique_ptr<ProgramRun> run = StartIn(folder);
    setenv("ASAN_OPTIONS", saved.c_str(), 1);
    const long long mostKb = (kBudgetMb + kSlackMb) * 1024;
    ASSERT_TRUE(WaitHolding(*run, "Loading done", mostKb, 120000)) << CrashReports();
    const std::string level = fs::path(pack.levelFile).stem().string();
    run->Send("GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = '" + level +
              "' } SwitchToScreen('GameScreen')\n");
    const std::string state = AskStateUntil(*run, {"GameScreen Playing", "GameScreen Wait"});
    ASSERT_EQ("GameScreen", state.substr(0, 10)) << state << CrashReports();
    const long long peakKb = PeakResidentKb(run->GetPid());
    const auto asked = std::chrono::steady_clock::now();
    run->Signal(SIGTERM);
    EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
    const long long answeredMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - asked)
                                     .count();
    EXPECT_LE(answeredMs, kAnswerMs);
    EXPECT_LT(peakKb, mostKb);
    EXPECT_EQ("", CrashReports());

    // Each refusal is a line of its own, said once, as the pack's size.
    std::set<std::string> refusals;
    std::istringstream log(ReadFile(GameLogPath()));
    for (std::string line; std::getline(log, line);) {
        if (line.find("needs more than the budget of 128 MB") != std::string::npos) {
            EXPECT_TRUE(refusals.insert(line).second) << line;
        }
    }
    EXPECT_EQ(std::string::npos, ReadFile(GameLogPath()).find("Out of memory"));

    KeepOnlyLevel(folder + "/Assets", pack.levelFile);
    const LevelCheckRun check =
        RunLevelCheck(home.Path(), folder + "/Assets", "--budget " + std::to_string(kBudgetMb));
    EXPECT_NE(-1, check.status) << check.errors;
    for (const std::string& named : {"budget: level \"" + level + "\" holds at most",
                                     std::string("budget: the pack's pictures and sounds take")})
        EXPECT_NE(std::string::npos, check.report.find(named)) << check.report.substr(0, 4000);
    std::printf("%s: peak resident %lld MB, %zu refusal(s) named, SIGTERM answered in %lld ms\n",
                pack.kind, peakKb / 1024, refusals.size(), answeredMs);
    std::istringstream lines(check.report);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("budget: ", 0) == 0)
            std::printf("%s: %s\n", pack.kind, line.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    AtTheBounds, CostlyWholePack,
    ::testing::Values(
        WholePack{"EveryPictureAtTheMostPixels", "GreatWall.lua",
                  [](const std::string& assets) {
                      ReplaceEach(assets, {".png", ".jpg", ".bmp"}, EncodePng(2048, 2048));
                  }},
        WholePack{"EverySoundAtTheLongest", "GreatWall.lua",
                  [](const std::string& assets) {
                      ReplaceEach(assets, {".ogg", ".wav"}, SilentOgg({48000, 2, 179}));
                  }},
        WholePack{"BricksAtTheLargestScale", "Scaled.lua",
                  [](const std::string& assets) {
                      std::string bricks;
                      for (int i = 0; i < 20; ++i)
                          bricks += "{ resource = 'RedBrick', polyScale = 64, position = { " +
                                    std::to_string(1 + i % 5 * 4) + ", " +
                                    std::to_string(1 + i / 5 * 3) + " } }, ";
                      WriteFile(assets + "/Levels/Scaled.lua",
                                "Levels.Scaled = { compiledBricks = { " + bricks + "} }\n");
                  }}),
    [](const ::testing::TestParamInfo<WholePack>& info) { return std::string(info.param.kind); });
