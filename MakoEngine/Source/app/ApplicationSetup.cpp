// The application's identity and its files: the command line, the start-up properties
// (defaults, start-up script, options), the folders and file names, the log file, the
// configuration files and the first scripts.
#include "app/Application.h"

#include "app/CommandLineOptions.h"
#include "core/AtomicFile.h"
#include "core/Config.h"
#include "core/CrashReporting.h"
#include "core/DataRange.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/PlayerFileKeeper.h"
#include "core/SaveTurn.h"
#include "core/UserDataFile.h"
#include "core/Utility.h"
#include "display/CDXLog.h"
#include "lua/MakoLuaState.h"
#include "win32/Folders.h"

#include <boost/format.hpp>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Makes a folder the game writes into. One that cannot be made (a read-only data folder) is
// logged and does not stop the start: each write into it fails later with its own message.
void MakeWritableFolder(const std::string& path)
{
    std::string why;
    if (!ObjectBoundary::Contain([&] { CreateDirectories(path); }, &why))
        Log("Warning: %s\n", why.c_str());
}

// Folder names are written with backslashes, as the engine's Windows folder calls take
// them; on disk they use '/'.
std::string WithTrailingSeparator(const std::string& path, char separator)
{
    if (!path.empty() && path.back() == separator)
        return path;
    return path + separator;
}

// The DirectDraw layer's trace goes into the engine log.
void LogCDXLine(const char* line)
{
    Log("%s", line);
}

// Removes what saves of the user's files cut short by a killed process left beside them,
// unless another instance runs and may be saving them right now.
void RemoveStaleSaves(const std::vector<std::string>& files, std::uint32_t appCode,
                      const std::string& savesFolder)
{
    if (!IsOnlyInstance(appCode, savesFolder))
        return;
    // A copy allowed beside this one (--multiapp) holds its folder's turn while it writes: a
    // folder whose turn is not free at once keeps its files for a later start.
    for (const std::string& file : files)
        PlayerFileKeeper::RemoveStaleSaves(file);
}

// "" when the value is a port number: a plain decimal number of at most five digits, at most
// 65535 (0 lets the system pick a free port); else the mistake naming the option.
std::string DebuggerPortMistake(const std::string& value)
{
    const bool digits =
        !value.empty() && value.size() <= 5 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits && std::stol(value) <= 65535)
        return "";
    return "The command line option --luadebugport needs a port number from 0 to 65535 (0 "
           "picks a free port), not \"" +
           value + "\".";
}

// The name the option list shows for the program: its file name as started.
std::string ProgramName(const std::string& arg0, const std::string& fallback)
{
    const std::string name = arg0.substr(arg0.find_last_of('/') + 1);
    return name.empty() ? fallback : name;
}

} // namespace

std::uint32_t AppCodeFromString(const std::string& inputStr)
{
    MAKO_ASSERT_MSG(inputStr.length() == 4,
                    "An app code's string must be exactly four characters long.");
    std::uint32_t code = 0;
    for (int i = 3; i >= 0; --i)
        code = (code << 8) | static_cast<unsigned char>(inputStr[static_cast<std::size_t>(i)]);
    return code;
}

void Application::ParseCmdLineArgs(int argc, char** argv)
{
    m_Words.clear();
    m_Args.clear();
    for (int i = 0; i < argc; ++i)
        m_Words.emplace_back(argv[i] ? argv[i] : "");
    // The words as given, each quoted (an empty one shows as ''), whatever they mean.
    Log("Command Line Parameters: ");
    for (const std::string& word : m_Words)
        Log("'%s' ", word.c_str());
    Log("\n");
    m_Args.push_back(m_Words.empty() ? std::string() : m_Words[0]);
    std::string pending;
    int options = 0;
    for (std::size_t i = 1; i < m_Words.size(); ++i) {
        const std::string& word = m_Words[i];
        // An empty word joins no entry: the command line's check refuses it.
        if (word.empty())
            continue;
        // "-1" is a value (a negative number), not an option: the option before it gets it.
        const bool isNumber = word.size() > 1 && std::isdigit(static_cast<unsigned char>(word[1]));
        if (word[0] == '-' && !isNumber) {
            m_Args.push_back(pending);
            pending = word;
            ++options;
        } else {
            if (options > 0)
                pending += ' ';
            pending += word;
        }
    }
    if (!pending.empty())
        m_Args.push_back(pending);
}

