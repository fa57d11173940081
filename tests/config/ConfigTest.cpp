// The configuration: its two layers and their precedence, user files as data, writing
// back, observers and the value binder, and the shipped configuration files.
#include "core/Config.h"
#include "core/AtomicFile.h"
#include "core/ConfigDataBinder.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Object.h"
#include "core/OutputCapture.h"
#include "core/SaveNotice.h"
#include "core/StopSignal.h"
#include "core/ValueWidget.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "support/HostileScripts.h"
#include "support/TempHome.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using LuaPlus::LuaObject;

namespace {

bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string ShippedFile(const std::string& name)
{
    return bbtest::ReadFile(std::string(BB_SOURCE_DIR) + "/game/" + name);
}

// Remembers every configuration update it receives as "key=value".
class Recorder : public Object
{
public:
    std::vector<std::string> updates;

protected:
    bool OnConfigUpdate(const Event& event) override
    {
        const auto* update = static_cast<const LuaObject*>(EventData1(event));
        updates.push_back((*update)["key"].ToString() + "=" + SerializeText((*update)["value"]));
        return true;
    }

private:
    static std::string SerializeText(const LuaObject& value)
    {
        std::string text;
        SerializeToString(text, value, SERIALIZE_SORTED);
        return text;
    }
};

// A slider that holds a fixed value.
class Slider : public Object, public ValueWidget
{
public:
    double value = 0.0;
    Variant GetValue() override { return Variant(value); }
};

} // namespace

class ConfigTest : public bbtest::LuaFixture
{
protected:
    ConfigTest() : m_Config(new Config(State())) { GetPostedEventQueue().Clear(); }
    ~ConfigTest() override { GetPostedEventQueue().Clear(); }

    Config& Cfg() { return *m_Config; }

    // Runs a shipped configuration file as the program does (a script resource).
    void RunShipped(const std::string& name)
    {
        AddScript(name, ShippedFile(name));
        RunResource(name);
    }

    // Delivers every posted event to its receiver; returns how many there were.
    int DeliverPosted()
    {
        int count = 0;
        Event event;
        while (GetPostedEventQueue().Take(event)) {
            ++count;
            if (event.type == MAKO_ROUTEDEVENT)
                EventQueue::DeliverRouted(event); // releases the wrapped event too
            else
                EventQueue::ReleaseEventData(event);
        }
        return count;
    }

    std::string DataText()
    {
        std::string text;
        SerializeToString(text, Global("Config_Data"), SERIALIZE_SORTED);
        return text;
    }

    std::unique_ptr<Config> m_Config;
};

TEST_F(ConfigTest, ConstantsUserValuesAndMissingKeys)
{
    Run("LoadConfig { volume = 10, flag = false, shared = 'user' }");
    Run("LoadConstConfig { limit = 2000, shared = 'const' }");

    // A user value of a key that became constant is dropped; constants win everywhere.
    EXPECT_EQ("const", Cfg().GetString("shared"));
    Run("seen = Config.shared");
    EXPECT_EQ("const", GlobalString("seen"));
    EXPECT_TRUE(Global("Config_Data")["shared"].IsNil());

    // A user value false is a value, not a fall-through.
    Run("flagSeen = Config.flag");
    EXPECT_TRUE(Global("flagSeen").IsBoolean());
    EXPECT_FALSE(Cfg().GetBoolean("flag"));
    EXPECT_EQ(Variant(false), Cfg().Retrieve("flag"));

    EXPECT_EQ(2000, Cfg().GetInteger("limit"));
    EXPECT_EQ(10.0, Cfg().GetNumber("volume"));
    EXPECT_EQ(0, Cfg().GetInteger("missing"));
    EXPECT_FALSE(Cfg().GetBoolean("missing"));
    EXPECT_TRUE(Cfg().Retrieve("missing").IsNil());
    EXPECT_TRUE(Cfg().GetObject("missing").IsNil());
    EXPECT_THROW(Cfg().GetBoolean("volume"), Exception); // a number is not a boolean

    // Native setters go through the proxy and keep full precision.
    Cfg().Set("tiny", Variant(1e-7));
    Cfg().Set("name", Variant("Ann \"Ace\""));
    Cfg().SetBoolean("on", true);
    EXPECT_EQ(1e-7, Cfg().GetNumber("tiny"));
    EXPECT_EQ("Ann \"Ace\"", Cfg().GetString("name"));
    EXPECT_TRUE(Cfg().GetBoolean("on"));
}

