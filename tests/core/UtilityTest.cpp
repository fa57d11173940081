#include "core/Utility.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/OutputCapture.h"
#include "core/Random.h"
#include "lua/LuaFunctionList.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <lua.hpp>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Random, FifteenBitGeneratorIsRepeatableUnderASeed)
{
    MakoSrand(1);
    const int expected[5] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(value, MakoRand());
    MakoSrand(1234);
    std::vector<int> first;
    for (int i = 0; i < 20; ++i)
        first.push_back(RandomInt(1000));
    MakoSrand(1234);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(first[i], RandomInt(1000));
}

TEST(Random, HelpersKeepTheirEnds)
{
    // 2^16 draws of a 15-bit generator cover every output, 0 and 32767 included.
    MakoSrand(7);
    int intMin = INT_MAX, intMax = INT_MIN;
    double doubleMin = 1e9, doubleMax = -1e9;
    float floatMin = 1e9f, floatMax = -1e9f;
    for (int i = 0; i < 3 * 65536; ++i) {
        int n = RandomInt(6);
        intMin = std::min(intMin, n);
        intMax = std::max(intMax, n);
        double d = RandomDouble(10.0);
        doubleMin = std::min(doubleMin, d);
        doubleMax = std::max(doubleMax, d);
        float f = RandomFloatInRange(5.0f, 2.0f); // bounds in either order
        floatMin = std::min(floatMin, f);
        floatMax = std::max(floatMax, f);
        ASSERT_LT(RandomFloatInRange(1e7f, 1e7f + 1.0f), 1e7f + 1.0f);
    }
    EXPECT_EQ(0, intMin);
    EXPECT_EQ(5, intMax);
    EXPECT_EQ(0.0, doubleMin);
    EXPECT_EQ(10.0, doubleMax); // the upper end is reached
    EXPECT_EQ(2.0f, floatMin);
    EXPECT_LT(floatMax, 5.0f); // the upper end is not
    EXPECT_GT(floatMax, 4.99f);
    EXPECT_EQ(0, RandomInt(0));
    EXPECT_EQ(3.0f, RandomFloatInRange(3.0f, 3.0f));
}

TEST(Utility, ModifierTestsIgnoreOnlyTheLocks)
{
    const unsigned LCTRL = 0x40, RCTRL = 0x80, LALT = 0x100, RALT = 0x200, SHIFT = 0x1;
    const unsigned NUM = 0x1000, CAPS = 0x2000;
    EXPECT_TRUE(IsOnlyCtrlDown(LCTRL | CAPS));
    EXPECT_TRUE(IsOnlyCtrlDown(RCTRL | NUM | CAPS));
    EXPECT_FALSE(IsOnlyCtrlDown(LCTRL | RCTRL));
    EXPECT_FALSE(IsOnlyCtrlDown(LCTRL | SHIFT));
    EXPECT_FALSE(IsOnlyCtrlDown(0));
    EXPECT_TRUE(IsOnlyAltDown(RALT));
    EXPECT_FALSE(IsOnlyAltDown(LALT | RALT));
    EXPECT_TRUE(IsOnlyCtrlAltDown(LCTRL | LALT | NUM));
    EXPECT_TRUE(IsOnlyCtrlAltDown(RCTRL | RALT));
    EXPECT_FALSE(IsOnlyCtrlAltDown(LCTRL | RALT));
    EXPECT_FALSE(IsOnlyCtrlAltDown(LCTRL | LALT | 0x4000));
}

