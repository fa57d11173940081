#include "core/Shell.h"
#include "core/Log.h"
#include "core/OutputCapture.h"
#include "lua/MakoLuaState.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// A shell reading one end of a pipe, over a fresh Lua state whose print records its
// calls in the global table `printed` (one text per call, arguments joined by ",").
class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, pipe(m_Pipe));
        m_State = LuaPlus::LuaState::Create(true);
        InitLuaState(m_State);
        m_State->DoString(
            "printed = {}\n"
            "function print(...)\n"
            "  local parts = {}\n"
            "  for i = 1, select('#', ...) do parts[i] = tostring(select(i, ...)) end\n"
            "  table.insert(printed, table.concat(parts, ','))\n"
            "end\n");
        m_Shell.reset(new Shell(m_State, m_Pipe[0]));
        bbtest::OutputCapture out(1);
        StartLogFile(m_Home.Path() + "/MakoEngine.log");
    }
    void TearDown() override
    {
        SetLogFilePath("");
        m_Shell.reset();
        LuaPlus::LuaState::Destroy(m_State);
        CloseWriter();
        close(m_Pipe[0]);
    }
    void Type(const std::string& bytes)
    {
        ASSERT_EQ(ssize_t(bytes.size()), write(m_Pipe[1], bytes.data(), bytes.size()));
        m_Shell->Update();
    }
    void CloseWriter()
    {
        if (m_Pipe[1] >= 0)
            close(m_Pipe[1]);
        m_Pipe[1] = -1;
    }
    // printed as one text, calls separated by "|".
    std::string Printed()
    {
        m_State->DoString("_printedText = table.concat(printed, '|')");
        lua_State* L = m_State->GetCState();
        lua_getglobal(L, "_printedText");
        std::string text = lua_tostring(L, -1);
        lua_pop(L, 1);
        return text;
    }
    std::string Global(const char* name)
    {
        lua_State* L = m_State->GetCState();
        lua_getglobal(L, name);
        std::string text = lua_isnil(L, -1) ? "nil" : lua_tostring(L, -1);
        lua_pop(L, 1);
        return text;
    }
    std::string LogText() { return bbtest::ReadFile(m_Home.Path() + "/MakoEngine.log"); }

    bbtest::TempHome m_Home;
    int m_Pipe[2] = {-1, -1};
    LuaPlus::LuaState* m_State = nullptr;
    std::unique_ptr<Shell> m_Shell;
};

} // namespace

TEST_F(ShellTest, RunsPipedLinesAndPrintsAllResultsInOneCall)
{
    Type("x = 4\nreturn x, 'two'\nre");
    EXPECT_EQ("4,two", Printed());
    EXPECT_EQ("re", m_Shell->GetLine()); // half a line waits for the rest
    Type("turn x * 2\r\n\n");
    EXPECT_EQ("4,two|8", Printed());
    EXPECT_EQ(0, m_State->GetTop());
}

TEST_F(ShellTest, BackslashContinuesALineAndBackspaceEdits)
{
    Type("y = 1 +  \\  \n");
    EXPECT_EQ("nil", Global("y")); // not run yet
    EXPECT_EQ("y = 1 +   ", m_Shell->GetLine());
    Type("2\n");
    EXPECT_EQ("3", Global("y"));

    Type("\b\x7fzz\b = 5\n"); // backspace on an empty line changes nothing
    EXPECT_EQ("5", Global("z"));

    EXPECT_THROW(m_Shell->TrimLine(), Exception); // the line does not end in a backslash
}

TEST_F(ShellTest, ErrorsAreLoggedAndTheShellGoesOn)
{
    {
        bbtest::OutputCapture out(1);
        Type("error('boom')\nx = = 1\nchdir('/no/such/folder')\nreturn 'still here'\n");
    }
    EXPECT_EQ("still here", Printed());
    EXPECT_EQ(0, m_State->GetTop());
    std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("boom")) << log;
    EXPECT_NE(std::string::npos,
              log.find("Error in LoadString: [string \"?\"]:1: unexpected symbol near '='"))
        << log;
    EXPECT_NE(std::string::npos,
              log.find("chdir(\"/no/such/folder\") failed: No such file or directory"))
        << log;

    // A failing print is an error of the line too.
    m_State->DoString("print = nil");
    {
        bbtest::OutputCapture out(1);
        Type("return 1\nw = 2\n");
    }
    EXPECT_EQ("2", Global("w"));
    EXPECT_EQ(0, m_State->GetTop());
}

TEST_F(ShellTest, EndOfInputRunsTheLastLineAndStopsReading)
{
    Type("a = 1\nb = 2");
    EXPECT_EQ("nil", Global("b"));
    CloseWriter();
    m_Shell->Update();
    EXPECT_EQ("2", Global("b"));
    EXPECT_EQ("", m_Shell->GetLine());
    m_Shell->Update(); // nothing left to read: returns at once

    Shell silent(m_State); // no console: never reads anything
    silent.Update();
    silent.HandleInput("c = 3\n");
    EXPECT_EQ("3", Global("c"));
}