TEST_F(ConfigTest, ConstantsCannotBeAssigned)
{
    Run("LoadConstConfig { limit = 2000 }");
    try {
        Run("Config.limit = 1");
        FAIL() << "a constant was assigned";
    } catch (const Exception& e) {
        EXPECT_NE(std::string::npos,
                  std::string(e.GetMessage()).find("Cannot overwrite a const config variable"));
    }
    EXPECT_THROW(Cfg().Set("limit", Variant(5.0)), ScriptError);
    EXPECT_EQ(2000, Cfg().GetInteger("limit"));
    EXPECT_TRUE(Global("Config_Data")["limit"].IsNil());
}

TEST_F(ConfigTest, ASecondConfigurationOnOneStateLeavesTheFirstInCharge)
{
    Run("LoadConfig { music_volume = 50 }");
    EXPECT_THROW(Config another(State()), Exception); // one configuration per state

    EXPECT_EQ(static_cast<void*>(&Cfg()), Global("Config_Instance").GetLightUserData());
    Recorder volume;
    Cfg().AttachObserver(&volume, "music_volume");
    Run("Config.music_volume = 60");
    EXPECT_EQ(1, DeliverPosted());
    EXPECT_EQ(std::vector<std::string>{"music_volume=60"}, volume.updates);
    EXPECT_EQ(60, Cfg().GetInteger("music_volume"));
    Cfg().DetachObserver(&volume, "music_volume");
}

TEST_F(ConfigTest, UserFileIsValidatedAgainstDefaultsAndConstants)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    RunShipped("bumperlux_Defaults.cfg");
    RunShipped("bumperlux_Const.cfg");
    bbtest::WriteFile(path, "LoadConfig {\n    ShortcutKeyTimeout = \"soon\",\n"
                            "    full_screen = false,\n    log_level = \"loud\",\n"
                            "    music_volume = 20,\n    playerName = \"Zed\",\n"
                            "    use_3d_acceleration = 1,\n}\n");
    EXPECT_EQ(0, Cfg().ReadFile(path));

    EXPECT_FALSE(Cfg().GetBoolean("full_screen"));           // false from the user wins
    EXPECT_EQ(1, Cfg().GetInteger("log_level"));             // wrong type: default kept
    EXPECT_TRUE(Cfg().GetBoolean("use_3d_acceleration"));    // wrong type: default kept
    EXPECT_EQ(2000, Cfg().GetInteger("ShortcutKeyTimeout")); // constant: skipped
    EXPECT_EQ(20, Cfg().GetInteger("music_volume"));         // keys after those still load
    EXPECT_EQ("Zed", Cfg().GetString("playerName"));
    EXPECT_TRUE(Global("Config_Data")["ShortcutKeyTimeout"].IsNil());
    EXPECT_TRUE(Global("Config_CurrentSource").IsNil());

    // The serialiser's mark is no setting: with it the whole file would be written as
    // nothing, and the next start would set the unreadable file aside.
    bbtest::WriteFile(path, "LoadConfig { Do_Not_Serialize = 50, sfx_volume = 30 }\n");
    EXPECT_EQ(0, Cfg().ReadFile(path));
    EXPECT_TRUE(Global("Config_Data")["Do_Not_Serialize"].IsNil());
    Cfg().Write(path);
    EXPECT_NE(std::string::npos, bbtest::ReadFile(path).find("    sfx_volume = 30,\n"));
    EXPECT_EQ(0, Cfg().ReadFile(path));
}

