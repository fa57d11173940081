#pragma once
// The top-record lists of the run. It hears of every game record and feeds it to each
// list; the card saver writes back to each card the records the lists still hold. One
// manager exists at a time (GetInstance); the application makes it after the players.
#include "players/GameRecordObserver.h"

#include <memory>
#include <vector>

class TopRecordsList;

class TopRecordsManager : public GameRecordObserver
{
public:
    TopRecordsManager();
    ~TopRecordsManager() override;
    TopRecordsManager(const TopRecordsManager&) = delete;
    TopRecordsManager& operator=(const TopRecordsManager&) = delete;

    static TopRecordsManager* GetInstance();

    // Appends a list; the manager owns it.
    void AddList(std::unique_ptr<TopRecordsList> list);
    // Appends every list, in the order added.
    void GetLists(std::vector<TopRecordsList*>& lists) const;

    void OnGameRecord(const GameRecord& record) override;

private:
    std::vector<std::unique_ptr<TopRecordsList>> m_Lists;
};
