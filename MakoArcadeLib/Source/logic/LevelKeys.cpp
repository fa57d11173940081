#include "logic/LevelKeys.h"

#include "field/Ball.h"
#include "lua/MakoLuaState.h"
#include "luaplus/LuaPlus.h"

namespace {

struct ReaderKey
{
    const char* name;
    int luaType;
};

// The keys the level reader (Level and its parts) reads through Level::ReadKey, and the
// content keys it reads directly.
const ReaderKey kReaderKeys[] = {
    {"fullName", LUA_TSTRING},
    {"noteText", LUA_TSTRING},
    {"fromText", LUA_TSTRING},
    {"music", LUA_TSTRING},
    {"backgroundName", LUA_TSTRING},
    {"compiledBricks", LUA_TTABLE},
    {"offsetPosition", LUA_TTABLE},
    {"levelActors", LUA_TTABLE},
    {"extraActors", LUA_TTABLE},
    {"customWalls", LUA_TTABLE},
    {"paddleStarts", LUA_TTABLE},
    {"ballStarts", LUA_TTABLE},
    {"ballStartPosition", LUA_TTABLE},
    {"ballStartVelocity", LUA_TTABLE},
    {"victoryBalls", LUA_TNUMBER},
    {"victoryPaddles", LUA_TNUMBER},
    {"victoryBricks", LUA_TNUMBER},
    {"victoryGoobers", LUA_TNUMBER},
    {"victoryPowerups", LUA_TNUMBER},
    {"defeatBalls", LUA_TNUMBER},
    {"defeatPaddles", LUA_TNUMBER},
    {"minLiveBalls", LUA_TNUMBER},
    {"liveBallDelay", LUA_TNUMBER},
    {"expensiveSpawns", LUA_TBOOLEAN},
    {"wind", LUA_TTABLE},
    {"gravity", LUA_TTABLE},
    {"timeAttack", LUA_TTABLE},
    {"progressive", LUA_TTABLE},
    {"timeBonusAt", LUA_TNUMBER},
    {"scoreBonusAtFineTune", LUA_TNUMBER},
    {"ballUsedTarget", LUA_TNUMBER},
    {"lootCaughtTarget", LUA_TNUMBER},
    {"initialPowerups", LUA_TTABLE},
    {"lastBrickBonus", LUA_TTABLE},
    {"arcadeBonus", LUA_TTABLE},
    {"artefact", LUA_TTABLE},
};

int ScriptType(const std::string& name)
{
    static const ReaderKey kTypes[] = {{"number", LUA_TNUMBER},
                                       {"string", LUA_TSTRING},
                                       {"boolean", LUA_TBOOLEAN},
                                       {"table", LUA_TTABLE}};
    for (const ReaderKey& type : kTypes)
        if (name == type.name)
            return type.luaType;
    return LUA_TNONE;
}

} // namespace

std::vector<LevelKeys::Key> LevelKeys::All()
{
    std::vector<Key> keys;
    for (const ReaderKey& key : kReaderKeys)
        keys.push_back({key.name, key.luaType});
    for (const char* key : BallSpeedLimits::LevelKeys())
        keys.push_back({key, LUA_TNUMBER});
    const LuaPlus::LuaObject scripts = GetGlobalLuaState()->GetGlobal("LevelScriptKeys");
    if (scripts.IsTable())
        for (LuaPlus::LuaTableIterator it(scripts); it; it.Next())
            if (it.GetKey().IsString() && it.GetValue().IsString())
                keys.push_back({it.GetKey().GetString(), ScriptType(it.GetValue().GetString())});
    return keys;
}

int LevelKeys::TypeOf(const std::string& key)
{
    for (const ReaderKey& known : kReaderKeys)
        if (key == known.name)
            return known.luaType;
    return LUA_TNONE;
}