TEST_F(ConfigTest, UserFileRunsAsDataAndBrokenFilesAreKeptAside)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    std::string canary = home.Path() + "/canary";

    EXPECT_EQ(USERFILE_STATUS_MISSING, Cfg().ReadFile(path)); // no file yet: the defaults stay
    EXPECT_FALSE(Exists(path + ".bad"));

    bbtest::WriteFile(path, "LoadConfig { a = 1 }\nio.open('" + canary +
                                "', 'w'):close()\n"
                                "LoadConfig { b = 2 }\n");
    EXPECT_EQ(LUA_ERRRUN, Cfg().ReadFile(path));
    EXPECT_FALSE(Exists(canary));
    EXPECT_EQ(1, Cfg().GetInteger("a")); // what loaded before the failure stays
    EXPECT_EQ(0, Cfg().GetInteger("b"));
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(Exists(path + ".bad"));

    // A second broken file is kept beside the first one.
    bbtest::WriteFile(path, "LoadConfig { c = ");
    EXPECT_EQ(LUA_ERRSYNTAX, Cfg().ReadFile(path));
    EXPECT_NE(std::string::npos, bbtest::ReadFile(path + ".bad").find("LoadConfig { b = 2 }"));
    EXPECT_EQ("LoadConfig { c = ", bbtest::ReadFile(path + ".1.bad"));
}

TEST_F(ConfigTest, UserFileThatNeverEndsIsStoppedAndKeptAside)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    bbtest::WriteFile(path, "LoadConfig { a = 1 }\nwhile true do end\n");
    bbtest::OutputCapture out(1);
    EXPECT_EQ(LUA_ERRRUN, Cfg().ReadFile(path));
    std::string log = out.Text();
    EXPECT_TRUE(Exists(path + ".bad"));
    EXPECT_FALSE(Exists(path));
    EXPECT_NE(std::string::npos, log.find("did not finish within 10000000 instructions")) << log;
    EXPECT_EQ(1, Cfg().GetInteger("a"));

    // The budget is for the user's file only: scripts run afterwards are not limited, and
    // a file that does real work well within it loads.
    Run("local n = 0 for i = 1, 11000000 do n = n + 1 end counted = n");
    EXPECT_EQ(11000000, Global("counted").GetInteger());
    bbtest::WriteFile(path, "local t = {} for i = 1, 1000 do t['k' .. i] = i end LoadConfig(t)");
    EXPECT_EQ(0, Cfg().ReadFile(path));
    EXPECT_EQ(1000, Cfg().GetInteger("k1000"));

    // A stop asked for while the file runs ends it at once, and the file counts as unread,
    // not as damaged: it stays where it is, as it is.
    StopSignal::Request(SIGTERM);
    const std::string text = "local n = 0 for i = 1, 300000 do n = n + 1 end LoadConfig { n = n }";
    bbtest::WriteFile(path, text);
    bbtest::OutputCapture stopped(1);
    const int status = Cfg().ReadFile(path);
    StopSignal::Reset();
    EXPECT_EQ(LUA_ERRFILE, status);
    EXPECT_EQ(0, Cfg().GetInteger("n"));
    EXPECT_EQ(text, bbtest::ReadFile(path));
    EXPECT_FALSE(Exists(path + ".1.bad")); // the first file set aside above holds ".bad"
    const std::string said = stopped.Text();
    EXPECT_NE(std::string::npos, said.find("reading it was stopped by SIGTERM")) << said;
}

