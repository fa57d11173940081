#include "players/Player.h"

#include "core/Utility.h"
#include "players/PlayerManager.h"
#include "players/PlayerScript.h"

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

MAKO_IMPLEMENT_CLASS(Player, "Player", "Object", nullptr, &InstantiateObjectOfClass<Player>);

Player::Player(const LuaObject& data)
{
    MAKO_ASSERT(data.IsTable());
    m_Data = data;
}

void Player::SetPlayerData(const LuaObject& data)
{
    MAKO_ASSERT(data.IsTable());
    m_Data = data;
    // What was held outside the card belonged to the card it replaces.
    m_ModesOutside.clear();
    m_ShownMode.clear();
    m_Shown.clear();
}

LuaObject Player::GetTable() const
{
    MAKO_ASSERT_MSG(m_Data.IsNil() == false,
                    "Player::SetPlayerData must be called before Player::GetTable will work");
    return m_Data;
}

LuaObject Player::GetCardTable(const char* key) const
{
    LuaObject card = GetTable();
    LuaObject table = card[key];
    if (table.IsNil())
        return card.CreateTable(key);
    if (!table.IsTable())
        MAKO_THROW(ScriptError, std::string("The player card's ") + key + " is not a table.");
    return table;
}

LuaObject Player::GetOptionsTable() const
{
    return GetCardTable("Options");
}

std::string Player::GetSkill() const
{
    LuaObject skill = GetOptionsTable()["player.skill"];
    return skill.IsString() ? skill.GetString() : std::string();
}

std::string Player::GetCurrentMode() const
{
    Player* current = PlayerManager::GetInstance()->GetCurrentPlayer(1);
    MAKO_ASSERT(current != nullptr);
    return current->GetMode();
}

std::string Player::GetMode() const
{
    if (!m_ShownMode.empty())
        return m_ShownMode;
    LuaObject mode = GetTable()["Options"];
    mode = mode.IsTable() ? mode["game.mode"] : LuaObject();
    return mode.IsString() ? mode.GetString() : "Adventure";
}

void Player::ShowMode(const std::string& mode)
{
    m_ShownMode = mode;
}

void Player::PlayMode(const std::string& mode)
{
    m_ShownMode = mode;
    GetOptionsTable().SetString("game.mode", mode.c_str());
}

LuaObject Player::GetGameModeTable(const std::string& mode) const
{
    const std::string name = mode.empty() ? GetCurrentMode() : mode;
    LuaObject modes = GetTable()["Game_Modes"];
    if (!modes.IsNil() && !modes.IsTable())
        MAKO_THROW(ScriptError, "The player card's Game_Modes is not a table.");
    LuaObject modeTable = modes.IsTable() ? modes[name.c_str()] : LuaObject();
    if (modeTable.IsTable())
        return modeTable;
    LuaObject& outside = m_ModesOutside[name];
    if (!outside.IsTable())
        outside = PlayerScript::CallGlobal(m_Data.GetState(), "CreateGameModeTable");
    return outside;
}

LuaObject Player::MakeGameModeTable(const std::string& mode) const
{
    const std::string name = mode.empty() ? GetCurrentMode() : mode;
    LuaObject modeTable = GetGameModeTable(name);
    LuaObject modes = GetCardTable("Game_Modes");
    if (!modes[name.c_str()].IsTable())
        modes.SetObject(name.c_str(), modeTable);
    m_ModesOutside.erase(name);
    return modeTable;
}

bool Player::IsEmpty() const
{
    return GetTable()["Name"].IsNil();
}

int Player::GetGuid() const
{
    LuaObject guid = GetTable()["guid"];
    MAKO_ASSERT(PlayerScript::IsInteger(guid));
    return guid.GetInteger();
}

int Player::GetIndex() const
{
    LuaObject index =
        PlayerScript::CallGlobal(m_Data.GetState(), "GetPlayerIndexWithGuid", GetTable()["guid"]);
    return PlayerScript::IsInteger(index) ? index.GetInteger() : 0;
}

int Player::GetCurrentIndex() const
{
    PlayerManager* manager = PlayerManager::GetInstance();
    for (int slot = 1; slot <= 2; ++slot) {
        Player* current = manager->GetCurrentPlayer(slot);
        if (current && current->IsEqualTo(this))
            return slot;
    }
    return 0;
}

bool Player::IsEqualTo(const Player* player) const
{
    MAKO_ASSERT(PlayerScript::IsInteger(GetTable()["guid"]));
    MAKO_ASSERT(PlayerScript::IsInteger(player->GetTable()["guid"]));
    return GetGuid() == player->GetGuid();
}

LuaObject Player::GetGameRecords() const
{
    return GetCardTable("Game_Records");
}

void Player::AddScoreRecord(const LuaObject& record) const
{
    MAKO_ASSERT(record.IsTable());
    MAKO_ASSERT(record["game_mode"].IsString());
    LuaObject gameModeTable = MakeGameModeTable(record["game_mode"].GetString());
    MAKO_ASSERT(gameModeTable.IsTable());
    PlayerScript::CallGlobal(m_Data.GetState(), "FileScoreRecord", gameModeTable, record);
}

void Player::AddWordRecord(const LuaObject& record) const
{
    MAKO_ASSERT(record.IsTable());
    MAKO_ASSERT(record["game_mode"].IsString());
    LuaObject gameModeTable = MakeGameModeTable(record["game_mode"].GetString());
    MAKO_ASSERT(gameModeTable.IsTable());
    PlayerScript::CallGlobal(m_Data.GetState(), "FileWordRecord", gameModeTable, record);
}

int Player::GetSumOfScores(const std::string& mode, const std::string& listKey,
                           const std::string& field) const
{
    LuaObject recordsTable = GetGameModeTable(mode)[listKey];
    MAKO_ASSERT(recordsTable.IsTable());
    int sum = 0;
    for (LuaTableIterator it(recordsTable); it; it.Next()) {
        // A damaged card's stray value among the records counts nothing.
        if (!it.GetValue().IsTable())
            continue;
        LuaObject value = it.GetValue()[field];
        sum = ClampToInt(sum + (value.IsNumber() ? value.GetNumber() : 0.0));
    }
    return sum;
}

int Player::CountSecretsFound() const
{
    double found = 0;
    for (const char* mode : {"Adventure", "Lab"}) {
        // A mode without records (a new card) has found nothing there.
        if (GetGameModeTable(mode)["LevelRecords"].IsTable())
            found += GetSumOfScores(mode, "LevelRecords", "secret");
    }
    return std::clamp(ClampToInt(found), 0, kLevelCount);
}

int Player::GetSumOfScores(const std::string& listKey, const std::string& field) const
{
    return GetSumOfScores(GetCurrentMode(), listKey, field);
}

int Player::GetModeValue(const std::string& mode, const std::string& key) const
{
    LuaObject recordsTable = GetGameModeTable(mode);
    MAKO_ASSERT(recordsTable.IsTable());
    LuaObject value = recordsTable[key];
    return value.IsNumber() ? value.GetInteger() : 0;
}

int Player::GetNumberOfRecords(const std::string& listKey) const
{
    LuaObject recordsTable = GetGameModeTable(GetCurrentMode())[listKey];
    MAKO_ASSERT(recordsTable.IsTable());
    int count = 0;
    for (LuaTableIterator it(recordsTable); it; it.Next())
        ++count;
    return count;
}
