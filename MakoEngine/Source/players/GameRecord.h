#pragma once
// A handle to one finished game's record; the record table itself lives in the
// GameRecordManager under the record's guid.
#include "luaplus/LuaPlus.h"

class GameRecord
{
public:
    // Takes in a record table (gameRecordGuid an integer, gameRecordType a string) and
    // stores it in the manager; raises when the table is not a record or its guid is taken.
    explicit GameRecord(const LuaPlus::LuaObject& table);

    int GetGuid() const { return m_Guid; }
    LuaPlus::LuaObject GetTable() const;

private:
    int m_Guid = 0;
};