TEST_F(ConfigTest, NonFiniteNumbersAreRefusedLikeValuesOfTheWrongType)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    Run("LoadConfig { music_volume = 50, sfx_volume = 40, scale = 1.5 }");
    bbtest::WriteFile(path, "LoadConfig { music_volume = 1e308 * 10, sfx_volume = 0/0,\n"
                            "    scale = -1e308 * 10, colour = { 1, 0/0, 3 },\n"
                            "    huge = 1e308, name = 'inf' }\n");
    bbtest::OutputCapture out(1);
    EXPECT_EQ(0, Cfg().ReadFile(path));
    std::string log = out.Text();

    EXPECT_EQ(50, Cfg().GetInteger("music_volume"));
    EXPECT_EQ(40, Cfg().GetInteger("sfx_volume"));
    EXPECT_EQ(1.5, Cfg().GetNumber("scale"));
    EXPECT_TRUE(Cfg().GetObject("colour").IsNil());
    EXPECT_EQ(1e308, Cfg().GetNumber("huge")); // large but finite is a number like any other
    EXPECT_EQ("inf", Cfg().GetString("name"));
    for (const char* key : {"music_volume", "sfx_volume", "scale", "colour"})
        EXPECT_NE(std::string::npos, log.find("Warning: configuration key \"" + std::string(key) +
                                              "\" should be a finite number"))
            << key << "\n"
            << log;
    EXPECT_NE(std::string::npos, log.find("the value 50 was kept (in \"" + path + "\")")) << log;
    EXPECT_FALSE(Exists(path + ".bad")); // one bad value does not make the file unreadable
}

TEST_F(ConfigTest, ValuesThatCannotBeWrittenAreRefusedSoTheFileIsAlwaysWrittenBack)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    Run("LoadConfig { music_volume = 50, loop = { 1 } }");
    // A table holding itself, one nested past what the writer writes, and tables shared so
    // often that the text would never end; a shared table written a few times is fine.
    bbtest::WriteFile(path, "local t = {} t.me = t\n"
                            "local deep = {} for i = 1, 150 do deep = { deep } end\n"
                            "local wide = {} for i = 1, 40 do wide = { wide, wide } end\n"
                            "local small = { 1 }\n"
                            "LoadConfig { loop = t, deep = deep, wide = wide,\n"
                            "    twice = { small, small }, sfx_volume = 7 }\n");
    bbtest::OutputCapture out(1);
    EXPECT_EQ(0, Cfg().ReadFile(path));
    const std::string log = out.Text();
    EXPECT_NE(std::string::npos,
              log.find("Warning: configuration key \"loop\" cannot be saved: it holds itself; "
                       "the value table"))
        << log;
    EXPECT_NE(std::string::npos,
              log.find("\"deep\" cannot be saved: it is nested more than 100 tables deep; it "
                       "was ignored"))
        << log;
    EXPECT_NE(std::string::npos,
              log.find("\"wide\" cannot be saved: it would be written as more than 100000 "
                       "tables; it was ignored"))
        << log;
    EXPECT_EQ(7, Cfg().GetInteger("sfx_volume"));
    EXPECT_EQ(1, Global("Config_Data")["loop"][1].GetInteger());
    EXPECT_TRUE(Cfg().GetObject("deep").IsNil());
    // What was taken in is written back.
    EXPECT_NO_THROW(Cfg().Write(path));
    const std::string written = bbtest::ReadFile(path);
    EXPECT_NE(std::string::npos, written.find("twice = {")) << written;
    EXPECT_NE(std::string::npos, written.find("sfx_volume = 7")) << written;

    // A file larger than the next start would read is not written: the old one stays.
    Run("Config.pad = string.rep('p', 17 * 1024 * 1024)");
    try {
        Cfg().Write(path);
        ADD_FAILURE() << "a configuration over 16 MiB was written";
    } catch (const FileWriteError& e) {
        EXPECT_EQ("File too large", e.GetCause());
    }
    EXPECT_EQ(written, bbtest::ReadFile(path));
}

