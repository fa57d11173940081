#include "core/Config.h"

#include "core/AtomicFile.h"
#include "core/ConfigLibrary.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Object.h"
#include "core/SaveNotice.h"
#include "core/UserDataFile.h"
#include "lua/LuaFunctionList.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "lua/SerializeCheck.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using LuaPlus::LuaTableIterator;

namespace {

// Every configuration alive, oldest first: the newest is the current one (GetCurrent).
std::vector<Config*>& LiveConfigs()
{
    static std::vector<Config*> live;
    return live;
}

// Raises a failed assertion of the expression text.
[[noreturn]] void FailAssertion(const char* expression)
{
    throw Exception(MAKO_WHERE, boost::str(boost::format("Assertion failed: (%1%)") % expression));
}

// Raises the failure of a script call made through the wrapper as a ScriptError.
[[noreturn]] void ThrowScriptError(const LuaException& e)
{
    MAKO_THROW(ScriptError, e.GetMessage());
}

// Calls the script global `name`, which must be a function.
template <typename... Args> void CallLibrary(LuaState* state, const char* name, const Args&... args)
{
    LuaObject function = state->GetGlobal(name);
    if (!function.IsFunction())
        FailAssertion("m_LuaState->Stack(-1).IsFunction()");
    try {
        function.Call(args...);
    } catch (const LuaException& e) {
        ThrowScriptError(e);
    }
}

[[noreturn]] void ThrowWrongType(const std::string& key, const LuaObject& value, const char* kind)
{
    MAKO_THROW(Exception, boost::str(boost::format("Configuration value \"%1%\" should be %2%, "
                                                   "but it is a %3%.") %
                                     key % kind % value.TypeName()));
}

// Config_SignalObservers(key): the observers of key on the state's configuration hear of
// its new value. Nothing happens when the configuration is gone.
int SignalObserversBody(lua_State* L)
{
    lua_getglobal(L, "Config_Instance");
    auto* config = static_cast<Config*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    if (config && lua_type(L, 1) == LUA_TSTRING)
        config->SignalObservers(lua_tostring(L, 1));
    return 0;
}

// Config_CannotSave(value): why the file writer could not write value ("holds itself"),
// or nil when it can.
int CannotSaveBody(lua_State* L)
{
    lua_settop(L, 1);
    const std::string problem = WhyCannotSerialize(LuaObject(L, 1));
    if (problem.empty())
        lua_pushnil(L);
    else
        lua_pushlstring(L, problem.data(), problem.size());
    return 1;
}

const PlayerFileKeeper::Wording kConfigWording = {
    "Warning: the configuration file \"%1%\" stays where it is (%2%): the settings are played "
    "without saving to it, and the file is never written over.\n",
    "Warning: the configuration is not saved in this run (%1%): the settings are played "
    "without saving, and no configuration file is written over.\n"};

} // namespace

Config::Config(LuaState* state) : m_LuaState(state), m_Keeper(kConfigWording)
{
    MAKO_ASSERT(m_LuaState != 0);
    const std::string& library = GetConfigLibraryText();
    try {
        m_LuaState->DoBuffer(library.data(), library.size(), "=ConfigLibrary");
        // The tables first: when they already exist (a second Config on this state) the
        // construction fails before Config_Instance could be pointed at an object that
        // never comes to be, and the state's own configuration keeps working.
        m_LuaState->GetGlobal("InitTables").Call();
        m_LuaState->GetGlobals().SetLightUserData("Config_Instance", this);
        m_LuaState->GetGlobals().SetCFunction("Config_SignalObservers", SignalObserversBody);
        m_LuaState->GetGlobals().SetCFunction("Config_CannotSave", CannotSaveBody);
    } catch (const LuaException& e) {
        ThrowScriptError(e);
    }
    LiveConfigs().push_back(this);
}

Config::~Config()
{
    std::vector<Config*>& live = LiveConfigs();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // Scripts that still assign keys must not reach this object any more.
    LuaObject instance = m_LuaState->GetGlobal("Config_Instance");
    if (instance.IsLightUserData() && instance.GetLightUserData() == this)
        m_LuaState->GetGlobals().SetNil("Config_Instance");
}

