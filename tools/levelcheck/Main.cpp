// levelcheck: checks every level file of an asset pack and, on request, draws the contact
// sheet of all levels. See Usage below; tools/check-levels builds and runs it.
#include "CheckEngine.h"
#include "ContactSheet.h"
#include "LevelCheck.h"

#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Log.h"
#include "core/StopSignal.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "resources/MemoryBudget.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

namespace {

// Ends the process once the engine is open: its objects (the audio device and its thread
// among them) live to the end, so the process leaves without tearing them down.
[[noreturn]] void LeaveWith(int status)
{
    std::fflush(nullptr); // every stream: the report, the log, standard error
    std::_Exit(status);
}

const char* const kUsage =
    "Usage: levelcheck [--sheet OUT.png] [--log FILE] [--budget MB] PACK\n"
    "\n"
    "Checks every level file in the folder Levels of the asset pack PACK (the generated\n"
    "folder build/Assets or the package build/bumperlux.fun): runs it, compiles its bricks,\n"
    "builds each level headless up to the waiting serve and checks its bricks, actors,\n"
    "music, background, artefact, secret and its place in LevelOrder, then loads every\n"
    "picture, sound and song of the pack. Each problem is one line:\n"
    "  <file>: <level>: row <r>, column <c>: <problem>\n"
    "What the game says of the pack's own files as it loads them (metadata, pictures,\n"
    "fonts, sounds, songs) is a line too: pack: warning: <what the game logs>\n"
    "Warnings say \"warning:\" and do not fail: the game plays on.\n"
    "\n"
    "  --sheet OUT.png  also write the contact sheet: every level's first frame after the\n"
    "                   drop, five across, in LevelOrder order\n"
    "  --log FILE       write the engine's log there (default: discarded)\n"
    "  --budget MB      the budget for what the game holds decoded (the configuration's\n"
    "                   memory_budget_mb; default %lld): each level's most and the pack's\n"
    "                   whole are reported against it, as lines \"budget: ...\"\n"
    "\n"
    "A level may hold at most %d bricks and objects (compiledBricks, levelActors and\n"
    "extraActors together); the game refuses a level that holds more.\n"
    "\n"
    "Exit status: 0 no problem (warnings allowed), 1 problems found, 2 bad usage or an\n"
    "unreadable pack, 3 stopped by SIGTERM or SIGINT.\n";

void PrintUsage(FILE* out)
{
    std::fprintf(out, kUsage, MemoryBudget::kDefaultMegabytes, Level::MAX_FIELD_OBJECTS);
}

} // namespace