TEST_F(ConfigTest, FilesThatAreNoRegularFilesAreKeptAndTooLargeOnesSetAsideWithoutWaiting)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    Run("LoadConfig { music_volume = 50 }");
    // A string grown without end stops at the memory budget, not at the machine's end.
    bbtest::WriteFile(path, std::string(bbtest::kGrowsWithoutEnd) + " LoadConfig { name = s }\n");
    {
        bbtest::OutputCapture out(1);
        EXPECT_EQ(LUA_ERRMEM, Cfg().ReadFile(path));
        EXPECT_NE(std::string::npos,
                  out.Text().find("\": the file needs more than 128 MiB of memory"))
            << out.Text();
        EXPECT_TRUE(Exists(path + ".bad"));
    }
    // A FIFO would wait for a writer for ever; a link to /dev/zero never ends. Neither is
    // read, and both stay where they are.
    ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
    {
        bbtest::OutputCapture out(1);
        EXPECT_EQ(LUA_ERRFILE, Cfg().ReadFile(path));
        EXPECT_NE(std::string::npos, out.Text().find("it is a FIFO, not a regular file"))
            << out.Text();
        EXPECT_TRUE(std::filesystem::is_fifo(path));
    }
    ::unlink(path.c_str());
    ASSERT_EQ(0, ::symlink("/dev/zero", path.c_str()));
    {
        bbtest::OutputCapture out(1);
        EXPECT_EQ(LUA_ERRFILE, Cfg().ReadFile(path));
        EXPECT_NE(std::string::npos, out.Text().find("it is a device, not a regular file"))
            << out.Text();
        EXPECT_TRUE(std::filesystem::is_symlink(path));
    }
    ::unlink(path.c_str());
    bbtest::WriteFile(path, "LoadConfig { pad = '" + std::string(17 << 20, 'p') + "' }\n");
    {
        bbtest::OutputCapture out(1);
        EXPECT_EQ(LUA_ERRSYNTAX, Cfg().ReadFile(path));
        EXPECT_NE(std::string::npos, out.Text().find("larger than the 16 MiB")) << out.Text();
    }
    EXPECT_EQ(50, Cfg().GetInteger("music_volume"));
}

// A broken configuration that cannot be set aside (every set-aside name taken) is kept as it
// is, as a card is: the defaults are played, and never saved over it.
TEST_F(ConfigTest, ABrokenConfigurationThatCannotBeSetAsideIsKeptAndNeverWrittenOver)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/bumperlux.cfg";
    for (int number = 0; number < kMaxSetAsideFiles; ++number)
        bbtest::WriteFile(SetAsideNameOf(path, number), "older\n");
    const std::string broken = "LoadConfig { music_volume = 17 }\nwhile true do end\n";
    bbtest::WriteFile(path, broken);
    bbtest::OutputCapture out(1);
    EXPECT_EQ(LUA_ERRRUN, Cfg().ReadFile(path));
    Cfg().Write(path);
    EXPECT_EQ(broken, bbtest::ReadFile(path));
    EXPECT_NE(std::string::npos,
              out.Text().find("Warning: the configuration file \"" + path +
                              "\" stays where it is (it could not be set aside: "))
        << out.Text();
}

TEST_F(ConfigTest, WrittenConfigurationReadsBackToTheSameText)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/bumperlux.cfg";
    RunShipped("bumperlux_Defaults.cfg");
    RunShipped("bumperlux_Const.cfg");
    Run("Config.playerName = 'O\\'Brien \"Bo\" \\\\'");
    Run("Config['current.player'] = 2");
    Cfg().Set("sfx_volume", Variant(33.5));
    Cfg().Write(path);
    std::string written = bbtest::ReadFile(path);
    EXPECT_EQ("LoadConfig {\n"
              "    [\"current.player\"] = 2,\n"
              "    full_screen = true,\n"
              "    log_level = 1,\n"
              "    music_volume = 50,\n"
              "    playerName = \"O'Brien \\\"Bo\\\" \\\\\",\n"
              "    sfx_volume = 33.5,\n"
              "    startscreen = \"SplashScreen\",\n"
              "    use_3d_acceleration = true,\n"
              "}\n",
              written);

    // A second program run: defaults, then the user's file, then written again.
    LuaPlus::LuaState* other = LuaPlus::LuaState::Create(true);
    InitLuaState(other);
    {
        Config second(other);
        MakoLuaState::DoResourceFile(other, "bumperlux_Defaults.cfg");
        EXPECT_EQ(0, second.ReadFile(path));
        EXPECT_EQ("O'Brien \"Bo\" \\", second.GetString("playerName"));
        second.Write(path);
    }
    LuaPlus::LuaState::Destroy(other);
    EXPECT_EQ(written, bbtest::ReadFile(path));

    // A write that cannot happen is reported and leaves nothing half-written.
    EXPECT_THROW(Cfg().Write(home.Path() + "/no/such/folder/x.cfg"), Exception);
}