TEST(Utility, TextAndNumberFormats)
{
    EXPECT_EQ("$0", FormatWithThousandsSeparators(0));
    EXPECT_EQ("$999", FormatWithThousandsSeparators(999));
    EXPECT_EQ("$1,000", FormatWithThousandsSeparators(1000));
    EXPECT_EQ("$-5", FormatWithThousandsSeparators(-5));
    EXPECT_EQ("$-1,234,567", FormatWithThousandsSeparators(-1234567));
    EXPECT_EQ("$-2,147,483,648", FormatWithThousandsSeparators(INT_MIN));
    EXPECT_EQ("01:05", FormatMinutesSeconds(65));
    EXPECT_EQ("00:00", FormatMinutesSeconds(0));
    EXPECT_EQ("120:00", FormatMinutesSeconds(7200));
    EXPECT_EQ("a\\nb\\n", EscapeNewlines("a\nb\n"));
    EXPECT_TRUE(EndsWith("level.fun", ".fun"));
    EXPECT_TRUE(EndsWith("x.fun.fun", ".fun"));
    EXPECT_FALSE(EndsWith("fun", ".fun"));
    EXPECT_FALSE(EndsWith("a.fun.cfg", ".fun"));
    // Rounding is the same on both sides of 0: whole numbers stay, halves go up.
    EXPECT_EQ(-2, RoundToInt(-1.7f));
    EXPECT_EQ(-1016, RoundToInt(-1016.0f));
    EXPECT_EQ(-1015, RoundToInt(-1015.5f));
    EXPECT_EQ(3, RoundToInt(2.5f));
    EXPECT_EQ(0, RoundToInt(-0.4f));
    // A place far past any int (a body flung away) is held to the int range; NaN gives 0.
    EXPECT_EQ(-2147483647 - 1, RoundToInt(-3.12e9f));
    EXPECT_EQ(2147483647, RoundToInt(std::numeric_limits<float>::infinity()));
    EXPECT_EQ(0, RoundToInt(std::numeric_limits<float>::quiet_NaN()));
    // Numbers from scripts and files: truncated, held to the int range, never undefined.
    EXPECT_EQ(-2, ClampToInt(-2.9));
    EXPECT_EQ(2147483647, ClampToInt(6.7e118));
    EXPECT_EQ(-2147483647 - 1, ClampToInt(-1e300));
    EXPECT_EQ(2147483647, ClampToInt(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(0, ClampToInt(std::numeric_limits<double>::quiet_NaN()));
    char odd[] = "abc", even[] = "abcd", empty[] = "";
    ReverseString(odd);
    ReverseString(even);
    ReverseString(empty);
    ReverseString(nullptr);
    EXPECT_STREQ("cba", odd);
    EXPECT_STREQ("dcba", even);
    EXPECT_EQ("2: No such file or directory", FormatSystemError(2));
}

TEST(Utility, WideToMultibyteConversion)
{
    char buffer[8];
    EXPECT_EQ(MAKO_E_INVALIDARG, ConvertWideToAnsi(nullptr, L"x", 8));
    EXPECT_EQ(MAKO_E_INVALIDARG, ConvertWideToAnsi(buffer, nullptr, 8));
    EXPECT_EQ(MAKO_E_INVALIDARG, ConvertWideToAnsi(buffer, L"x", 0));
    EXPECT_EQ(MAKO_S_OK, ConvertWideToAnsi(buffer, L"Caf\u00e9", 8));
    EXPECT_STREQ("Caf\xc3\xa9", buffer);
    EXPECT_EQ(MAKO_S_OK, ConvertWideToAnsi(buffer, L"", 1));
    EXPECT_STREQ("", buffer);
    // Does not fit: whole characters only, always terminated.
    EXPECT_EQ(MAKO_E_FAIL, ConvertWideToAnsi(buffer, L"abcdef\u00e9", 8));
    EXPECT_STREQ("abcdef", buffer);
    EXPECT_EQ(MAKO_E_FAIL, ConvertWideToAnsi(buffer, L"abcdefgh", 8));
    EXPECT_STREQ("abcdefg", buffer);
    const wchar_t bad[] = {L'a', static_cast<wchar_t>(0xD800), 0};
    EXPECT_EQ(MAKO_E_FAIL, ConvertWideToAnsi(buffer, bad, 8));
}

TEST(Utility, DebugTraceCutsLongText)
{
    setenv("BB_DEBUG_OUTPUT", "1", 1);
    bbtest::OutputCapture err(2);
    DebugTrace("%s %d\n", "short", 5);
    DebugTrace("%s", std::string(900, 'z').c_str());
    unsetenv("BB_DEBUG_OUTPUT");
    EXPECT_EQ("short 5\n" + std::string(798, 'z') + "\n", err.Text());
}

TEST(Utility, FileAndDirectoryTests)
{
    bbtest::TempHome home;
    std::string file = home.Path() + "/card.txt";
    EXPECT_FALSE(FileExists(file, 0));
    EXPECT_FALSE(FileExists(file, EXISTS_WRITABLE));
    EXPECT_FALSE(fs::exists(file)); // the test created nothing
    bbtest::WriteFile(file, "x");
    EXPECT_TRUE(FileExists(file, 0));
    EXPECT_TRUE(FileExists(file, EXISTS_WRITABLE));
    EXPECT_FALSE(FileExists(file, EXISTS_DIRECTORY));
    EXPECT_TRUE(FileExists(home.Path(), EXISTS_DIRECTORY | EXISTS_WRITABLE));
    EXPECT_FALSE(FileExists(home.Path(), 0)); // a directory is not a file
    EXPECT_EQ("x", bbtest::ReadFile(file));

    // A FIFO is answered without waiting for a writer (the alarm ends a test that waits).
    std::string fifo = home.Path() + "/fifo";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    alarm(20);
    EXPECT_TRUE(FileExists(fifo, EXISTS_WRITABLE));
    alarm(0);

    // A folder its owner may not write; the super-user looks as another owner (nobody), as
    // the permissions do not bind it.
    std::string locked = home.Path() + "/locked";
    fs::create_directory(locked);
    chmod(locked.c_str(), 0555);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(0, chown(locked.c_str(), 65534, 65534) | chmod(home.Path().c_str(), 0711));
    }
    const pid_t child = fork();
    if (child == 0)
        _exit((!root || setresuid(65534, 65534, 65534) == 0) &&
                      FileExists(locked, EXISTS_DIRECTORY) &&
                      !FileExists(locked, EXISTS_DIRECTORY | EXISTS_WRITABLE)
                  ? 0
                  : 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "a read-only folder taken as writable";
    chmod(locked.c_str(), 0755);
}

TEST(Utility, CreateDirectoriesMakesWhatIsMissingAndLogsIt)
{
    bbtest::TempHome home;
    std::string logPath = home.Path() + "/MakoEngine.log";
    StartLogFile(logPath);
    std::string deep = home.Path() + "/Docs/Technical Support Files/";
    EXPECT_TRUE(CreateDirectories(deep));
    EXPECT_TRUE(FileExists(deep, EXISTS_DIRECTORY));
    EXPECT_FALSE(CreateDirectories(deep));
    std::string text = bbtest::ReadFile(logPath);
    std::string::size_type at = text.find("CreateDirectories, dirName = \"" + deep + "\"\n");
    ASSERT_NE(std::string::npos, at) << text;
    EXPECT_EQ("CreateDirectories, dirName = \"" + deep + "\"\nCreated directory: " + home.Path() +
                  "/Docs/\nCreated directory: " + deep + "\nCreateDirectories, dirName = \"" +
                  deep + "\"\n",
              text.substr(at));

    bbtest::WriteFile(home.Path() + "/plain", "");
    try {
        CreateDirectories(home.Path() + "/plain/sub");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Could not create directory:\ndirectory = " + home.Path() +
                      "/plain/\nerror = 17: File exists",
                  e.GetMessage());
    }
    SetLogFilePath("");
}

TEST(Utility, ScriptFunctionsForFolders)
{
    bbtest::TempHome home;
    char saved[4096];
    ASSERT_NE(nullptr, getcwd(saved, sizeof saved));
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    RegisterLuaFunctions(L);
    lua_pushstring(L, home.Path().c_str());
    lua_setglobal(L, "home");
    const char* script = "assert(IsDirectory(home) == true)\n"
                         "assert(IsDirectory(home .. '/a/b') == false)\n"
                         "assert(CreateDirectory(home .. '/a/b') == true)\n"
                         "assert(CreateDirectory(home .. '/a/b') == false)\n"
                         "chdir(home .. '/a')\n"
                         "assert(IsDirectory('b') == true)\n"
                         "local ok, message = pcall(chdir, home .. '/none')\n"
                         "assert(not ok)\n"
                         "return message\n";
    ASSERT_EQ(0, luaL_dostring(L, script)) << lua_tostring(L, -1);
    std::string message = lua_tostring(L, -1);
    EXPECT_EQ("chdir(\"" + home.Path() + "/none\") failed: No such file or directory", message);
    EXPECT_EQ(fs::path(home.Path() + "/a"), fs::current_path());
    lua_close(L);
    ASSERT_EQ(0, chdir(saved));
}
