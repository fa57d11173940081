#include "logic/LevelKeyCheck.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/ClosestName.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/TableOrder.h"
#include "logic/LevelClasses.h"
#include "logic/LevelKeys.h"
#include "logic/LevelPlace.h"
#include "lua/MakoLuaState.h"

#include <initializer_list>
#include <map>
#include <vector>

using LuaPlus::LuaObject;

namespace {

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
    else if (many.IsTable())
        for (int i = 1; many[i].IsString(); ++i)
            names.push_back(many[i].GetString());
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
    return "\"" + text + "\"";
}

// Reports each string key of the table that `known` lacks, with the closest known key.
void ReportUnknownKeys(const LuaObject& table, const std::set<std::string>& known,
                       const std::string& subject)
{
    const std::vector<std::string> names(known.begin(), known.end());
    for (const LuaObject& key : GetOrderedKeys(table)) {
        if (!key.IsString() || known.count(key.GetString()))
            continue;
        DataReport::Report(subject, Quoted(key.GetString()) + ": no such key" +
                                        DidYouMean(key.GetString(), names));
    }
}

// `Brick "RedBrick"`: the class and the resource the table is made from.
std::string Subject(const Class* c, const LuaObject& table)
{
    const LuaObject resource = table["resource"];
    const LuaObject name = table["name"];
    const LuaObject& label = name.IsString() ? name : resource;
    return c->GetName() + (label.IsString() ? " " + Quoted(label.GetString()) : std::string());
}

// The class an object table makes; null when it names none the registry knows (the level
// check reports that on its own).
const Class* ClassOf(const LuaObject& table, const char* fallback)
{
    try {
        const LuaObject name = table["class"];
        if (name.IsString())
            return ClassManager::GetInstance()->GetClass(name.GetString(), true);
        if (const Class* c = FindClassInResourceTree(table))
            return c;
    } catch (const Exception&) {
        return nullptr;
    }
    return fallback ? ClassManager::GetInstance()->GetClass(fallback, true) : nullptr;
}

void CheckObject(const LuaObject& table, const char* fallbackClass,
                 std::initializer_list<const char*> ownKeys = {})
{
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
        const LuaObject entry = list[key];
        if (!entry.IsTable())
            continue;
        const LuaObject position = entry["position"];
        const bool placed = cells && position.IsTable() && position[1].IsNumber() &&
                            position[2].IsNumber() && position[2].GetInteger() > 0;
        LevelPlace place(
            levelName, placed ? position[2].GetInteger() : 0, placed ? position[1].GetInteger() : 0,
            placed ? std::string() : std::string(listKey) + "[" + key.ToString() + "]");
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
            const LuaObject start = paddles[key];
            if (!start.IsTable())
                continue;
            const std::string where = "paddleStarts[" + key.ToString() + "]";
            {
                // The builder's own keys; the others are properties of the paddle.
                LevelPlace place(levelName, 0, 0, where);
                CheckObject(start, "Paddle",
                            {"position", "vertical", "facePositive", "ballStart", "name"});
            }
            if (start["ballStart"].IsTable())
                CheckBallStart(levelName, start["ballStart"], where + ".ballStart");
        }
    const LuaObject balls = level["ballStarts"];
    if (balls.IsTable())
        for (const LuaObject& key : GetOrderedKeys(balls))
            if (balls[key].IsTable())
                CheckBallStart(levelName, balls[key], "ballStarts[" + key.ToString() + "]");
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

void LevelKeyCheck::Run(const std::string& levelName, const LuaObject& level)
{
    if (!level.IsTable() || !ClassManager::Exists())
        return;
    LevelPlace place(levelName);
    // What the level may not build goes first, so nothing below (or after) meets it.
    LevelClasses::Screen(levelName, level);
    CheckLevelTable(level);
    CheckObjectList(levelName, level, "compiledBricks", "Brick");
    CheckObjectList(levelName, level, "levelActors", nullptr);
    CheckObjectList(levelName, level, "extraActors", nullptr);
    CheckStarts(levelName, level);
    CheckArtefact(levelName, level);
}
