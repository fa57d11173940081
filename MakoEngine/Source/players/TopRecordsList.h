#pragma once
// A named list of the best game records, fed by the TopRecordsManager with every record
// the run takes in. TopGameRecordsList keeps at most ten, ordered by the function it is
// made with.
#include "players/GameRecord.h"
#include "players/GameRecordObserver.h"

#include <functional>
#include <string>
#include <vector>

class TopRecordsList : public GameRecordObserver
{
public:
    explicit TopRecordsList(const std::string& name) : m_Name(name) {}
    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }
    // True when the name equals name byte for byte.
    bool IsNamed(const std::string& name) const { return m_Name == name; }
    virtual int GetCount() const = 0;
    // Entry i, counting from 0 (best first).
    virtual const GameRecord& GetRecord(int index) const MAKO_LIFETIMEBOUND = 0;

private:
    std::string m_Name;
};

class TopGameRecordsList : public TopRecordsList
{
public:
    // Whether record a goes before record b (their tables).
    using Ordering = std::function<bool(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b)>;

    // The most entries a list keeps.
    static const int kMaxEntries = 10;

    TopGameRecordsList(const std::string& name, Ordering ordering);
    // The ordering of "Top Ten Scores": the higher gameScore first; a record without one
    // counts as none and comes after every scored record. Never raises.
    static bool ByGameScore(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b)
    {
        return ByScore(a, b, &GameScore);
    }
    // Whether a goes before b by the score read(record, &score) gives them: the higher
    // first, a record read gives none for after every scored one.
    template <typename ReadScore>
    static bool ByScore(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b,
                        const ReadScore& read)
    {
        double scoreA = 0;
        double scoreB = 0;
        const bool scoredA = read(a, &scoreA);
        const bool scoredB = read(b, &scoreB);
        if (scoredA != scoredB)
            return scoredA;
        return scoredA && scoreA > scoreB;
    }
    // A record's gameScore when it is a finite number: true and *score set; false for a
    // record without one (a card's record the game did not write may lack it).
    static bool GameScore(const LuaPlus::LuaObject& record, double* score);

    int GetCount() const override { return static_cast<int>(m_Records.size()); }
    const GameRecord& GetRecord(int index) const MAKO_LIFETIMEBOUND override;
    // Adds the record, orders the list (records that compare equal keep the order they
    // came in) and drops entries past the tenth. A record without a score is named once
    // (it counts as none).
    void OnGameRecord(const GameRecord& record) override;

private:
    Ordering m_Ordering;
    std::vector<GameRecord> m_Records;
};
