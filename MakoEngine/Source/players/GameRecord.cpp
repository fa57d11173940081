#include "players/GameRecord.h"

#include "core/Exception.h"
#include "players/GameRecordManager.h"
#include "players/PlayerScript.h"

GameRecord::GameRecord(const LuaPlus::LuaObject& table)
{
    MAKO_ASSERT(table.IsTable());
    MAKO_ASSERT_MSG(PlayerScript::IsInteger(table["gameRecordGuid"]),
                    "A game record table must contain a guid.");
    MAKO_ASSERT_MSG(table["gameRecordType"].IsString(), "Cannot deduce game record's type.");
    GameRecordManager* manager = GameRecordManager::GetInstance();
    MAKO_ASSERT(manager != nullptr);
    m_Guid = table["gameRecordGuid"].GetInteger();
    manager->RestoreTable(m_Guid, table);
}

LuaPlus::LuaObject GameRecord::GetTable() const
{
    GameRecordManager* manager = GameRecordManager::GetInstance();
    MAKO_ASSERT(manager != nullptr);
    return manager->GetTableWithGuid(m_Guid);
}
