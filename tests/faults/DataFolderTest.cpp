// A data folder the game cannot write into (read-only, full): start-up goes on with the
// log on standard error and one warning that it keeps no log file.
#include "app/AppTestSupport.h"
#include "core/AtomicFile.h"
#include "core/OutputCapture.h"
#include "core/Utility.h"

#include <cerrno>

using namespace apptest;

TEST_F(AppTest, AReadOnlyDataFolderStartsWithTheLogOnStandardErrorAndOneWarning)
{
    app->InitPaths();
    const std::string logPath =
        home.DataHome() + "/bumperlux Documents/Technical Support Files/MakoEngine.log";
    std::string errors;
    {
        bbtest::OutputCapture err(2);
        SetInjectedWriteFault(EROFS);
        EXPECT_NO_THROW(app->InitLog());
        SetInjectedWriteFault(0);
        Log("after the start\n");
        errors = err.Text();
    }
    SetLogFilePath("");
    // The lines logged before the log would have started are there too.
    EXPECT_NE(std::string::npos, errors.find("Initializing Paths...\n")) << errors;
    const std::string warning = "Warning: could not open the log file \"" + logPath +
                                "\": Read-only file system. The game goes on without a log file "
                                "(the log goes to standard error); player cards are still saved "
                                "in \"" +
                                app->GetDocumentsFolder() +
                                "\" wherever it can be written, and a save that fails says so.\n";
    const std::size_t at = errors.find(warning);
    EXPECT_NE(std::string::npos, at) << errors;
    EXPECT_EQ(std::string::npos, errors.find(warning, at + 1)) << "said once";
    EXPECT_NE(std::string::npos, errors.find("after the start\n"));
    EXPECT_FALSE(FileExists(logPath, 0));
}