TEST_F(ConfigTest, ObserversHearOfAssignedKeys)
{
    Recorder volume;
    Recorder other;
    Cfg().AttachObserver(&volume, "music_volume");
    Cfg().AttachObserver(&other, "sfx_volume");

    Run("Config.music_volume = 30");
    EXPECT_TRUE(volume.updates.empty()); // posted, not delivered at once
    EXPECT_EQ(1, DeliverPosted());
    EXPECT_EQ(std::vector<std::string>{"music_volume=30"}, volume.updates);
    EXPECT_TRUE(other.updates.empty());

    // Attached twice: two events per change until detached twice.
    Cfg().AttachObserver(&volume, "music_volume");
    Run("LoadConfig { music_volume = 40 }");
    EXPECT_EQ(2, DeliverPosted());
    Cfg().DetachObserver(&volume, "music_volume");
    Cfg().Set("music_volume", Variant(45.0));
    EXPECT_EQ(1, DeliverPosted());
    EXPECT_EQ(4u, volume.updates.size());
    EXPECT_EQ("music_volume=45", volume.updates.back());

    Cfg().DetachObserver(&other, "music_volume"); // not attached there: no change
    Run("Config.music_volume = 46");
    EXPECT_EQ(1, DeliverPosted());
    Cfg().DetachObserver(&volume, "music_volume");
    Run("Config.music_volume = 47");
    EXPECT_EQ(0, DeliverPosted());
    EXPECT_TRUE(Global("Config_Metadata")["music_volume"]["observers"].IsNil());
    EXPECT_THROW(Cfg().DetachObserver(&volume, "never_observed"), Exception);

    // At the end of start-up every observed key with a user value is signalled once.
    Cfg().AttachObserver(&volume, "full_screen"); // observed, but no user value
    Cfg().SignalAllObservers();
    EXPECT_EQ(0, DeliverPosted());
    Run("Config.sfx_volume = 10");
    DeliverPosted();
    Cfg().SignalAllObservers();
    EXPECT_EQ(1, DeliverPosted());
    EXPECT_EQ((std::vector<std::string>{"sfx_volume=10", "sfx_volume=10"}), other.updates);
}

TEST_F(ConfigTest, UpdatesPostedByAFailedLoadAreTheQueuesToRelease)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/bumperlux.cfg";
    Recorder volume;
    Cfg().AttachObserver(&volume, "music_volume");

    // Updates never delivered go with the queue's clean-up.
    bbtest::WriteFile(path, "LoadConfig { music_volume = 30 }\nLoadConfig { x = ");
    EXPECT_EQ(LUA_ERRSYNTAX, Cfg().ReadFile(path));
    Cfg().Set("music_volume", Variant(35.0));
    EXPECT_EQ(1u, GetPostedEventQueue().Size());
    GetPostedEventQueue().Clear();
    EXPECT_TRUE(volume.updates.empty());

    // An update posted before the file failed outlives the configuration that posted it
    // and is freed after delivery.
    bbtest::WriteFile(path, "LoadConfig { music_volume = 20 }\nerror('broken')\n");
    EXPECT_EQ(LUA_ERRRUN, Cfg().ReadFile(path));
    m_Config.reset();
    EXPECT_EQ(1, DeliverPosted());
    EXPECT_EQ(std::vector<std::string>{"music_volume=20"}, volume.updates);
}