std::string Application::GetArg(std::size_t index) const
{
    MAKO_ASSERT(index < GetNumArgs());
    return m_Args[index];
}

bool Application::HasCommandLineArg(const std::string& option) const
{
    for (std::size_t i = 1; i < m_Args.size(); ++i)
        if (m_Args[i].substr(0, m_Args[i].find(' ')) == option)
            return true;
    return false;
}

void Application::SetDefaultProperties()
{
    ApplyBoolProperty("allowGrabInputStateChange", true);
    ApplyBoolProperty("allowMultipleInstances", false);
    ApplyBoolProperty("allowShowCursorStateChange", true);
    ApplyBoolProperty("enableEditor", false);
    ApplyBoolProperty("enableHWAccel", false);
    ApplyBoolProperty("overrideHWAccelInConfig", false);
    ApplyBoolProperty("enableLuaDebugger", false);
    ApplyBoolProperty("enableMusic", true);
    ApplyBoolProperty("enableSafeMode", false);
    ApplyBoolProperty("enableSound", true);
    ApplyBoolProperty("enableVSync", true);
    ApplyBoolProperty("fullRedraw", false);
    ApplyBoolProperty("keepCWD", false);
    ApplyBoolProperty("enableConsole", false);
    ApplyBoolProperty("useExeResources", true);
    ApplyBoolProperty("usePackageFiles", true);
}

void Application::AddCommandLineOptions(CommandLineOptions& options)
{
    auto set = [this](const char* property, bool value) {
        return [this, property, value](const std::string&) { ApplyBoolProperty(property, value); };
    };
    auto logLevel = [this](int level) {
        return [this, level](const std::string&) { ApplyIntProperty("logLevel", level); };
    };
    options.Add(
        {"--fullscreen", "-f", "display mode", "play on the full screen", set("fullScreen", true)});
    options.Add({"--windowed", "-w", "display mode", "play in a window", set("fullScreen", false)});
    options.SetGroupConflictText("display mode",
                                 "Both fullscreen and windowed modes were specified on the "
                                 "command line.");
    options.Add(
        {"--hwaccel", "", "drawing", "draw through the Direct3D path", set("enableHWAccel", true)});
    options.Add({"--nohwaccel", "", "drawing", "draw through the plain SDL path",
                 set("enableHWAccel", false)});
    options.Add(
        {"--fullredraw", "", "", "draw and present every frame whole", set("fullRedraw", true)});
    options.Add({"--nosound", "", "", "no sound", set("enableSound", false)});
    options.Add({"--nomusic", "", "", "no music", set("enableMusic", false)});
    options.Add({"--console", "", "", "the log on standard output; Lua lines from standard input",
                 set("enableConsole", true)});
    for (int level = 0; level <= 4; ++level)
        options.Add({"--log" + std::to_string(level), "", "log level",
                     level == 0 ? "the log level, from 0 (least) to 4 (all)" : "",
                     logLevel(level)});
    options.Add({"--log", "-log", "log level", "the log level 4", logLevel(4)});
    options.Add({"--logoff", "-logoff", "log level", "the log level 0", logLevel(0)});
    options.Add({"--luadebug", "", "", "start the script debugger (this computer only)",
                 set("enableLuaDebugger", true)});
    CommandLineOption port("--luadebugport", "", "", "start it on port N (0: a free port)",
                           [this](const std::string& value) {
                               ApplyBoolProperty("enableLuaDebugger", true);
                               ApplyIntProperty("luaDebuggerPort", std::stoi(value));
                           });
    port.valueName = "N";
    port.check = &DebuggerPortMistake;
    options.Add(port);
    options.Add(
        {"--multiapp", "", "", "allow a second running game", set("allowMultipleInstances", true)});
    options.Add({"--keepcwd", "", "", "stay in the starting folder", set("keepCWD", true)});
    options.Add(
        {"--nopkg", "", "", "assets from folders, not the pack", set("usePackageFiles", false)});
    options.Add({"--noExeResources", "", "", "scripts from the source tree",
                 set("useExeResources", false)});
    options.Add({"--debug", "", "", "Ctrl+9 steps frames", nullptr});
    // Read by the crash reporter before the application exists, in any case.
    CommandLineOption crashReports("--disableCrashRpt", "", "",
                                   "a crash report on standard error, not in a folder");
    crashReports.anyCase = true;
    options.Add(crashReports);
    options.Add({"--safemode", "", "", "accepted; changes nothing", set("enableSafeMode", true)});
}

