#include "screens/GameStart.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/MapProgress.h"
#include "screens/ScreenManager.h"

namespace {

Player* PlayerOfTheGame()
{
    PlayerManager* players = PlayerManager::GetInstance();
    MAKO_ASSERT_MSG(players != 0, "A game needs the player manager.");
    Player* player = players->GetCurrentPlayer(1);
    MAKO_ASSERT_MSG(player != 0, "A game needs a current player.");
    return player;
}

// The global GameOptions, made when missing.
LuaPlus::LuaObject GameOptions()
{
    LuaPlus::LuaObject globals = GetGlobalLuaState()->GetGlobals();
    LuaPlus::LuaObject options = globals["GameOptions"];
    if (!options.IsTable())
        options = globals.CreateTable("GameOptions");
    return options;
}

// A selection of the mode table as an integer; 1 when the table has none.
int Selection(const LuaPlus::LuaObject& modeTable, const char* key)
{
    LuaPlus::LuaObject value = modeTable[key];
    return value.IsNil() ? 1 : ReadIntegerFromObject(value);
}

// The keys every start writes: the player, its mode, 3 balls, the level's numbers.
void WriteStart(LuaPlus::LuaObject& options, Player* player, int episode, int level)
{
    options.SetLightUserData("player", player);
    options.SetString("gameType", player->GetMode().c_str());
    options.SetInteger("ballsLeft", 3);
    options.SetInteger("episodeNumber", episode);
    options.SetInteger("levelNumber", level);
}

// The place a start of the mode plays: the Adventure's selection held to what this game has,
// as the map shows it (the card keeps its own until play writes the place played), else the
// table's.
MapPlace StartPlace(const std::string& mode, const LuaPlus::LuaObject& modeTable)
{
    if (mode == "Adventure")
        return MapProgress::Read(modeTable).selected;
    return MapPlace{Selection(modeTable, "EpisodeSelected"), Selection(modeTable, "LevelSelected")};
}

// The start keys of the player's selection in its current mode.
void WriteSelection(LuaPlus::LuaObject& options, Player* player)
{
    const MapPlace place = StartPlace(player->GetMode(), player->GetGameModeTable(""));
    WriteStart(options, player, place.episode, place.level);
}

void SwitchTo(const std::string& screenName)
{
    ScreenManager* screens = ScreenManager::GetInstance();
    MAKO_ASSERT_MSG(screens != 0, "A game needs the screen manager.");
    screens->SwitchToScreen(screenName);
}

// A game of the mode at the level its mode table (made when missing) has selected, on the
// screen of that name.
void StartSelected(const std::string& screenName, const char* mode, const char* modeTableName)
{
    Player* player = PlayerOfTheGame();
    player->PlayMode(mode);
    const MapPlace place = StartPlace(mode, player->MakeGameModeTable(modeTableName));

    LuaPlus::LuaObject options = GameOptions();
    WriteStart(options, player, place.episode, place.level);
    options.SetString("levelName", "EMPTY");
    SwitchTo(screenName);
}

} // namespace

void StartAdventureFromMap(const std::string& screenName)
{
    StartSelected(screenName, "Adventure", "");
}

void StartAdventureFromMenu(const std::string& screenName)
{
    Player* player = PlayerOfTheGame();
    player->PlayMode("Adventure");
    LuaPlus::LuaObject modeTable = player->MakeGameModeTable("");
    // Play is the player's choice of the place the map would show: it is stored so.
    const MapPlace place = StartPlace("Adventure", modeTable);
    MapProgress::Read(modeTable).WriteSelection(modeTable);

    LuaPlus::LuaObject options = GameOptions();
    WriteStart(options, player, place.episode, place.level);
    SwitchTo(screenName);
}

void StartLabGame(const std::string& screenName)
{
    StartSelected(screenName, "Lab", "Lab");
}

LuaPlus::LuaObject CreateGameOptionsForCurrentPlayer()
{
    Player* player = PlayerOfTheGame();
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobals().CreateTable("GameOptions");
    WriteSelection(options, player);
    return options;
}

LuaPlus::LuaObject GameOptionsForNewGame()
{
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobal("GameOptions");
    PlayerManager* players = PlayerManager::GetInstance();
    Player* current = players ? players->GetCurrentPlayer(1) : nullptr;
    if (!current)
        return options;
    if (options.IsTable()) {
        LuaPlus::LuaObject player = options["player"];
        if (player.IsLightUserData() && player.GetLightUserData() == current)
            return options;
    }
    options = GameOptions();
    WriteSelection(options, current);
    return options;
}

// NextLevel(name): the next game controller built from GameOptions loads that level.
MAKO_LUA_FUNCTION(NextLevel)
{
    if (lua_gettop(L) < 1 || !lua_isstring(L, -1)) {
        Log("A level name must be specified.\n");
        return 0;
    }
    GameOptions().SetString("levelName", lua_tostring(L, -1));
    return 0;
}