TEST_F(ConfigTest, BinderStoresTheWidgetValue)
{
    Run("LoadConfig { sfx_volume = 75 }");
    Slider slider;
    slider.value = 42.0;
    {
        ConfigDataBinder binder("sfx_volume");
        EXPECT_EQ(Variant(75.0), binder.GetValue());
        // A value the widget only shows is not stored.
        Event shown = MakeEvent(MAKO_VALUECHANGE, VALUECHANGE_SHOWN, static_cast<Object*>(&slider));
        EXPECT_TRUE(binder.OnEvent(shown));
        EXPECT_EQ(75.0, Cfg().GetNumber("sfx_volume"));
        Event change =
            MakeEvent(MAKO_VALUECHANGE, VALUECHANGE_CHOSEN, static_cast<Object*>(&slider));
        EXPECT_TRUE(binder.OnEvent(change));
        EXPECT_EQ(42.0, Cfg().GetNumber("sfx_volume"));
        EXPECT_EQ(Variant(42.0), binder.GetValue());
        EXPECT_EQ(1, DeliverPosted()); // the binder observes its own key

        Event broadcast = MakeEvent(MAKO_VALUECHANGE);
        EXPECT_FALSE(binder.OnEvent(broadcast)); // no widget named: not handled
    }
    EXPECT_TRUE(Global("Config_Metadata")["sfx_volume"]["observers"].IsNil());
}

TEST_F(ConfigTest, ShippedFilesLoadAndKeepTheirLayout)
{
    RunShipped("bumperlux_Const.cfg");
    int constants = 0;
    for (LuaPlus::LuaTableIterator it(Global("ConstConfig")); it; it.Next())
        ++constants;
    // The game's 136, the seven font roles, the physics sub-steps, the 90 medal texts and goals.
    EXPECT_EQ(234, constants);
    EXPECT_EQ("bkgLevel", Cfg().GetObject("loadOnDemand")[1].ToString());
    EXPECT_EQ(20, Cfg().GetInteger("CollisionIterations"));
    EXPECT_EQ(1e-7, Cfg().GetNumber("GlobalCFM"));
    EXPECT_EQ(800000, Cfg().GetInteger("rank.Adventure.Legend.winnings"));
    EXPECT_EQ("DejaVuSans-Bold.ttf", Cfg().GetString("ButtonFont"));
    EXPECT_EQ(-4, Cfg().GetObject("CardViewModeOffset")[2].GetInteger());
    EXPECT_EQ("Oh No!", Cfg().Retrieve("gameOverTitleText").ToString());

    // The defaults files are exactly what writing them back produces.
    RunShipped("bumperlux_Defaults.cfg");
    EXPECT_EQ(ShippedFile("bumperlux_Defaults.cfg"), "LoadConfig " + DataText());
    EXPECT_EQ(50, Cfg().GetInteger("music_volume"));
}

TEST(ArcadeConfigFiles, LoadInAStateOfTheirOwn)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    InitLuaState(state);
    {
        Config config(state);
        state->DoString(ShippedFile("Arcade_Const.cfg").c_str());
        state->DoString(ShippedFile("Arcade_Defaults.cfg").c_str());
        std::string text = "LoadConfig ";
        Serialize(state->GetGlobal("Config_Data"), "", SERIALIZE_SORTED, text);
        EXPECT_EQ(ShippedFile("Arcade_Defaults.cfg"), text);
        EXPECT_EQ(1e-5, config.GetNumber("GlobalCFM"));
        EXPECT_EQ(2000, config.GetInteger("ShortcutKeyTimeout"));
        EXPECT_EQ(80.0, config.GetNumber("PowerupGravity"));
    }
    LuaPlus::LuaState::Destroy(state);
}

// Configurations made on other states (a tool's, a test's) may come and go in any order:
// the newest one alive stays the current one, and the first is current again once every
// later one is gone.
TEST_F(ConfigTest, TheNewestConfigurationAliveIsCurrentWhateverOrderTheyGoIn)
{
    ASSERT_EQ(&Cfg(), Config::GetCurrent());
    for (const bool earlierGoesFirst : {true, false}) {
        SCOPED_TRACE(earlierGoesFirst ? "earlier goes first" : "later goes first");
        LuaPlus::LuaState* states[] = {LuaPlus::LuaState::Create(true),
                                       LuaPlus::LuaState::Create(true)};
        auto second = std::make_unique<Config>(states[0]);
        auto third = std::make_unique<Config>(states[1]);
        EXPECT_EQ(third.get(), Config::GetCurrent());
        if (earlierGoesFirst) {
            second.reset();
            EXPECT_EQ(third.get(), Config::GetCurrent());
        } else {
            third.reset();
            EXPECT_EQ(second.get(), Config::GetCurrent());
        }
        second.reset();
        third.reset();
        EXPECT_EQ(&Cfg(), Config::GetCurrent());
        for (LuaPlus::LuaState* state : states)
            LuaPlus::LuaState::Destroy(state);
    }
}