Config* Config::GetCurrent()
{
    const std::vector<Config*>& live = LiveConfigs();
    return live.empty() ? nullptr : live.back();
}

int Config::ReadFile(const std::string& path)
{
    // The file is data: it sees its loader and nothing else.
    LuaObject environment;
    environment.AssignNewTable(m_LuaState);
    environment.SetObject("LoadConfig", m_LuaState->GetGlobal("LoadConfig"));

    LuaObject globals = m_LuaState->GetGlobals();
    globals.SetString("Config_CurrentSource", path);
    std::string error;
    int status = 0;
    try {
        status = m_Keeper.Run(m_LuaState, path, environment, "configuration file " + path, error);
    } catch (...) {
        globals.SetNil("Config_CurrentSource");
        throw;
    }
    globals.SetNil("Config_CurrentSource");
    m_Keeper.Forget(path);
    if (status == USERFILE_STATUS_MISSING)
        LogAtLevel(2, "No configuration file at \"%s\"; using the defaults.\n", path.c_str());
    else if (status == LUA_ERRFILE)
        m_Keeper.Hold(path, "it could not be read: " + error);
    else if (status != 0 && !KeepFileAside(path, error))
        m_Keeper.Hold(path, "it could not be set aside: " + error);
    else if (status != 0)
        m_Keeper.NoteRead(path);
    return status;
}

LuaObject Config::GetTable(const char* name) const
{
    LuaObject table = m_LuaState->GetGlobal(name);
    if (!table.IsTable())
        FailAssertion("m_LuaState->Stack(-1).IsTable()");
    return table;
}

LuaObject Config::GetObject(const std::string& key) const
{
    LuaObject value = GetTable("ConstConfig").RawGet(key);
    if (value.IsNil())
        value = GetTable("Config_Data").RawGet(key);
    return value;
}

int Config::GetInteger(const std::string& key) const
{
    LuaObject value = GetObject(key);
    if (value.IsNil())
        return 0;
    if (!value.IsNumber())
        ThrowWrongType(key, value, "a number");
    return value.GetInteger();
}

double Config::GetNumber(const std::string& key) const
{
    LuaObject value = GetObject(key);
    if (value.IsNil())
        return 0.0;
    if (!value.IsNumber())
        ThrowWrongType(key, value, "a number");
    return value.GetNumber();
}

bool Config::GetBoolean(const std::string& key) const
{
    LuaObject value = GetObject(key);
    if (value.IsNil())
        return false;
    if (!value.IsBoolean())
        ThrowWrongType(key, value, "a boolean");
    return value.GetBoolean();
}

std::string Config::GetString(const std::string& key) const
{
    LuaObject value = GetObject(key);
    if (value.IsNil())
        return std::string();
    if (!value.IsString())
        ThrowWrongType(key, value, "a string");
    return std::string(value.GetString(), value.GetStrLen());
}

Color Config::GetColor(const std::string& key, const Color& def) const
{
    LuaObject value = GetObject(key);
    if (value.IsNil())
        return def;
    return Color(value);
}

Variant Config::Retrieve(const std::string& key) const
{
    Variant value = MakoLuaState::GetVariant(GetTable("ConstConfig").RawGet(key));
    if (value.IsNil())
        value = MakoLuaState::GetVariant(GetTable("Config_Data").RawGet(key));
    return value;
}

void Config::Set(const std::string& key, const LuaObject& value)
{
    LuaObject proxy = GetTable("Config");
    try {
        proxy.SetObject(key, value);
    } catch (const LuaException& e) {
        ThrowScriptError(e);
    }
}

void Config::Set(const std::string& key, const Variant& value)
{
    Set(key, MakoLuaState::ToLuaObject(m_LuaState, value));
}

void Config::SetBoolean(const std::string& key, bool value)
{
    LuaObject object;
    object.AssignBoolean(m_LuaState, value);
    Set(key, object);
}

void Config::AttachObserver(Object* observer, const std::string& key)
{
    CallLibrary(m_LuaState, "Config_AttachObserver", static_cast<void*>(observer), key);
}

void Config::DetachObserver(Object* observer, const std::string& key)
{
    CallLibrary(m_LuaState, "Config_DetachObserver", static_cast<void*>(observer), key);
}

