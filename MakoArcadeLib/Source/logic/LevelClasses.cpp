#include "logic/LevelClasses.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "core/TableOrder.h"
#include "core/WorkMeter.h"
#include "logic/LevelPlace.h"
#include "logic/LevelValueKinds.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <unordered_set>
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
// table they were copied into. The walk is made once and kept in the state's registry as a
// set of those tables (which it holds alive, so no other table takes one's address), with
// the outline of Resources it was made from: the tables at its first two levels, in
// traversal order. The game's scripts fill Resources while they load; after that only a
// new or replaced resource (which goes through the resource manager's table) changes it,
// and that changes the outline, so the walk is made again.
const char kResourceWalkKey[] = "LevelClasses.ResourceTables";

// The tables at the first two levels of the table on the top of the stack, in order.
std::vector<const void*> OutlineOfTop(lua_State* L)
{
    std::vector<const void*> outline;
    const int root = lua_gettop(L);
    if (!lua_istable(L, root))
        return outline;
    for (lua_pushnil(L); lua_next(L, root); lua_pop(L, 1)) {
        WorkMeter::Charge();
        if (!lua_istable(L, -1))
            continue;
        outline.push_back(lua_topointer(L, -1));
        const int inner = lua_gettop(L);
        for (lua_pushnil(L); lua_next(L, inner); lua_pop(L, 1)) {
            WorkMeter::Charge();
            if (lua_istable(L, -1))
                outline.push_back(lua_topointer(L, -1));
        }
    }
    return outline;
}

// The set of every table reachable from Resources, walked afresh.
LuaObject WalkResources(LuaPlus::LuaState* state)
{
    LuaObject tables;
    tables.AssignNewTable(state);
    LuaObject yes;
    yes.AssignBoolean(state, true);
    std::vector<LuaObject> pending{state->GetGlobal("Resources")};
    while (!pending.empty()) {
        const LuaObject table = pending.back();
        pending.pop_back();
        if (!table.IsTable() || !tables.RawGet(table).IsNil())
            continue;
        tables.RawSetObject(LuaPlus::LuaKey(table), yes);
        for (LuaPlus::LuaTableIterator it(table); it; it.Next())
            if (it.GetValue().IsTable())
                pending.push_back(it.GetValue());
    }
    return tables;
}

// The kept set of the resources' tables, walked again when Resources changed since.
LuaObject ResourceTables()
{
    static lua_State* keptFor = nullptr;
    static std::vector<const void*> keptOutline;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    lua_State* L = state->GetCState();
    state->GetGlobal("Resources").Push(L);
    std::vector<const void*> outline = OutlineOfTop(L);
    lua_pop(L, 1);
    lua_getfield(L, LUA_REGISTRYINDEX, kResourceWalkKey);
    LuaObject kept(state, -1);
    lua_pop(L, 1);
    if (kept.IsTable() && keptFor == L && outline == keptOutline)
        return kept;
    kept = WalkResources(state);
    kept.Push(L);
    lua_setfield(L, LUA_REGISTRYINDEX, kResourceWalkKey);
    keptFor = L;
    keptOutline = std::move(outline);
    return kept;
}

// A table met in the walk: where it hangs (its parent's index and its key).
struct Node
{
    LuaObject table;
    int parent;
    LuaObject key;
};

// `levelActors[2].motion`: the keys from the level table down to the node, in time linear in
// the path's length (the nodes keep their holders; the text is made only here).
std::string PathOf(const std::vector<Node>& nodes, int index)
{
    std::vector<const Node*> chain;
    for (int i = index; i > 0; i = nodes[std::size_t(i)].parent)
        chain.push_back(&nodes[std::size_t(i)]);
    // Walking up the holders is work on the file's values like any other.
    WorkMeter::Charge((long long)chain.size());
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Node& node = **it;
        if (!node.key.IsString())
            path += "[" + DataKeyText(node.key) + "]";
        else if (node.parent == 0)
            path += DataKeyText(node.key);
        else
            path += "." + DataKeyText(node.key);
    }
    return path;
}

