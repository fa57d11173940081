#pragma once
// What is told of every game record the record manager takes in.
class GameRecord;

class GameRecordObserver
{
public:
    virtual ~GameRecordObserver() = default;
    // Called once per record, right after the manager has stored it.
    virtual void OnGameRecord(const GameRecord& record) = 0;
};
