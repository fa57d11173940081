#include "support/LevelCheckRun.h"

#include "support/TempHome.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace bbtest {

LevelCheckRun RunLevelCheck(const std::string& home, const std::string& pack,
                            const std::string& options)
{
    const std::string out = home + "/check.out";
    const std::string err = home + "/check.err";
    const std::string command =
        "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s KILL 300 '" +
        std::string(BB_BINARY_DIR) + "/levelcheck' --log '" + home + "/check.log' " + options +
        " '" + pack + "' >'" + out + "' 2>'" + err + "'";
    LevelCheckRun run;
    const int result = std::system(command.c_str());
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.report = ReadFile(out);
    run.errors = ReadFile(err);
    return run;
}

void KeepOnlyLevel(const std::string& pack, const std::string& file)
{
    for (const auto& entry : fs::directory_iterator(pack + "/Levels"))
        if (entry.path().filename() != file)
            fs::remove(entry.path());
}

} // namespace bbtest
