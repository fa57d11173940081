#pragma once
// The configuration: named values in two layers of script tables of one script state.
// Constants (ConstConfig) ship with the program and are never written; user values
// (Config_Data) come from the defaults file and the user's file and are written back by
// Write. Scripts read and write through the proxy table Config (user value first);
// native reads here give constants priority. Objects observe single keys and receive a
// posted MAKO_CONFIGUPDATE whose data1 is a heap LuaObject {key = key, value = value},
// released by the event queue after dispatch.
//
// Exactly one Config exists per script state. The most recently constructed one still
// alive is the process's current configuration (GetCurrent): one made and destroyed while
// an older one lives gives the role back to it, whatever order they go in. In the running
// program that is the application's (Application::GetConfig). Main thread only.
#include "core/PlayerFileKeeper.h"
#include "geometry/Color.h"
#include "lua/Variant.h"
#include "luaplus/LuaPlus.h"

#include <string>

class Object;

class Config
{
public:
    // Runs the configuration library in the state, publishes Config_Instance and the
    // native Config_SignalObservers, and creates the tables. A null state fails the
    // assertion "m_LuaState != 0"; a second Config on one state fails the library's own
    // assertions.
    explicit Config(LuaPlus::LuaState* state);
    ~Config();
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    // The configuration of the running program; null when none exists.
    static Config* GetCurrent();

    LuaPlus::LuaState* GetLuaState() const { return m_LuaState; }

    // Runs the user's configuration file at path in an environment that holds only
    // LoadConfig. Returns 0 when it ran; USERFILE_STATUS_MISSING when there is no such file
    // (normal on a first run); LUA_ERRFILE when it is there but cannot be read (no
    // permission, a folder, a link loop, a FIFO, an I/O error); LUA_ERRSYNTAX or LUA_ERRRUN
    // when it is broken: the file is then renamed to path + ".bad" with a warning, and the
    // keys it loaded before the failure stay. A file that cannot be read, or is broken and
    // cannot be set aside, is held: it stays as it is, the settings are played without
    // saving to it (Write leaves it alone), and the log says so once, naming the file and
    // the reason. Reading the same file again forgets its hold. A file that runs for more
    // than ten million instructions (an endless loop) is stopped and counts as broken, so it
    // can never hold start-up. A native exception raised by an observer while the file loads
    // passes through unchanged.
    int ReadFile(const std::string& path);

    // ConstConfig[key], else Config_Data[key] (nil when neither has it).
    LuaPlus::LuaObject GetObject(const std::string& key) const;
    // The value converted; a missing key reads 0, 0.0, false and "". A value of another
    // type raises Exception naming the key and the type found.
    int GetInteger(const std::string& key) const;
    double GetNumber(const std::string& key) const;
    bool GetBoolean(const std::string& key) const;
    std::string GetString(const std::string& key) const;
    // The colour the value describes (a colour name or {r, g, b[, a]}), else def.
    Color GetColor(const std::string& key, const Color& def) const;
    // The same lookup as a Variant: nil when missing; a table or function value raises
    // ScriptError "Could not convert type %1% to a Variant.".
    Variant Retrieve(const std::string& key) const;

    // Config[key] = value through the proxy: a constant key raises ScriptError "...Cannot
    // overwrite a const config variable" and changes nothing; observers are signalled.
    void Set(const std::string& key, const LuaPlus::LuaObject& value);
    void Set(const std::string& key, const Variant& value);
    void SetBoolean(const std::string& key, bool value);

    // Observers of one key; attaching twice gives two events per change until detached
    // twice. Detaching an observer that is not attached leaves the list unchanged;
    // detaching from a key that never had observers fails an assertion.
    void AttachObserver(Object* observer, const std::string& key);
    void DetachObserver(Object* observer, const std::string& key);

    // Posts MAKO_CONFIGUPDATE to every observer of key, in list order.
    void SignalObservers(const std::string& key);
    void SignalObserver(const std::string& key, Object* observer);
    // Signals every key that has observers and a user value (end of start-up).
    void SignalAllObservers();

    // Replaces the file at path with "LoadConfig " and the sorted text of Config_Data
    // (lua/LuaSerializer.h), whole or not at all. Logs "writing cfg to: <path>". A file
    // that cannot be written raises FileWriteError (core/AtomicFile.h) and the old one stays.
    // A held file (see ReadFile) is not written and nothing is raised. Nothing is written
    // when the text is what this copy read (NoteTakenIn) or what the file holds; and never
    // over a file another copy of the game wrote after this one read it (core/FileIdentity; a
    // file never read must not exist): the newer file is kept, and held for the rest of the
    // run, with a warning, and the player is told which settings were not saved
    // (core/SaveNotice). Returns what became of the save (never KEEPER_FAILED: that raises).
    KeeperSave Write(const std::string& path);
    // Notes the settings as they stand now as what this copy read from path (the file read,
    // the defaults and the start's own settings taken in): a later Write of the same settings
    // changed nothing of the user's, and writes nothing.
    void NoteTakenIn(const std::string& path);
    // Whether ReadFile or Write held the file at path, or every file is held.
    bool IsFileHeld(const std::string& path) const { return m_Keeper.IsHeld(path); }
    // Holds every configuration file for the rest of the run, for the reason given (this copy
    // of the game may not save: the single-instance lock could not be taken).
    void HoldEveryFile(const std::string& reason);

private:
    // A global table of the state; fails "m_LuaState->Stack(-1).IsTable()" otherwise.
    LuaPlus::LuaObject GetTable(const char* name) const;

    LuaPlus::LuaState* m_LuaState;
    // Reads, holds and writes the configuration files.
    PlayerFileKeeper m_Keeper;
};