// Reports text at the level and the path (made by `where`) when the open cap will still
// say it; past the cap the problem is only counted, and no path is made.
template <typename Where>
void ReportAt(const std::string& levelName, const Where& where, const std::string& text)
{
    if (DataReport::CountIfCapped())
        return;
    LevelPlace place(levelName, 0, 0, where());
    DataReport::Report(std::string(), text);
}

// The most names a list an object is made with may hold (`resources`, `powerups`): each
// object that shares the list walks it again, and the resource tree sorts it each time.
const int kLongestNameList = 100;
const char* const kNameLists[] = {"resources", "powerups"};

// Whether the table holds more than `most` entries; looks at no more than that many.
bool HoldsMoreThan(const LuaObject& table, int most)
{
    lua_State* L = table.GetCState();
    table.Push(L);
    const int at = lua_gettop(L);
    int count = 0;
    for (lua_pushnil(L); lua_next(L, at); lua_pop(L, 1)) {
        WorkMeter::Charge();
        if (++count > most) {
            lua_pop(L, 2);
            break;
        }
    }
    lua_settop(L, at - 1);
    return count > most;
}

// Leaves out of the last table of nodes each list of names longer than an object may be
// made with, reported at its path.
void DropLongNameLists(const std::string& levelName, const std::vector<Node>& nodes)
{
    const LuaObject& table = nodes.back().table;
    for (const char* key : kNameLists) {
        const LuaObject list = table.RawGet(key);
        if (!list.IsTable() || !HoldsMoreThan(list, kLongestNameList))
            continue;
        ReportAt(
            levelName, [&nodes] { return PathOf(nodes, int(nodes.size() - 1)); },
            std::string("\"") + key + "\": more than " + std::to_string(kLongestNameList) +
                " names; the list is left out");
        LuaObject nil;
        nil.AssignNil(GetGlobalLuaState());
        LuaObject holder = table;
        holder.RawSetObject(key, nil);
    }
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
    const Class* found = nullptr;
    ObjectBoundary::Contain([&] { found = FindClassInResourceTree(table); });
    return found;
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
    ReportAt(
        levelName,
        [&] {
            const std::string above = PathOf(nodes, int(index));
            if (!key.IsString())
                return above + "[" +
                       (key.IsNumber() ? key.ToString() : std::string(key.TypeName())) + "]";
            const std::string name = key.GetString();
            return above.empty() ? name : above + "." + name;
        },
        refusal);
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

void LevelClasses::Screen(const std::string& levelName, const LuaObject& level,
                          std::unordered_set<const void*>* walked)
{
    if (!level.IsTable() || !ClassManager::Exists())
        return;
    const LuaObject resources = ResourceTables();
    std::unordered_set<const void*> ownSeen;
    std::unordered_set<const void*>& seen = walked ? *walked : ownSeen;
    if (!seen.insert(TableIdentity(level)).second)
        return;
    std::vector<Node> nodes{{level, -1, LuaObject()}};
    // Each table is walked once, but every place that holds one is screened: a table a
    // level may not build is taken out of each holder, also of one met after it was walked.
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        LuaObject table = nodes[index].table;
        for (const LuaObject& key : GetOrderedKeys(table)) {
            const LuaObject value = table.RawGet(key);
            if (RefuseValue(levelName, nodes, index, table, key, value) || !value.IsTable() ||
                !resources.RawGet(value).IsNil())
                continue;
            const bool own =
                index == 0 && key.IsString() && std::string(key.GetString()) == "artefact";
            nodes.push_back({value, int(index), key});
            if (!own)
                DropLongNameLists(levelName, nodes);
            if (const Class* c = own ? nullptr : RefusedClass(value)) {
                const char* from = value.RawGet("class").IsString() ? "" : " (of its resources)";
                ReportAt(
                    levelName, [&nodes] { return PathOf(nodes, int(nodes.size() - 1)); },
                    "class \"" + c->GetName() + "\"" + from +
                        " is not one a level may build; it is left out");
                nodes.pop_back();
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