void Config::SignalObservers(const std::string& key)
{
    LuaObject record = GetTable("Config_Metadata").RawGet(key);
    if (!record.IsTable())
        return;
    LuaObject observers = record.RawGet("observers");
    if (!observers.IsTable())
        return;
    // A copy of the list: an observer may be detached while the events are posted.
    std::vector<Object*> list;
    int count = observers.GetCount();
    for (int i = 1; i <= count; ++i) {
        LuaObject observer = observers.RawGet(i);
        if (observer.IsLightUserData())
            list.push_back(static_cast<Object*>(observer.GetLightUserData()));
    }
    for (Object* observer : list)
        SignalObserver(key, observer);
}

void Config::SignalObserver(const std::string& key, Object* observer)
{
    // The event queue deletes the object after dispatch (EVENT_DATA1_LUAOBJECT).
    auto update = std::make_unique<LuaObject>();
    update->AssignNewTable(m_LuaState);
    update->SetString("key", key);
    update->SetObject("value", GetObject(key));
    GetPostedEventQueue().Post(observer, MAKO_CONFIGUPDATE, 0, update.get(), nullptr);
    update.release();
}

void Config::SignalAllObservers()
{
    LuaObject data = GetTable("Config_Data");
    std::vector<std::string> keys;
    for (LuaTableIterator it(GetTable("Config_Metadata")); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (!key.IsString() || !it.GetValue().IsTable())
            continue;
        if (!it.GetValue().RawGet("observers").IsNil() && !data.RawGet(key).IsNil())
            keys.emplace_back(key.GetString(), key.GetStrLen());
    }
    for (const std::string& key : keys)
        SignalObservers(key);
}

namespace {

// The configuration file's text of Config_Data.
std::string ConfigText(const LuaObject& data)
{
    std::string text = "LoadConfig ";
    Serialize(data, "", SERIALIZE_SORTED, text);
    return text;
}

// The names of the settings whose lines differ between two texts of Config_Data.
std::string ChangedSettings(const std::string& before, const std::string& after)
{
    const auto settings = [](const std::string& text) {
        std::set<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (line.compare(0, 4, "    ") == 0 && line.size() > 4 && line[4] != ' ')
                lines.insert(line);
        return lines;
    };
    const std::set<std::string> was = settings(before);
    const std::set<std::string> is = settings(after);
    std::set<std::string> names;
    for (const auto* one : {&was, &is})
        for (const std::string& line : *one)
            if (!(one == &was ? is : was).count(line))
                names.insert(line.substr(4, line.find(" = ") - 4));
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

// File -> the settings' text as this copy read it (NoteTakenIn), to name those a refused
// save would have changed.
std::map<std::string, std::string>& TakenIn()
{
    static std::map<std::string, std::string> texts;
    return texts;
}

} // namespace

void Config::NoteTakenIn(const std::string& path)
{
    TakenIn()[path] = ConfigText(GetTable("Config_Data"));
    m_Keeper.NoteReadAs(path, TakenIn()[path]);
}

KeeperSave Config::Write(const std::string& path)
{
    if (IsFileHeld(path)) {
        LogAtLevel(3, "The configuration is not saved: its file \"%s\" is held.\n", path.c_str());
        return m_Keeper.Save(path, std::string());
    }
    const std::string text = ConfigText(GetTable("Config_Data"));
    // A file the next start would refuse to read is not written: the old one stays.
    if (text.size() > kUserFileMaxBytes)
        throw FileWriteError(MAKO_WHERE, path, EFBIG);
    const KeeperSave save = m_Keeper.Save(path, text);
    if (save.outcome == KEEPER_UNCHANGED)
        LogAtLevel(3, "The configuration is not saved: nothing changed since \"%s\" was read.\n",
                   path.c_str());
    else if (save.outcome == KEEPER_SAVED)
        Log("writing cfg to: %s\n", path.c_str());
    else if (save.outcome == KEEPER_FAILED)
        throw FileWriteError(MAKO_WHERE, path, save.error);
    else if (save.outcome == KEEPER_REFUSED)
        SaveNotice::Refused("the settings " + ChangedSettings(TakenIn()[path], text));
    return save;
}

void Config::HoldEveryFile(const std::string& reason)
{
    m_Keeper.HoldEvery(reason);
}