int main(int argc, char** argv)
{
    std::string pack, sheetPath, logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if ((arg == "--sheet" || arg == "--log") && i + 1 < argc) {
            (arg == "--sheet" ? sheetPath : logPath) = argv[++i];
        } else if (arg == "--budget" && i + 1 < argc) {
            char* end = nullptr;
            const long long megabytes = std::strtoll(argv[++i], &end, 10);
            if (*end != '\0' || megabytes < 1 || megabytes > 1048576) {
                std::fprintf(stderr, "levelcheck: --budget takes megabytes from 1 to 1048576\n");
                return 2;
            }
            MemoryBudget::SetLimit(megabytes * MemoryBudget::kMegabyte);
        } else if (!arg.empty() && arg[0] != '-' && pack.empty()) {
            pack = arg;
        } else {
            std::fprintf(stderr, "levelcheck: unexpected argument \"%s\"\n\n", arg.c_str());
            PrintUsage(stderr);
            return 2;
        }
    }
    if (pack.empty()) {
        PrintUsage(stderr);
        return 2;
    }
    if (!std::filesystem::exists(pack)) {
        std::fprintf(stderr, "levelcheck: no asset pack at \"%s\"\n", pack.c_str());
        return 2;
    }
    const std::string packPath = std::filesystem::absolute(pack).string();
    if (!sheetPath.empty())
        sheetPath = std::filesystem::absolute(sheetPath).string();

    // The report keeps the real standard output; what else would print there (a script's
    // print) is discarded, and the engine's log goes to its file when one is named.
    std::fflush(stdout);
    FILE* report = fdopen(dup(STDOUT_FILENO), "w");
    const int quiet = FileWriter::AppendOutput("/dev/null", false, false);
    if (!report || quiet < 0) {
        std::fprintf(stderr, "levelcheck: cannot set standard output aside\n");
        return 2;
    }
    dup2(quiet, STDOUT_FILENO);
    close(quiet);
    if (!logPath.empty()) {
        const int failure = TryStartLogFile(std::filesystem::absolute(logPath).string());
        if (failure != 0) {
            std::fprintf(stderr, "levelcheck: cannot write the log \"%s\": %s\n", logPath.c_str(),
                         std::strerror(failure));
            return 2;
        }
    }

    // The check listens from the start: what the game says as it opens the pack (its
    // metadata, pictures) is part of the report.
    levelcheck::LevelCheck check;
    std::vector<levelcheck::LevelSource> sources;
    try {
        levelcheck::OpenEngine(packPath);
        sources = levelcheck::ReadPackLevels();
    } catch (const Exception& e) {
        std::fprintf(stderr, "levelcheck: cannot open the pack \"%s\": %s\n", pack.c_str(),
                     e.GetMessage().c_str());
        LeaveWith(2);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "levelcheck: cannot open the pack \"%s\": %s\n", pack.c_str(),
                     e.what());
        LeaveWith(2);
    }
    if (sources.empty()) {
        std::fprintf(stderr, "levelcheck: the pack \"%s\" has no level files in Levels/\n",
                     pack.c_str());
        LeaveWith(2);
    }

    // SIGTERM and SIGINT end the check after the level at hand, with what was found so far.
    StopSignal::Install();
    levelcheck::ContactSheet sheet;
    levelcheck::LevelCheck::FrameSink frames;
    if (!sheetPath.empty())
        frames = [&](const std::string& level, Canvas& frame) { sheet.AddFrame(level, frame); };
    // The check reports what a level does wrong; anything it cannot go on from ends it here
    // with the reason, not with an uncaught exception.
    try {
        check.Run(sources, frames);
    } catch (const Exception& e) {
        std::fprintf(stderr, "levelcheck: the check could not go on: %s\n", e.GetMessage().c_str());
        LeaveWith(2);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "levelcheck: the check could not go on: %s\n", e.what());
        LeaveWith(2);
    }
    for (const levelcheck::Problem& problem : check.GetProblems())
        std::fprintf(report, "%s\n", problem.ToString().c_str());
    for (const std::string& line : check.GetBudgetLines())
        std::fprintf(report, "budget: %s\n", line.c_str());
    const int errors = check.CountErrors();
    const int warnings = int(check.GetProblems().size()) - errors;
    std::fprintf(report, "%zu files, %zu levels: %d problem(s), %d warning(s)\n", sources.size(),
                 check.GetLevelFiles().size(), errors, warnings);

    if (StopSignal::IsRequested()) {
        std::fflush(report);
        std::_Exit(3);
    }
    if (!sheetPath.empty()) {
        std::map<std::string, std::string> titles;
        LuaPlus::LuaObject levels = GetGlobalLuaState()->GetGlobals()["Levels"];
        for (const auto& entry : check.GetLevelFiles()) {
            LuaPlus::LuaObject title = levels[entry.first.c_str()]["fullName"];
            if (title.IsString())
                titles[entry.first] = title.GetString();
        }
        std::string error;
        if (!sheet.Write(sheetPath, check.GetLevelsInOrder(), check.GetLevelFiles(), titles,
                         error)) {
            std::fprintf(stderr, "levelcheck: %s\n", error.c_str());
            LeaveWith(2);
        }
        std::fprintf(report, "contact sheet: %s\n", sheetPath.c_str());
    }
    std::fflush(report);
    // The engine's objects live to the end of the process: leave without tearing them down.
    std::_Exit(errors == 0 ? 0 : 1);
}