void Application::ReadCommandLine(CommandLineOptions& options)
{
    AddCommandLineOptions(options);
    const std::string mistake = options.Read(m_Words);
    const std::string program = ProgramName(m_Args.empty() ? "" : m_Args[0], m_AppName);
    if (!mistake.empty())
        throw CommandLineStop(MAKO_WHERE, mistake, options.GetSummary(program), 2);
    if (options.IsHelpAsked())
        throw CommandLineStop(MAKO_WHERE, "", options.GetUsage(program), 0);
}

void Application::CheckCommandLine()
{
    CommandLineOptions options;
    ReadCommandLine(options);
}

void Application::ConvertCmdLineArgsToProperties()
{
    CommandLineOptions options;
    ReadCommandLine(options);
    options.Apply();
}

void Application::InitFileNames(const std::string& appName)
{
    m_AppName = appName;
    m_ConstConfigFile = appName + "_Const.cfg";
    m_ConfigFile = appName + ".cfg";
    m_ConfigDefaultsFile = appName + "_Defaults.cfg";
    m_PackageFile = appName + ".fun";
}

void Application::InitFolderNames(const std::string& folderName)
{
    m_FolderName = folderName;
    m_AppDataFolderName = WithTrailingSeparator("tessarine\\" + folderName, '\\');
    m_DocumentsFolderName = WithTrailingSeparator(folderName + " Documents", '\\');
    m_WindowTitle = folderName;
}

void Application::InitExePath()
{
    // The program's own file, as the kernel knows it (argument 0 may be a bare name found
    // through PATH, or relative to a folder since left); argument 0 when that is
    // unavailable.
    std::string exe;
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0)
        exe.assign(buffer, static_cast<std::size_t>(n));
    else
        exe = m_Args.empty() ? std::string() : m_Args[0];
    std::string::size_type slash = exe.find_last_of('/');
    std::string exePath = slash == std::string::npos ? "." : exe.substr(0, slash);
    if (exePath.empty())
        exePath = "/";
    MAKO_ASSERT(FileExists(exePath, EXISTS_DIRECTORY));
    m_ExePath = exePath;
    ApplyStringProperty("exePath", exePath);
}

void Application::RunStartupScript()
{
    std::string path = m_ExePath + "/MakoStartup.lua";
    lua_State* L = m_LuaState->GetCState();
    // The user's own script keeps the full library; only its reading is guarded (a regular
    // file of bounded size, so a FIFO in its place does not stop the start). A script that
    // is there but cannot be read is named and left as it is; the start goes on without it.
    // Read by the keeper of the player's files, which holds it when it cannot be read; the
    // game never writes it.
    static const PlayerFileKeeper::Wording kWording = {
        "Warning: the startup script \"%1%\" could not be read (%2%); the game starts without "
        "it, and the file stays as it is.\n",
        "Warning: the startup script is not run (%1%).\n"};
    PlayerFileKeeper keeper(kWording);
    std::string error, text;
    const UserFileReadResult read = keeper.Read(path, kUserFileMaxBytes, text, error);
    if (read == USERFILE_MISSING)
        return;
    if (read == USERFILE_UNREADABLE) {
        keeper.Hold(path, error);
        return;
    }
    // A file too large to be a script of the user's fails as the script's error.
    if (read == USERFILE_READ)
        Log("Loading startup script from: %s\n", path.c_str());
    if (read == USERFILE_REFUSED) {
    } else if (luaL_loadbuffer(L, text.data(), text.size(), ("@" + path).c_str()) != 0) {
        error = lua_isstring(L, -1) ? lua_tostring(L, -1) : "unknown error";
        lua_pop(L, 1);
    } else {
        LuaPlus::CallFailure failure;
        if (MakoLuaState::Call(L, 0, 0, "startup script " + path, failure))
            return;
        error = failure.hasText ? failure.text : "unknown error";
    }
    MAKO_THROW(ScriptError, "Error in startup script " + path + ": " + error);
}