// Two copies of the game with one configuration file (two script states): a write never
// undoes what the other saved after this one read the file. Changed settings are held and the
// newer file kept; unchanged ones leave the file alone; a file that was missing must still be.
TEST_F(ConfigTest, AWriteNeverUndoesAConfigurationAnotherCopySavedAfterThisOneReadIt)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/bumperlux.cfg";
    // As the game writes it, so that a copy that changes nothing has nothing to write.
    bbtest::WriteFile(path, "LoadConfig {\n    music_volume = 17,\n}\n");
    EXPECT_EQ(0, Cfg().ReadFile(path));

    LuaPlus::LuaState* other = LuaPlus::LuaState::Create(true);
    InitLuaState(other);
    std::string theirs;
    {
        Config second(other);
        EXPECT_EQ(0, second.ReadFile(path));
        // Nothing changed: nothing written.
        const std::filesystem::file_time_type before = std::filesystem::last_write_time(path);
        second.Write(path);
        EXPECT_EQ(before, std::filesystem::last_write_time(path));
        second.Set("music_volume", Variant(30.0));
        second.Write(path);
        theirs = bbtest::ReadFile(path);
        EXPECT_NE(std::string::npos, theirs.find("music_volume = 30,"));
    }
    LuaPlus::LuaState::Destroy(other);

    bbtest::OutputCapture out(1);
    // This copy changed nothing: the other's file stays, and nothing is held.
    Cfg().Write(path);
    EXPECT_EQ(theirs, bbtest::ReadFile(path));
    EXPECT_FALSE(Cfg().IsFileHeld(path));
    // It changed a setting: the newer file is still kept, and the file held from now on.
    const int told = SaveNotice::CountPending();
    Run("Config.music_volume = 50");
    Cfg().Write(path);
    Cfg().Write(path);
    EXPECT_EQ(theirs, bbtest::ReadFile(path));
    EXPECT_TRUE(Cfg().IsFileHeld(path));
    const std::string said = "Warning: the configuration file \"" + path +
                             "\" stays where it is (it changed after this copy of the game read "
                             "it (another copy saved it, or something else was put in its place)";
    EXPECT_NE(std::string::npos, out.Text().find(said)) << out.Text();
    // The player is told once which settings were lost.
    EXPECT_EQ(told + 1, SaveNotice::CountPending());
    EXPECT_NE(std::string::npos, out.Text().find("Not saved: the settings music_volume. Another"));

    // Missing when read, made by another copy before this one quits.
    const std::string fresh = home.Path() + "/fresh.cfg";
    EXPECT_EQ(USERFILE_STATUS_MISSING, Cfg().ReadFile(fresh));
    bbtest::WriteFile(fresh, "LoadConfig { music_volume = 3 }\n");
    Cfg().Write(fresh);
    EXPECT_EQ("LoadConfig { music_volume = 3 }\n", bbtest::ReadFile(fresh));

    // A copy that may not save holds every file, read or not.
    const std::string third = home.Path() + "/third.cfg";
    bbtest::OutputCapture held(1);
    Cfg().HoldEveryFile("the single-instance lock cannot be taken: Permission denied");
    Cfg().Write(third);
    EXPECT_FALSE(Exists(third));
    EXPECT_NE(std::string::npos,
              held.Text().find("Warning: the configuration is not saved in this run (the "
                               "single-instance lock cannot be taken: Permission denied)"))
        << held.Text();
}
