#include "logic/GameProgress.h"

#include "app/Application.h"
#include "core/Config.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"

using LuaPlus::LuaObject;

namespace GameProgress {

LuaObject ConfigTable(const char* name)
{
    if (Config* config = Config::GetCurrent()) {
        LuaObject value = config->GetObject(name);
        if (value.IsTable())
            return value;
    }
    LuaObject value = GetGlobalLuaState()->GetGlobals()[name];
    return value.IsTable() ? value : LuaObject();
}

std::string ModeName(const Player* player)
{
    return player ? player->GetMode() : "Adventure";
}

LuaObject ModeTable(const Player* player)
{
    if (!player)
        return LuaObject();
    return player->MakeGameModeTable(ModeName(player));
}

int EpisodeCount()
{
    LuaObject names = ConfigTable("EpisodeNames");
    return names.IsTable() ? names.GetCount() : 0;
}

int LevelCount(int episode)
{
    LuaObject order = ConfigTable("LevelOrder");
    if (!order.IsTable())
        return 0;
    LuaObject levels = order[episode];
    return levels.IsTable() ? levels.GetCount() : 0;
}

std::string EpisodeName(int episode)
{
    LuaObject names = ConfigTable("EpisodeNames");
    if (!names.IsTable())
        return std::string();
    LuaObject name = names[episode];
    return name.IsConvertibleToString() ? name.ToString() : std::string();
}

int IntField(const LuaObject& table, const char* key, int fallback)
{
    if (!table.IsTable())
        return fallback;
    LuaObject value = table[key];
    return value.IsNumber() ? value.GetInteger() : fallback;
}

bool AppFlag(const char* name, bool fallback)
{
    Application* app = GetApp();
    if (!app)
        return fallback;
    LuaObject value;
    app->RetrieveProperty(value, name);
    return value.IsBoolean() ? value.GetBoolean() : fallback;
}

} // namespace GameProgress
