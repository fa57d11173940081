// The real program over a damaged player card in slot 3: it starts and shows the menu; a
// card it can mend is mended (and, being the current player's, shown on the menu), a card
// it cannot use is set aside under the next free numbered ".bad" name; the other cards and
// the configuration stay byte for byte. Also: a data folder the program cannot write into
// does not stop it.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kMenuArgs = {"--console", "--windowed", "--nosound", "--menuscreen"};

struct DamagedCard
{
    const char* name;
    std::string text;   // "%GUID%" stands for the guid of the card it replaces
    std::string shown;  // the mended card's name on the menu; "" when it is set aside
    std::string logged; // what the log must say about it
};

std::string Replace(std::string text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.replace(at, what.size(), with), at += with.size();
    return text;
}

std::string Noise()
{
    std::string noise;
    for (int i = 0; i < 700; ++i)
        noise += static_cast<char>((i * 7919 + 13) & 0xff);
    return noise;
}

const DamagedCard kCards[] = {
    {"NoGameModes",
     "Player { guid = %GUID%, Name = 'cy', Options = { ['game.mode'] = 'Adventure', "
     "['player.skill'] = 'casual' } }\n",
     "cy", "Game_Modes was missing"},
    {"NoOptions", "Player { guid = %GUID%, Name = 'cy', Game_Modes = {} }\n", "cy",
     "Options was missing"},
    {"RecordsNotATable", "Player { guid = %GUID%, Name = 'cy', Game_Records = 5 }\n", "",
     "Game_Records is 5, not a table"},
    {"NameOf5MB", "Player { guid = %GUID%, Name = '" + std::string(5 << 20, 'c') + "' }\n",
     "ccccccccc", "Name was 5242880 characters long; it was cut to 9"},
    {"InfiniteBalls",
     "Player { guid = %GUID%, Name = 'cy', Game_Modes = { Adventure = { ballsLeft = 1/0, "
     "LevelRecords = { Welcome = { score = 0/0 } } } } }\n",
     "cy", "ballsLeft was inf"},
    {"Truncated", "Player { guid = %GUID%, Name = 'cy', Game_Mo", "", "could not be read"},
    {"Binary", Noise(), "", "could not be read"},
    {"Hostile", "os.exit(3)\nPlayer { guid = %GUID%, Name = 'cy' }\n", "", "could not be read"},
};

// Names the row in the test's report.
void PrintTo(const DamagedCard& card, std::ostream* out)
{
    *out << card.name;
}

class DamagedCardsTest : public ::testing::TestWithParam<DamagedCard>
{
};

std::string RowName(const ::testing::TestParamInfo<DamagedCard>& info)
{
    return info.param.name;
}

// The value of `key = <number>,` in a saved file; "" when missing.
std::string NumberAfter(const std::string& text, const std::string& key)
{
    std::size_t at = text.find(key + " = ");
    if (at == std::string::npos)
        return "";
    at += key.size() + 3;
    return text.substr(at, text.find(',', at) - at);
}

} // namespace

TEST_P(DamagedCardsTest, TheGameShowsTheMenuAndKeepsEveryOtherFile)
{
    const DamagedCard& row = GetParam();
    const bool mended = !row.shown.empty();
    TempHome home;
    // Four signed-in players as the game saves them; the damaged card's slot is current
    // when it is mended (so the menu shows it), another one when it goes.
    {
        ProgramRun run(kMenuArgs);
        run.Send("for i = 1, 4 do Players[i].Name = 'p' .. i end SetCurrentPlayerFromIndex(" +
                 std::string(mended ? "3" : "1") + ", 1) AppQuit()\n");
        ASSERT_EQ(0, run.Wait()) << run.Errors();
    }
    std::vector<std::string> before;
    for (int slot = 1; slot <= 4; ++slot)
        before.push_back(ReadFile(CardPath(slot)));
    const std::string config = ReadFile(GameConfigPath());
    const std::string damaged = Replace(row.text, "%GUID%", NumberAfter(before[2], "    guid"));
    WriteFile(CardPath(3), damaged);
    WriteFile(CardPath(3) + ".bad", "an older damaged card\n");

    ProgramRun run(kMenuArgs);
    run.Send("io.stderr:write('screen=' .. Screens.current.name .. ' current=' .. "
             "tostring(Players.current[1].Name) .. '\\n') AppQuit()\n");
    const std::string current = row.shown.empty() ? "p1" : row.shown;
    EXPECT_TRUE(run.WaitForErrorLine("screen=MenuScreen current=" + current)) << run.Errors();
    ASSERT_EQ(0, run.Wait()) << run.Errors();

    const std::string log = ReadFile(GameLogPath());
    EXPECT_NE(std::string::npos, log.find(row.logged)) << log.substr(0, 4000);
    EXPECT_EQ("an older damaged card\n", ReadFile(CardPath(3) + ".bad"));
    if (mended) {
        EXPECT_FALSE(fs::exists(CardPath(3) + ".1.bad"));
        EXPECT_NE(std::string::npos,
                  log.find("Warning: the card \"" + CardPath(3) + "\" was mended: "))
            << log.substr(0, 4000);
    } else {
        EXPECT_EQ(damaged, ReadFile(CardPath(3) + ".1.bad"));
        EXPECT_NE(std::string::npos, log.find("was kept as \"" + CardPath(3) + ".1.bad\""))
            << log.substr(0, 4000);
    }
    for (int slot : {1, 2, 4})
        EXPECT_EQ(before[slot - 1], ReadFile(CardPath(slot))) << "card " << slot;
    EXPECT_EQ(config, ReadFile(GameConfigPath()));
}

INSTANTIATE_TEST_SUITE_P(Cards, DamagedCardsTest, ::testing::ValuesIn(kCards), RowName);

TEST(DataFolder, AProgramThatCannotWriteItsDataFolderStartsAndSaysSoOnce)
{
    TempHome home;
    // A file where the data folder should be: nothing can be made or written below it.
    const std::string blocked = std::string(getenv("XDG_DATA_HOME"));
    fs::remove_all(blocked);
    fs::create_directories(fs::path(blocked).parent_path());
    WriteFile(blocked, "not a folder\n");

    ProgramRun run(kMenuArgs);
    run.Send("io.stderr:write('screen=' .. Screens.current.name .. '\\n') AppQuit()\n");
    EXPECT_TRUE(run.WaitForErrorLine("screen=MenuScreen")) << run.Errors();
    EXPECT_EQ(0, run.Wait()) << run.Errors();
    const std::string errors = run.Errors();
    const std::string warning = "The game goes on without a log file";
    const std::size_t at = errors.find(warning);
    EXPECT_NE(std::string::npos, at) << errors;
    EXPECT_EQ(std::string::npos, errors.find(warning, at + 1)) << errors;
    EXPECT_NE(std::string::npos, errors.find("Not a directory")) << errors;
    EXPECT_EQ("not a folder\n", ReadFile(blocked));
}
