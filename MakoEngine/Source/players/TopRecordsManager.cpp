#include "players/TopRecordsManager.h"

#include "players/GameRecordManager.h"
#include "players/TopRecordsList.h"

namespace {
TopRecordsManager* gTopRecordsManager = nullptr;
}

TopRecordsManager::TopRecordsManager()
{
    if (GameRecordManager* records = GameRecordManager::GetInstance())
        records->AddObserver(this);
    gTopRecordsManager = this;
}

TopRecordsManager::~TopRecordsManager()
{
    if (GameRecordManager* records = GameRecordManager::GetInstance())
        records->RemoveObserver(this);
    if (gTopRecordsManager == this)
        gTopRecordsManager = nullptr;
}

TopRecordsManager* TopRecordsManager::GetInstance()
{
    return gTopRecordsManager;
}

void TopRecordsManager::AddList(std::unique_ptr<TopRecordsList> list)
{
    m_Lists.push_back(std::move(list));
}

void TopRecordsManager::GetLists(std::vector<TopRecordsList*>& lists) const
{
    for (const auto& list : m_Lists)
        lists.push_back(list.get());
}

void TopRecordsManager::OnGameRecord(const GameRecord& record)
{
    for (const auto& list : m_Lists)
        list->OnGameRecord(record);
}