void Application::InitPaths()
{
    Log("Initializing Paths...\n");
    Log("\tm_DocumentsFolderName = \"%s\"\n", m_DocumentsFolderName.c_str());
    Log("\tCSIDL_PERSONAL = \"%s\"\n", GetWindowsFolderPath(CSIDL_PERSONAL).c_str());
    m_DocumentsFolder = DocumentsFolderOfEnvironment();
    SetDocumentsFolderPath(m_DocumentsFolder);
    MakeWritableFolder(GetSupportFolder());
    MakeWritableFolder(GetPlayerCardsFolder());
    for (int i = 1; i <= 4; ++i)
        AddCrashReportFile(GetPlayerCardsFolder() + "Player" + std::to_string(i) + ".card",
                           "Player " + std::to_string(i) + " Game Data");

    std::string appData = GetWindowsFolderPath(CSIDL_APPDATA);
    Log("\tCSIDL_APPDATA = \"%s\"\n", appData.c_str());
    appData = WithTrailingSeparator(appData, '/');
    Log("\tm_AppDataFolderName = \"%s\"\n", m_AppDataFolderName.c_str());
    m_AppDataFolder = appData + ToNativePath(m_AppDataFolderName);
    MakeWritableFolder(m_AppDataFolder);
    m_ConfigFile = m_AppDataFolder + m_ConfigFile;
    Log("\tm_ConfigFile = \"%s\"\n", m_ConfigFile.c_str());
    AddCrashReportFile(m_ConfigFile, "Global Config File");
}

std::string Application::DocumentsFolderOfEnvironment() const
{
    return WithTrailingSeparator(GetWindowsFolderPath(CSIDL_PERSONAL), '/') +
           ToNativePath(m_DocumentsFolderName);
}

void Application::InitLog()
{
    CDXLog::Get().SetCallback(&LogCDXLine);
    CDXLog::Get().SetTargets(CDXLOG_CALLBACK);
    // Standard output shows the log only to whoever asked for the console; the file keeps
    // everything.
    LuaPlus::LuaObject console;
    RetrieveProperty(console, "enableConsole");
    if (console.IsBoolean() && console.GetBoolean())
        SetLogEcho(true);
    std::string path = GetSupportFolder() + "MakoEngine.log";
    // A log file that cannot be made (a read-only or full data folder, a folder in its
    // place) does not stop the game: it runs with its log on standard error and says so
    // once. The cards are saved on their own, each failed save said where it fails.
    if (int error = TryStartLogFile(path)) {
        LogToStandardError();
        Log("Warning: could not open the log file \"%s\": %s. The game goes on without a log "
            "file (the log goes to standard error); player cards are still saved in \"%s\" "
            "wherever it can be written, and a save that fails says so.\n",
            path.c_str(), std::strerror(error), GetDocumentsFolder().c_str());
        return;
    }
    // Said on standard error when the lock was looked at, before the log had a file.
    if (!m_SavingRefused.empty())
        Log("%s", SingleInstanceWarning(m_SavingRefused).c_str());
    AddCrashReportFile(path, "Engine Log File");
}

void Application::ChdirToExePath()
{
    struct stat attributes;
    if (stat(m_ExePath.c_str(), &attributes) != 0)
        FailCheck(__FILE__, __LINE__, "Application::ChdirToExePath", "dirAttribs != ((DWORD)-1)",
                  boost::str(boost::format("GetFileAttributes failed.\nfile = %1%\nerror = %2%") %
                             m_ExePath % GetErrnoText()));
    // Only a folder is changed into; any other kind of file leaves the directory as it is.
    if (!S_ISDIR(attributes.st_mode))
        return;
    if (chdir(m_ExePath.c_str()) != 0)
        MAKO_THROW(Exception, boost::str(boost::format("Could not chdir:\ndir = %1%\nerror = %2%") %
                                         m_ExePath % std::strerror(errno)));
}

