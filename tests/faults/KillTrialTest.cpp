// Saves cut short by kill -9: a child process saves the player cards and the configuration
// in a loop through the game's own save functions and is killed at a random moment; after
// every kill each card and the configuration must exist, hold something and load through
// the game's own loaders. BB_KILL_TRIALS sets the number of kills (40 by default; `make
// faults` runs 200), BB_KILL_SEED the seed of the moments; the tally is printed.
#include "core/AtomicFile.h"
#include "faults/SaveFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace bbtest;
namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

class KillTrialTest : public SaveFixture
{
protected:
    // Saves forever with contents that change every round and grow now and then, so that
    // kills land in every part of a save; writes a byte to `saved` once the first round is
    // whole. Runs in the child; never returns.
    [[noreturn]] void SaveForever(int saved)
    {
        int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO); // the log echoes every save
        for (int round = 1;; ++round) {
            const std::string n = std::to_string(round);
            Run("for i = 1, 4 do Players[i].Name = 'player ' .. i .. ' round " + n +
                "' .. string.rep('x', " + n +
                " % 97) end "
                "Config['trial.round'] = " +
                n + " Config['trial.padding'] = string.rep('p', " + n + " % 3001)");
            m_IO->SaveAllPlayerData();
            m_Config->Write(m_ConfigPath);
            if (round == 1 && ::write(saved, "s", 1) != 1)
                ::_exit(3);
        }
    }
};

} // namespace

TEST_F(KillTrialTest, EverySaveKilledAtRandomLeavesWholeFilesThatLoad)
{
    const unsigned long trials = EnvNumber("BB_KILL_TRIALS", 40);
    const unsigned long seed = EnvNumber("BB_KILL_SEED", 20261207);
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    // Up to 150 ms after the first whole round of saves (however long a busy machine takes to
    // start the child): a round (four cards and the configuration, each synced) takes tens of
    // milliseconds, so the kills fall in every part of the next few rounds.
    std::uniform_int_distribution<int> delayMicroseconds(0, 150000);

    m_IO->LoadAllPlayerData(true);
    ASSERT_EQ(0, m_IO->SaveAllPlayerData());
    m_Config->Write(m_ConfigPath);

    unsigned long broken = 0;
    unsigned long leftovers = 0;
    unsigned long afterSaves = 0; // kills that came after at least one whole save
    unsigned long midSave = 0;    // kills that cut a save short (its temporary file was left)
    for (unsigned long trial = 0; trial < trials; ++trial) {
        Run("Config['trial.round'] = 0");
        m_Config->Write(m_ConfigPath);
        std::fflush(stdout);
        int saved[2];
        ASSERT_EQ(0, ::pipe(saved));
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveForever(saved[1]);
        ::close(saved[1]);
        char byte = 0;
        EXPECT_EQ(1, ::read(saved[0], &byte, 1)) << "trial " << trial << ": no whole round";
        ::close(saved[0]);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "trial " << trial;

        const std::string problems = CheckFiles();
        if (!problems.empty()) {
            ++broken;
            ADD_FAILURE() << "trial " << trial << ":\n" << problems;
        }
        if (m_Config->GetInteger("trial.round") > 0)
            ++afterSaves;
        // What the game does at start-up: the temporary files of saves cut short go.
        int removed = RemoveStaleTemporaryFiles(m_ConfigPath);
        for (int slot = 1; slot <= 4; ++slot)
            removed += RemoveStaleTemporaryFiles(m_IO->GetCardPath(slot));
        leftovers += static_cast<unsigned long>(removed);
        midSave += removed > 0 ? 1 : 0;
    }
    std::printf("Kill trials: %lu (seed %lu); files missing, empty or unreadable after a kill: "
                "%lu; kills after at least one whole save: %lu; kills in the middle of a save: "
                "%lu (temporary files removed: %lu)\n",
                trials, seed, broken, afterSaves, midSave, leftovers);
    EXPECT_EQ(0u, broken);
    // The moments fall inside and between the saves, not only before the first one.
    EXPECT_GT(afterSaves, 0u);
    EXPECT_GT(midSave, 0u);
}
