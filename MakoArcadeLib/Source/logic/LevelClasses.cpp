#include "logic/LevelClasses.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/TableOrder.h"
#include "logic/LevelPlace.h"
#include "logic/LevelValueKinds.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <set>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// Classes level data may build together with every subclass the game defines of them.
const char* const kFamilies[] = {"Brick",    "Goober", "Powerup", "Factory",
                                 "Collider", "Shield", "Motion"};
// Classes level data may build themselves (their other subclasses are the game's own).
const char* const kExactly[] = {"Actor",     "ArcadeActor", "ArcadeStructure", "Ball", "Paddle",
                                "Explosion", "Spark"};

// Every table reachable from the game's resources: those are the game's, whatever level
// table they were copied into.
std::set<const void*> ResourceTables()
{
    std::set<const void*> seen;
    std::vector<LuaObject> pending{GetGlobalLuaState()->GetGlobal("Resources")};
    while (!pending.empty()) {
        const LuaObject table = pending.back();
        pending.pop_back();
        if (!table.IsTable() || !seen.insert(TableIdentity(table)).second)
            continue;
        for (LuaPlus::LuaTableIterator it(table); it; it.Next())
            if (it.GetValue().IsTable())
                pending.push_back(it.GetValue());
    }
    return seen;
}

// A table met in the walk: where it hangs (its parent's index and its key).
struct Node
{
    LuaObject table;
    int parent;
    LuaObject key;
};

// `levelActors[2].motion`: the keys from the level table down to the node.
std::string PathOf(const std::vector<Node>& nodes, int index)
{
    std::string path;
    for (int i = index; i > 0; i = nodes[std::size_t(i)].parent) {
        const Node& node = nodes[std::size_t(i)];
        if (!node.key.IsString())
            path.insert(0, "[" + node.key.ToString() + "]");
        else if (node.parent == 0)
            path.insert(0, node.key.GetString());
        else
            path.insert(0, std::string(".") + node.key.GetString());
    }
    return path;
}

// The class an object built from the table would have, as ClassManager::InstantiateObject
// finds it: the table's own `class`, else the last one of the resources it names. Null when
// there is none (or a resource it names is unknown: building it fails on its own).
const Class* ClassToBuild(const LuaObject& table)
{
    const LuaObject name = table.RawGet("class");
    if (name.IsString())
        return ClassManager::GetInstance()->GetClass(name.GetString(), true);
    if (table.RawGet("resource").IsNil() && table.RawGet("resources").IsNil())
        return nullptr;
    try {
        return FindClassInResourceTree(table);
    } catch (const Exception&) {
        return nullptr;
    }
}

// The class the table would build when level data may not build it; null otherwise.
const Class* RefusedClass(const LuaObject& table)
{
    const Class* c = ClassToBuild(table);
    return c && !LevelClasses::MayBuild(*c) ? c : nullptr;
}

// Reports and removes the entry key = value of the table (the node at index) when level
// data may not hold it (LevelValueKinds); true when it was removed.
bool RefuseValue(const std::string& levelName, const std::vector<Node>& nodes, std::size_t index,
                 LuaObject& table, const LuaObject& key, const LuaObject& value)
{
    const LuaObject& holder = nodes[index].key;
    const std::string refusal = LevelValueKinds::Refusal(
        holder.IsString() ? holder.GetString() : std::string(), key, value);
    if (refusal.empty())
        return false;
    const std::string above = PathOf(nodes, int(index));
    const std::string name = key.IsString() ? std::string(key.GetString()) : std::string();
    const std::string at = key.IsNumber() ? key.ToString() : std::string(key.TypeName());
    const std::string path = !key.IsString() ? above + "[" + at + "]"
                             : above.empty() ? name
                                             : above + "." + name;
    LevelPlace place(levelName, 0, 0, path);
    DataReport::Report(std::string(), refusal);
    LuaObject nil;
    nil.AssignNil(GetGlobalLuaState());
    table.RawSetObject(LuaPlus::LuaKey(key), nil);
    return true;
}

} // namespace

bool LevelClasses::MayBuild(const Class& c)
{
    for (const char* family : kFamilies)
        if (c.DerivesFrom(family))
            return true;
    for (const char* name : kExactly)
        if (c.GetName() == name)
            return true;
    return false;
}

void LevelClasses::Screen(const std::string& levelName, const LuaObject& level)
{
    if (!level.IsTable() || !ClassManager::Exists())
        return;
    const std::set<const void*> resources = ResourceTables();
    std::set<const void*> seen = resources;
    std::vector<Node> nodes{{level, -1, LuaObject()}};
    seen.insert(TableIdentity(level));
    // Each table is walked once, but every place that holds one is screened: a table a
    // level may not build is taken out of each holder, also of one met after it was walked.
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        LuaObject table = nodes[index].table;
        for (const LuaObject& key : GetOrderedKeys(table)) {
            const LuaObject value = table.RawGet(key);
            if (RefuseValue(levelName, nodes, index, table, key, value) || !value.IsTable() ||
                resources.count(TableIdentity(value)))
                continue;
            const bool own = index == 0 && key.IsString() &&
                             std::string(key.GetString()) == "artefact";
            nodes.push_back({value, int(index), key});
            if (const Class* c = own ? nullptr : RefusedClass(value)) {
                LevelPlace place(levelName, 0, 0, PathOf(nodes, int(nodes.size() - 1)));
                nodes.pop_back();
                const char* from = value.RawGet("class").IsString() ? "" : " (of its resources)";
                DataReport::Report(std::string(), "class \"" + c->GetName() + "\"" + from +
                                                      " is not one a level may build; it is "
                                                      "left out");
                LuaObject nil;
                nil.AssignNil(GetGlobalLuaState());
                table.RawSetObject(LuaPlus::LuaKey(key), nil);
                continue;
            }
            if (!seen.insert(TableIdentity(value)).second)
                nodes.pop_back();
        }
    }
}
