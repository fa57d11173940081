// Every file of the user's that the game reads (a player card, the configuration, the
// debugger's connection list, the start-up script), there but unreadable in each way the
// machine allows (no permission and an I/O error through the reader's fault hook, a folder,
// a link loop, a FIFO): the game starts, a level is played and tallied, the game quits, and
// the file is exactly what it was. The log names the file and the reason, and a card's
// screen says the card is not saved.
#include "UserFileSweep.h"
#include "support/UnreadableFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

class UnreadableFileSweepTest : public UserFileSweep
{
};

} // namespace

TEST_F(UnreadableFileSweepTest, EveryUserFileThatCannotBeReadIsKeptThroughAGameAndItsSaves)
{
    int runs = 0, kept = 0;
    for (const UserFile file : kUserFiles) {
        for (const UnreadableKind kind : kUnreadableKinds) {
            SCOPED_TRACE(PathOf(file) + " as " + NameOf(kind));
            fs::remove_all(home.Path() + "/cards");
            for (const UserFile other : kUserFiles)
                fs::remove_all(PathOf(other));
            UnreadableFile unreadable(PathOf(file), kind, ContentOf(file));
            LogCapture log;
            ++runs;
            ASSERT_NO_FATAL_FAILURE(Start());
            EXPECT_EQ(file == CARD ? GameDataIO::kUnsavedNotice : "", CardNotice());
            ASSERT_NO_FATAL_FAILURE(PlayALevel());
            Quit();
            const std::string changed = unreadable.Changed();
            EXPECT_EQ("", changed);
            const std::string said = SaidOf(file, ReasonOf(kind));
            const std::size_t at = log.Text().find(said);
            EXPECT_NE(std::string::npos, at) << said << "\n" << log.Text().substr(0, 3000);
            EXPECT_EQ(std::string::npos, log.Text().find(said, at + 1)) << "said once";
            // The files that could be read were saved as ever.
            if (file != CARD) {
                EXPECT_TRUE(fs::is_regular_file(PathOf(CARD)));
            }
            if (file != CONFIGURATION) {
                EXPECT_TRUE(fs::is_regular_file(PathOf(CONFIGURATION)));
            }
            kept += changed.empty() && at != std::string::npos;
        }
    }
    std::printf("unreadable-file sweep: %d runs (4 files x 5 ways to fail), %d kept and named\n",
                runs, kept);
}
