// The engine's one way into Lua: what a failure logs (what was called, and where the error
// was raised), native exceptions coming back to each kind of caller as themselves, and the
// stack after failures.
#include "app/Application.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "support/TempHome.h"
#include "support/engine/LogCaptureStart.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>
#include <typeinfo>

// Fails with a ResourceLoadError carrying the text of its argument.
MAKO_LUA_FUNCTION(CallPathFail)
{
    MAKO_THROW(ResourceLoadError, luaL_checkstring(L, 1));
}

// Runs the script resource named by its argument from inside a native function.
MAKO_LUA_FUNCTION(CallPathRunResource)
{
    MakoLuaState::DoResourceFile(LuaPlus::LuaState::CastState(L), luaL_checkstring(L, 1));
    return 0;
}

namespace {

// An application with nothing started, whose start-up script lives in a folder of the test.
class ScriptedApp : public Application
{
public:
    ScriptedApp(LuaPlus::LuaState* state, const std::string& exePath)
        : Application("CallPath", "CallPath", 0, 640, 480)
    {
        m_LuaState = state;
        m_ExePath = exePath;
    }
};

class CallPath : public bbtest::LuaFixture
{
protected:
    CallPath() : m_LogPath(m_Home.Path() + "/call.log"), m_PreviousLog(GetLogFilePath())
    {
        bbtest::StartLogCapture(m_LogPath);
    }
    ~CallPath() override { SetLogFilePath(m_PreviousLog); }

    std::string LogText() const { return bbtest::ReadFile(m_LogPath); }

    // Runs `call`, which must throw ResourceLoadError with exactly `message`.
    void ExpectOriginal(const std::string& message, const std::function<void()>& call,
                        const char* site)
    {
        try {
            call();
            ADD_FAILURE() << site << ": no exception";
        } catch (const ResourceLoadError& e) {
            EXPECT_EQ(typeid(ResourceLoadError), typeid(e)) << site;
            EXPECT_EQ(message, e.GetMessage()) << site;
        } catch (const std::exception& e) {
            ADD_FAILURE() << site << ": " << typeid(e).name() << ": " << e.what();
        }
    }

    bbtest::TempHome m_Home;
    std::string m_LogPath;
    std::string m_PreviousLog;
};

} // namespace

TEST_F(CallPath, AFailureLogsWhatWasCalledAndWhereTheErrorWasRaised)
{
    AddScript("Inner.lua", "local function crack() error('cracked brick') end\n"
                           "function Hit() crack() end\n"
                           "Hit()\n");
    std::string message;
    try {
        Run("CallPathRunResource('Inner.lua')");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        message = e.GetMessage();
    }
    // The message keeps its exact text; the traceback goes to the log only.
    EXPECT_EQ("Could not execute Lua resource file\nfile = Inner.lua\n"
              "error = [string \"Inner.lua\"]:1: cracked brick",
              message);

    std::string log = LogText();
    EXPECT_NE(std::string::npos,
              log.find("Lua error in script resource Inner.lua: [string \"Inner.lua\"]:1: "
                       "cracked brick\nstack traceback:\n"
                       "\t[C]: in function 'error'\n"
                       "\t[string \"Inner.lua\"]:1: in function 'crack'\n"
                       "\t[string \"Inner.lua\"]:2: in function 'Hit'\n"
                       "\t[string \"Inner.lua\"]:3: in main chunk\n"
                       "\t[C]: in function 'CallPathRunResource'\n"))
        << log;
    // The outer run names itself and shows the native function it was in.
    size_t outer = log.find("Lua error in script text \"CallPathRunResource('Inner.lua')\": "
                            "Could not execute Lua resource file\nfile = Inner.lua\nerror = ");
    ASSERT_NE(std::string::npos, outer) << log;
    EXPECT_NE(std::string::npos,
              log.find("\t[C]: in function 'CallPathRunResource'\n\t[string \"?\"]:1: in main "
                       "chunk\n",
                       outer))
        << log;
    EXPECT_EQ(0, lua_gettop(L()));

    // Long script text is named by the start of its first line.
    EXPECT_THROW(Run("local a = 'a rather long line of script text here'\nerror('x')"),
                 ScriptError);
    EXPECT_NE(std::string::npos,
              LogText().find("Lua error in script text \"local a = 'a rather long line of "
                             "script ...\": [string \"?\"]:2: x\n"))
        << LogText();
}

