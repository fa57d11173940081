#include "logic/LevelKeyCheck.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/ClosestName.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/TableOrder.h"
#include "core/WorkMeter.h"
#include "logic/LevelClasses.h"
#include "logic/LevelKeys.h"
#include "logic/LevelPlace.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <unordered_set>
#include <vector>

using LuaPlus::LuaObject;

// What a session has done so far.
struct LevelKeyCheck::Session::State
{
    std::unordered_set<const void*> checked;  // tables whose keys were checked
    std::unordered_set<const void*> screened; // tables the class screen walked
    std::unordered_set<const void*> foreign;  // `Levels` and the other levels' own tables
    int listed = 0;                           // unknown keys listed one a line
    long long unlisted = 0;                   // unknown keys left out without a line
    std::string level;                        // the level checked last
};

namespace {

LevelKeyCheck::Session::State* s_Session = nullptr;

// Keys of a ball start that the level builder reads itself.
const char* const kBallStartKeys[] = {"paddleName", "deactivate", "position", "velocity",
                                      "variance",   "ballProps",  "resource", "resources"};

LuaObject Resources()
{
    return GetGlobalLuaState()->GetGlobal("Resources");
}

// The keys every class registers, with the fields of its fresh instance; worked out once
// per class (the registry does not change while the game runs).
const std::set<std::string>& ClassKeys(const Class* c)
{
    static std::map<const Class*, std::set<std::string>> cache;
    auto found = cache.find(c);
    if (found != cache.end())
        return found->second;
    std::set<std::string>& keys = cache[c];
    keys = {"class", "name", "resource", "resources"};
    for (const Class* k = c; k; k = k->GetParent()) {
        for (const auto& setter : k->GetPropertySetters())
            keys.insert(setter.first);
        const LuaObject defaults =
            k->GetClassObject().IsTable() ? k->GetClassObject()["defaults"] : LuaObject();
        if (defaults.IsTable())
            for (const LuaObject& key : GetOrderedKeys(defaults))
                if (key.IsString())
                    keys.insert(key.GetString());
    }
    return keys;
}

// Adds the keys of the resources a table names (resource, resources), and of theirs.
void AddResourceKeys(const LuaObject& table, std::set<std::string>& keys,
                     std::set<std::string>& visited)
{
    std::vector<std::string> names;
    const LuaObject one = table["resource"];
    if (one.IsString())
        names.push_back(one.GetString());
    const LuaObject many = table["resources"];
    if (many.IsString())
        names.push_back(many.GetString());
    else
        LuaPlus::ForEachListElement(many, [&](int, const LuaObject& name) {
            if (name.IsString())
                names.push_back(name.GetString());
            return name.IsString();
        });
    const LuaObject resources = Resources();
    for (const std::string& name : names) {
        if (!resources.IsTable() || !visited.insert(name).second)
            continue;
        const LuaObject resource = resources[name.c_str()];
        if (!resource.IsTable())
            continue;
        for (const LuaObject& key : GetOrderedKeys(resource))
            if (key.IsString())
                keys.insert(key.GetString());
        AddResourceKeys(resource, keys, visited);
    }
}

std::string Quoted(const std::string& text)
{
    return "\"" + ShortenedText(text) + "\"";
}

// The string keys of the table at the top of the stack that `known` lacks.
std::vector<std::string> UnknownKeysOfTop(lua_State* L, const std::set<std::string>& known)
{
    std::vector<std::string> unknown;
    const int table = lua_gettop(L);
    for (lua_pushnil(L); lua_next(L, table); lua_pop(L, 1)) {
        WorkMeter::Charge();
        if (lua_type(L, -2) != LUA_TSTRING)
            continue;
        std::size_t length = 0;
        const char* text = lua_tolstring(L, -2, &length);
        std::string key(text, length);
        if (!known.count(key))
            unknown.push_back(std::move(key));
    }
    return unknown;
}

// Checks the table's keys once a session: each string key that `known` lacks is left out
// of it; the first ones of the session are reported, in byte order, with the closest known
// key, and the rest only counted.
void ReportUnknownKeys(const LuaObject& table, const std::set<std::string>& known,
                       const std::string& subject)
{
    LevelKeyCheck::Session::State& session = *s_Session;
    if (!table.IsTable() || session.foreign.count(TableIdentity(table)) ||
        !session.checked.insert(TableIdentity(table)).second)
        return;
    lua_State* L = table.GetCState();
    table.Push(L);
    std::vector<std::string> unknown = UnknownKeysOfTop(L, known);
    for (const std::string& key : unknown) {
        lua_pushlstring(L, key.data(), key.size());
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
    const std::size_t listed =
        std::min(unknown.size(), std::size_t(LevelKeyCheck::kListedKeys - session.listed));
    std::partial_sort(unknown.begin(), unknown.begin() + std::ptrdiff_t(listed), unknown.end());
    const std::vector<std::string> names(known.begin(), known.end());
    for (std::size_t i = 0; i < listed; ++i)
        DataReport::Report(subject,
                           Quoted(unknown[i]) + ": no such key" + DidYouMean(unknown[i], names));
    session.listed += int(listed);
    session.unlisted += (long long)(unknown.size() - listed);
}

// `Brick "RedBrick"`: the class and the resource the table is made from.
std::string Subject(const Class* c, const LuaObject& table)
{
    const LuaObject resource = table["resource"];
    const LuaObject name = table["name"];
    const LuaObject& label = name.IsString() ? name : resource;
    return c->GetName() + (label.IsString() ? " " + Quoted(label.ToString()) : std::string());
}

// The class an object table makes; null when it names none the registry knows (the level
// check reports that on its own).
const Class* ClassOf(const LuaObject& table, const char* fallback)
{
    const Class* found = nullptr;
    if (!ObjectBoundary::Contain([&] {
            const LuaObject name = table["class"];
            found = name.IsString() ? ClassManager::GetInstance()->GetClass(name.GetString(), true)
                                    : FindClassInResourceTree(table);
        }))
        return nullptr;
    if (found || table["class"].IsString())
        return found;
    return fallback ? ClassManager::GetInstance()->GetClass(fallback, true) : nullptr;
}

// A level's data may name `Levels` or another level where an object is wanted: those tables
// are not this level's, so nothing here checks or mends them (the builder leaves such an
// element out by its kind).
void NoteForeignTables(const LuaObject& level)
{
    s_Session->foreign.clear();
    const LuaObject levels = GetGlobalValue("Levels");
    if (!levels.IsTable())
        return;
    s_Session->foreign.insert(TableIdentity(levels));
    for (const LuaObject& key : GetOrderedKeys(levels)) {
        const LuaObject other = levels.RawGet(key);
        if (other.IsTable() && TableIdentity(other) != TableIdentity(level))
            s_Session->foreign.insert(TableIdentity(other));
    }
}

// True, once named and taken out of the list, when the entry list[key] is `Levels` or
// another level: no entry of a level is made of those.
bool LeftOutIfForeign(const std::string& levelName, LuaObject list, const LuaPlus::LuaKey& key,
                      const std::string& where)
{
    const LuaObject entry = list.RawGet(key);
    if (!entry.IsTable() || !s_Session->foreign.count(TableIdentity(entry)))
        return false;
    LevelPlace place(levelName, 0, 0, where);
    const bool levels = TableIdentity(entry) == TableIdentity(GetGlobalValue("Levels"));
    DataReport::Report(std::string(), std::string(levels ? "the table Levels" : "another level") +
                                          " is no entry of this level; it is left out");
    LuaObject nil;
    nil.AssignNil(GetGlobalLuaState());
    list.RawSetObject(key, nil);
    return true;
}

void CheckObject(const LuaObject& table, const char* fallbackClass,
                 std::initializer_list<const char*> ownKeys = {})
{
    // A table many entries share is checked at its first.
    if (s_Session->checked.count(TableIdentity(table)))
        return;
    const Class* c = ClassOf(table, fallbackClass);
    if (!c)
        return;
    std::set<std::string> known = LevelKeyCheck::KnownObjectKeys(c, table);
    known.insert(ownKeys.begin(), ownKeys.end());
    ReportUnknownKeys(table, known, Subject(c, table));
}

void CheckLevelTable(const LuaObject& level)
{
    std::set<std::string> known;
    for (const LevelKeys::Key& key : LevelKeys::All()) {
        known.insert(key.name);
        ReadDataKey(level, key.name.c_str(), key.luaType);
    }
    ReportUnknownKeys(level, known, std::string());
}

// The object tables of a list: brick entries (compiledBricks, class Brick unless they name
// one) are placed by their cell; actor tables, which are placed in pixels, by their entry.
void CheckObjectList(const std::string& levelName, const LuaObject& level, const char* listKey,
                     const char* fallbackClass)
{
    const LuaObject list = level[listKey];
    if (!list.IsTable())
        return;
    const bool cells = fallbackClass != nullptr;
    for (const LuaObject& key : GetOrderedKeys(list)) {
        if (LeftOutIfForeign(levelName, list, key,
                             std::string(listKey) + "[" + DataKeyText(key) + "]"))
            continue;
        const LuaObject entry = list[key];
        if (!entry.IsTable())
            continue;
        const LuaObject position = entry["position"];
        const bool placed = cells && position.IsTable() && position[1].IsNumber() &&
                            position[2].IsNumber() && position[2].GetInteger() > 0;
        LevelPlace place(
            levelName, placed ? position[2].GetInteger() : 0, placed ? position[1].GetInteger() : 0,
            placed ? std::string() : std::string(listKey) + "[" + DataKeyText(key) + "]");
        CheckObject(entry, fallbackClass);
    }
}

void CheckBallStart(const std::string& levelName, const LuaObject& start, const std::string& where)
{
    LevelPlace place(levelName, 0, 0, where);
    ReportUnknownKeys(start,
                      std::set<std::string>(std::begin(kBallStartKeys), std::end(kBallStartKeys)),
                      "Ball start");
    const LuaObject props = start["ballProps"];
    if (props.IsTable())
        CheckObject(props, "Ball");
}

void CheckStarts(const std::string& levelName, const LuaObject& level)
{
    const LuaObject paddles = level["paddleStarts"];
    if (paddles.IsTable())
        for (const LuaObject& key : GetOrderedKeys(paddles)) {
            const std::string where = "paddleStarts[" + DataKeyText(key) + "]";
            if (LeftOutIfForeign(levelName, paddles, key, where))
                continue;
            const LuaObject start = paddles[key];
            if (!start.IsTable())
                continue;
            {
                // The builder's own keys; the others are properties of the paddle.
                LevelPlace place(levelName, 0, 0, where);
                CheckObject(start, "Paddle",
                            {"position", "vertical", "facePositive", "ballStart", "name"});
            }
            if (!LeftOutIfForeign(levelName, start, "ballStart", where + ".ballStart") &&
                start["ballStart"].IsTable())
                CheckBallStart(levelName, start["ballStart"], where + ".ballStart");
        }
    const LuaObject balls = level["ballStarts"];
    if (balls.IsTable())
        for (const LuaObject& key : GetOrderedKeys(balls)) {
            const std::string where = "ballStarts[" + DataKeyText(key) + "]";
            if (!LeftOutIfForeign(levelName, balls, key, where) && balls[key].IsTable())
                CheckBallStart(levelName, balls[key], where);
        }
}

void CheckArtefact(const std::string& levelName, const LuaObject& level)
{
    const LuaObject artefact = level["artefact"];
    if (!artefact.IsTable())
        return;
    // The builder's own keys; the others are properties of the artefact.
    LevelPlace place(levelName, 0, 0, "artefact");
    CheckObject(artefact, "Artefact", {"name", "score"});
}

} // namespace

std::set<std::string> LevelKeyCheck::KnownObjectKeys(const Class* c, const LuaObject& table)
{
    std::set<std::string> keys = ClassKeys(c);
    std::set<std::string> visited;
    if (table.IsTable())
        AddResourceKeys(table, keys, visited);
    return keys;
}

LevelKeyCheck::Session::Session()
{
    if (!s_Session) {
        m_State = std::make_unique<State>();
        s_Session = m_State.get();
    }
}

LevelKeyCheck::Session::~Session()
{
    if (!m_State)
        return;
    s_Session = nullptr;
    if (m_State->unlisted == 0)
        return;
    // One line for the keys past the listed ones, within the session's cap.
    try {
        LevelPlace place(m_State->level);
        DataReport::Report(std::string(), std::to_string(m_State->unlisted) +
                                              " more keys that nothing reads were left out");
    } catch (const std::exception& e) {
        LogAtLevel(1, "The count of unknown keys could not be reported: %s\n", e.what());
    }
}

void LevelKeyCheck::Run(const std::string& levelName, const LuaObject& level)
{
    if (!level.IsTable() || !ClassManager::Exists())
        return;
    Session session;
    s_Session->level = levelName;
    NoteForeignTables(level);
    LevelPlace place(levelName);
    // What the level may not build goes first, so nothing below (or after) meets it.
    LevelClasses::Screen(levelName, level, &s_Session->screened);
    CheckLevelTable(level);
    CheckObjectList(levelName, level, "compiledBricks", "Brick");
    CheckObjectList(levelName, level, "levelActors", nullptr);
    CheckObjectList(levelName, level, "extraActors", nullptr);
    CheckStarts(levelName, level);
    CheckArtefact(levelName, level);
}
