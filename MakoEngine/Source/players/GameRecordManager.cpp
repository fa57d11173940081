#include "players/GameRecordManager.h"

#include "core/Exception.h"
#include "players/GameRecord.h"
#include "players/GameRecordObserver.h"
#include "players/PlayerScript.h"

#include <algorithm>

namespace {
GameRecordManager* gGameRecordManager = nullptr;
}

GameRecordManager::GameRecordManager(LuaPlus::LuaState* state)
{
    m_Records.AssignNewTable(state);
    gGameRecordManager = this;
}

GameRecordManager::~GameRecordManager()
{
    if (gGameRecordManager == this)
        gGameRecordManager = nullptr;
}

GameRecordManager* GameRecordManager::GetInstance()
{
    return gGameRecordManager;
}

void GameRecordManager::AddObserver(GameRecordObserver* observer)
{
    m_Observers.push_back(observer);
}

void GameRecordManager::RemoveObserver(GameRecordObserver* observer)
{
    m_Observers.erase(std::remove(m_Observers.begin(), m_Observers.end(), observer),
                      m_Observers.end());
}

void GameRecordManager::NotifyObservers(const GameRecord& record)
{
    std::vector<GameRecordObserver*> observers = m_Observers;
    for (GameRecordObserver* observer : observers)
        observer->OnGameRecord(record);
}

void GameRecordManager::RestoreTable(int guid, const LuaPlus::LuaObject& table)
{
    MAKO_ASSERT_MSG(m_Records[guid].IsNil(),
                    boost::str(boost::format("A game record with the guid \"%1%\" already "
                                             "exists.") %
                               guid));
    m_Records.SetObject(guid, table);
}

LuaPlus::LuaObject GameRecordManager::GetTableWithGuid(int guid) const
{
    LuaPlus::LuaObject record = m_Records[guid];
    MAKO_ASSERT_MSG(
        record.IsTable(),
        boost::str(boost::format("Invalud guid, record is of type \"%1%\"") % record.TypeName()));
    return record;
}
