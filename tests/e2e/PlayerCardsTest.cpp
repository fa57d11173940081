// The real program and the player cards: a fresh start writes the four cards at quit and
// remembers who played, a hostile card is set aside without stopping the start, and a
// program killed while it saves never leaves a card that is missing, empty or unreadable.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kCardArgs = {"--console", "--windowed", "--nosound"};

// The value of `key = <number>,` in a saved file; "" when missing.
std::string CardNumberAfter(const std::string& text, const std::string& key)
{
    std::size_t at = text.find(key + " = ");
    if (at == std::string::npos)
        return "";
    at += key.size() + 3;
    return text.substr(at, text.find(',', at) - at);
}

// The pid of this process's child running the program.
pid_t ChildProgram()
{
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state;
        long parent = 0;
        if (stat >> pid >> name >> state >> parent && parent == getpid() && name == "(bumperlux)")
            return std::atoi(pid.c_str());
    }
    return -1;
}

} // namespace

TEST(PlayerCards, AFreshStartWritesTheCardMadeAndTheNextStartKeepsTheCurrentPlayer)
{
    TempHome home;
    {
        ProgramRun run(kCardArgs);
        run.Send("Players.current[1].Name = 'ann'\n"
                 "Players.current[1].Options['player.skill'] = 'casual'\n"
                 "AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    std::string card = ReadFile(CardPath(1));
    EXPECT_EQ(0u, card.find("Player {\n"));
    EXPECT_NE(std::string::npos, card.find("    Name = \"ann\",\n"));
    EXPECT_NE(std::string::npos, card.find("    Card_Version = 4,\n"));
    EXPECT_NE(std::string::npos, card.find("        [\"player.skill\"] = \"casual\",\n"));
    // No player was made in the other slots, and the start's own choice of the current
    // player is no setting of the player's.
    for (int i = 2; i <= 4; ++i)
        EXPECT_FALSE(fs::exists(CardPath(i))) << i;
    EXPECT_FALSE(fs::exists(GameConfigPath()));
    std::string guid = CardNumberAfter(card, "    guid");
    ASSERT_FALSE(guid.empty());

    ProgramRun again(kCardArgs);
    again.Send("io.stderr:write('current=' .. Players.current[1].Name .. ' ' .. "
               "Players.current[1].guid .. '\\n')\nAppQuit()\n");
    EXPECT_TRUE(again.WaitForErrorLine("current=ann " + guid)) << again.Errors();
    EXPECT_EQ(0, again.Wait());
}

TEST(PlayerCards, AHostileCardIsSetAsideAndStartUpGoesOn)
{
    TempHome home;
    fs::create_directories(fs::path(CardPath(1)).parent_path());
    std::string marker = home.Path() + "/executed";
    const std::string hostile = "os.execute('touch " + marker + "')\nPlayer { guid = 5 }\n";
    WriteFile(CardPath(1), hostile);
    WriteFile(CardPath(2), "Player { guid = 6, Name = 'bo' }\nPlayer { guid = 7 }\n");
    WriteFile(CardPath(3), "error('broken')\n");
    WriteFile(CardPath(4), "Player { guid = 8, Name = 'cy' }\n");

    ProgramRun run(kCardArgs);
    run.Send("io.stderr:write('slot4=' .. Players[4].Name .. '\\n')\nAppQuit()\n");
    EXPECT_TRUE(run.WaitForErrorLine("slot4=cy")) << run.Errors();
    EXPECT_EQ(0, run.Wait());
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(hostile, ReadFile(CardPath(1) + ".bad"));
    EXPECT_TRUE(fs::exists(CardPath(2) + ".bad"));
    EXPECT_TRUE(fs::exists(CardPath(3) + ".bad"));
    std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find("Warning: the file \"" + CardPath(1) +
                                          "\" could not be read and was kept as"))
        << log;
    EXPECT_EQ("Player { guid = 8, Name = 'cy' }\n", ReadFile(CardPath(4)));
}

// Each trial starts the program, lets it save the cards over and over with changing
// contents, and kills it after a varying number of saves. Every card must then be a whole
// card that the next start reads. BB_CARD_KILL_TRIALS sets the count (default 12).
TEST(PlayerCards, KillingTheProgramWhileItSavesNeverLeavesABrokenCard)
{
    TempHome home;
    int trials = getenv("BB_CARD_KILL_TRIALS") ? std::atoi(getenv("BB_CARD_KILL_TRIALS")) : 12;
    for (int trial = 0; trial < trials; ++trial) {
        ProgramRun run(kCardArgs);
        int saves = 1 + (trial * 7) % 5;
        run.Send("for i = 1, 100000 do "
                 "for s = 1, 4 do Players[s].Name = string.rep('n', (i * s) % 3000) .. i end "
                 "SaveData() io.stderr:write('saved ' .. i .. '\\n') end\n");
        ASSERT_TRUE(run.WaitForErrorLine("saved " + std::to_string(saves))) << run.Errors();
        pid_t pid = ChildProgram();
        ASSERT_GT(pid, 0);
        kill(pid, SIGKILL);
        run.Wait();

        for (int slot = 1; slot <= 4; ++slot) {
            std::string card = ReadFile(CardPath(slot));
            ASSERT_EQ(0u, card.find("Player {\n")) << "trial " << trial << " slot " << slot;
            ASSERT_EQ(card.size() - 2, card.rfind("}\n")) << "trial " << trial;
        }
    }
    // The next start reads every card: none is set aside.
    ProgramRun check(kCardArgs);
    check.Send("io.stderr:write('named=' .. tostring(Players[1].Name ~= nil and "
               "Players[4].Name ~= nil) .. '\\n')\nAppQuit()\n");
    EXPECT_TRUE(check.WaitForErrorLine("named=true")) << check.Errors();
    EXPECT_EQ(0, check.Wait());
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_FALSE(fs::exists(CardPath(slot) + ".bad"));
}
