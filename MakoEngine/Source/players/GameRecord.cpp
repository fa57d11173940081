#include "players/GameRecord.h"

#include "core/Exception.h"
#include "core/ValueTypeError.h"
#include "players/GameRecordManager.h"
#include "players/PlayerScript.h"

#include <string>

GameRecord::GameRecord(const LuaPlus::LuaObject& table)
{
    // The table comes from a card: what is wrong with it is said, naming the key, and the
    // record is not taken in (the card keeps it as it is).
    if (!table.IsTable())
        MAKO_THROW(Exception, "a game record is a table, not " + DescribeScriptValue(table));
    const LuaPlus::LuaObject guid = table["gameRecordGuid"];
    if (!PlayerScript::IsInteger(guid))
        MAKO_THROW(Exception,
                   "\"gameRecordGuid\" needs a whole number, not " + DescribeScriptValue(guid));
    const LuaPlus::LuaObject type = table["gameRecordType"];
    if (!type.IsString())
        MAKO_THROW(Exception,
                   "\"gameRecordType\" needs a string, not " + DescribeScriptValue(type));
    GameRecordManager* manager = GameRecordManager::GetInstance();
    MAKO_ASSERT(manager != nullptr);
    m_Guid = guid.GetInteger();
    manager->RestoreTable(m_Guid, table);
}

LuaPlus::LuaObject GameRecord::GetTable() const
{
    GameRecordManager* manager = GameRecordManager::GetInstance();
    MAKO_ASSERT(manager != nullptr);
    return manager->GetTableWithGuid(m_Guid);
}