void Application::ReadConfig()
{
    MAKO_ASSERT(!m_ConfigDefaultsFile.empty());
    MAKO_ASSERT(!m_ConfigFile.empty());
    MakoLuaState::DoResourceFile(m_LuaState, m_ConfigDefaultsFile);
    std::vector<std::string> saved = {m_ConfigFile};
    for (int i = 1; i <= 4; ++i)
        saved.push_back(GetPlayerCardsFolder() + "Player" + std::to_string(i) + ".card");
    // A save through a player's link into another folder leaves no lock file there.
    SaveTurn::KeepLocksIn({FolderOf(m_ConfigFile), GetPlayerCardsFolder()});
    RemoveStaleSaves(saved, m_AppCode, GetPlayerCardsFolder());
    m_Config->ReadFile(m_ConfigFile);

    if (RetrieveBoolProperty("overrideHWAccelInConfig")) {
        m_Config->SetBoolean("use_3d_acceleration", m_HWAccel);
    } else {
        LuaPlus::LuaObject configured = m_Config->GetObject("use_3d_acceleration");
        if (configured.IsBoolean())
            SetHWAccelEnabled(configured.GetBoolean());
        else
            m_Config->SetBoolean("use_3d_acceleration", m_HWAccel);
    }
    // What the start itself settled is not the user's change: a copy that changes nothing
    // writes nothing.
    m_Config->NoteTakenIn(m_ConfigFile);
}

std::string Application::WriteConfig()
{
    MAKO_ASSERT(!m_ConfigFile.empty());
    if (!m_Config)
        return "there is no configuration";
    if (SkipSaveOfCutShortStart())
        return "the start was cut short";
    // A configuration that cannot be saved (full disk, read-only folder) costs the user the
    // changes of this run, not the program: the old file stays as it was.
    try {
        const KeeperSave save = m_Config->Write(m_ConfigFile);
        return save.IsSaved() ? std::string() : save.reason;
    } catch (const FileWriteError& e) {
        Log("Warning: Could not save the configuration \"%s\": %s. The previous file was "
            "kept.\n",
            e.GetPath().c_str(), e.GetCause().c_str());
        return e.GetCause();
    }
}

void Application::LoadScripts()
{
    MakoLuaState::DoResourceFile(m_LuaState, "Utility.lua");
    if (!m_ConstConfigFile.empty())
        MakoLuaState::DoResourceFile(m_LuaState, m_ConstConfigFile);
    if (!m_SiteConfigFile.empty())
        MakoLuaState::DoResourceFile(m_LuaState, m_SiteConfigFile);
    MakoLuaState::DoResourceFile(m_LuaState, "PlayerDefaults.lua");
    MakoLuaState::DoResourceFile(m_LuaState, "Player.lua");
    MakoLuaState::DoResourceFile(m_LuaState, "Resource.lua");
    InitPathsTable();
}

void Application::InitPathsTable()
{
    LuaPlus::LuaObject globals = m_LuaState->GetGlobals();
    LuaPlus::LuaObject paths = globals.GetByName("Paths");
    if (!paths.IsTable())
        paths = globals.CreateTable("Paths");
    paths.SetString("PlayerData", GetPlayerCardsFolder());
}

void Application::InitLogLevel()
{
    LogAtLevel(3, "Application::Load in Default Log Level\n");
    // A log option (or the start-up script) sets the level of this run over the
    // configuration's, which stays as it is and is saved as it was.
    LuaPlus::LuaObject asked;
    RetrieveProperty(asked, "logLevel");
    LuaPlus::LuaObject configured =
        m_Config ? m_Config->GetObject("log_level") : LuaPlus::LuaObject();
    int level = 0;
    if (asked.IsNil() && configured.IsNumber()) {
        // The levels the log knows, 0 (silent) to 4 (every line); the range is checked on
        // the number as written, before it becomes an int.
        bool changed = false;
        const double written = configured.GetNumber();
        level = DataRange::HoldInt(written, 0, 4, 1, changed);
        if (changed)
            Log("WARNING: Configuration key \"log_level\" holds %s, outside 0..4; using %d.\n",
                DataRange::Text(written).c_str(), level);
    } else
        level = RetrieveIntProperty("logLevel");
    LogAtLevel(0, "Application::Setting Log Level to %d\n", level);
    SetLogLevel(level);
}