TEST_F(CallPath, NativeExceptionsReachEveryKindOfCallerAsThemselves)
{
    // A script resource and script text.
    AddScript("Fails.lua", "CallPathFail('from resource')");
    ExpectOriginal(
        "from resource", [&] { RunResource("Fails.lua"); }, "resource");
    ExpectOriginal(
        "from text", [&] { Run("CallPathFail('from text')"); }, "text");

    // A configuration file: its loader fails natively.
    {
        Config config(State());
        std::string path = m_Home.Path() + "/bumperlux.cfg";
        bbtest::WriteFile(path, "LoadConfig { volume = 3 }");
        Run("LoadConfig = function(t) CallPathFail('from configuration') end");
        ExpectOriginal(
            "from configuration", [&] { config.ReadFile(path); }, "configuration");
        struct stat info;
        EXPECT_EQ(0, ::stat(path.c_str(), &info)) << "the user's file was set aside";
        EXPECT_TRUE(Global("Config_CurrentSource").IsNil());
    }

    // A metadata file met while scanning a folder: its loader fails natively, and the
    // failure reaches the scanner as itself, which names it with the file and goes on.
    {
        ResourceManager manager(State());
        std::string folder = m_Home.Path() + "/res/";
        ::mkdir(folder.c_str(), 0755);
        bbtest::WriteFile(folder + "a.png", "x");
        bbtest::WriteFile(folder + "metadata.cfg", "Metadata { ['a.png'] = {} }");
        Run("Metadata = function(t) CallPathFail('from metadata') end");
        WindowsDirectoryResourceScanner scanner(folder);
        ResourceInfoMap output = MakeResourceInfoMap();
        EXPECT_NO_THROW(scanner.Scan(output));
        EXPECT_NE(std::string::npos, LogText().find("The metadata file \"" + folder +
                                                    "metadata.cfg\" could not be applied: "
                                                    "from metadata;"))
            << LogText();
    }

    // The application's start-up script.
    {
        ScriptedApp app(State(), m_Home.Path());
        bbtest::WriteFile(m_Home.Path() + "/MakoStartup.lua", "CallPathFail('from startup')");
        ExpectOriginal(
            "from startup", [&] { app.RunStartupScript(); }, "startup script");
        bbtest::WriteFile(m_Home.Path() + "/MakoStartup.lua", "error('plain', 0)");
        try {
            app.RunStartupScript();
            FAIL() << "no exception";
        } catch (const ScriptError& e) {
            EXPECT_EQ("Error in startup script " + m_Home.Path() + "/MakoStartup.lua: plain",
                      e.GetMessage());
        }
    }
    EXPECT_NE(std::string::npos, LogText().find("Lua error in startup script " + m_Home.Path() +
                                                "/MakoStartup.lua: plain\nstack traceback:\n"))
        << LogText();
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST_F(CallPath, FailuresLeaveTheStackAsItWasBelowTheFunction)
{
    lua_State* L = this->L();
    lua_pushstring(L, "caller's own value");
    Run("function fail(...) error('no', 0) end "
        "function failNative(...) CallPathFail('native') end");

    // Through the engine's call with arguments and every result count.
    const int counts[] = {0, 1, 3, LUA_MULTRET};
    for (int results : counts) {
        for (const char* name : {"fail", "failNative"}) {
            lua_getglobal(L, name);
            lua_pushinteger(L, 1);
            lua_pushinteger(L, 2);
            LuaPlus::CallFailure failure;
            try {
                EXPECT_FALSE(MakoLuaState::Call(L, 2, results, name, failure));
                EXPECT_EQ("no", failure.text);
                EXPECT_EQ(name, failure.what);
            } catch (const ResourceLoadError& e) {
                EXPECT_EQ("native", e.GetMessage());
            }
            ASSERT_EQ(1, lua_gettop(L)) << name << " " << results;
        }
    }
    // A value that cannot be called, a non-text error, a LuaObject call.
    lua_pushnil(L);
    LuaPlus::CallFailure failure;
    EXPECT_FALSE(MakoLuaState::Call(L, 0, 0, "nil", failure));
    EXPECT_EQ("attempt to call a nil value", failure.text);
    EXPECT_EQ("", failure.traceback); // nothing ran, so there is no stack to show
    EXPECT_THROW(Run("error(setmetatable({}, {}))"), ScriptError);
    EXPECT_THROW(State()->GetGlobal("fail").Call(1, 2, 3), LuaPlus::LuaException);
    ASSERT_EQ(1, lua_gettop(L));
    EXPECT_STREQ("caller's own value", lua_tostring(L, 1));
}
