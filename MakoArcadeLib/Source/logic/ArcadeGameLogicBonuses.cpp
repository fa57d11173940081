// The tally of a won level: the five bonuses the play earned against the level's targets,
// and the player's record of the level in the card, which keeps the best of every play.
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "players/PlayerScript.h"

#include <string>

using LuaPlus::LuaObject;

namespace {

// The play's targets; all 0 without a level.
struct Targets
{
    int time = 0;  // seconds
    int score = 0; // points
    int balls = 0; // balls used
    int loot = 0;  // percent
    int lootAmount = 0;
};

Targets ReadTargets(Level* level)
{
    Targets targets;
    if (!level)
        return targets;
    targets.time = static_cast<int>(level->GetTimeBonusAt());
    targets.score = level->GetScoreBonusAt();
    targets.balls = level->GetBallUsedTarget();
    targets.loot = level->GetLootCaughtTarget();
    targets.lootAmount = level->GetLootAmount();
    return targets;
}

// The game's player, else the first current player; null when there is neither.
Player* RecordPlayer(Player* player)
{
    if (player)
        return player;
    PlayerManager* players = PlayerManager::GetInstance();
    return players ? players->GetCurrentPlayer(1) : nullptr;
}

// The record table's value as an integer, 0 when it is not a number.
int RecordInt(const LuaObject& record, const char* key)
{
    return GameProgress::IntField(record, key, 0);
}

// Earns one bonus: a star, its points in the total.
void Earn(int& bonus, int& stars, int& total)
{
    bonus = ArcadeGameLogic::kBonusPoints;
    ++stars;
    total += bonus;
}

} // namespace

void ArcadeGameLogic::ComputeLevelBonuses()
{
    const Targets targets = ReadTargets(m_Level.get());
    m_TotalScore = m_Score;
    m_StarCount = 0;
    m_FastTimeBonus = m_AllLootBonus = m_SecretBonus = m_OneBallBonus = m_BigScoreBonus = 0;

    m_FastTimeEarned = m_ElapsedTime <= targets.time ? 1 : 0;
    if (m_FastTimeEarned)
        Earn(m_FastTimeBonus, m_StarCount, m_TotalScore);

    m_LootPercent = targets.lootAmount != 0 ? m_LootCaught * 100 / targets.lootAmount : 0;
    m_AllLootEarned = m_LootPercent >= targets.loot ? 1 : 0;
    if (m_AllLootEarned)
        Earn(m_AllLootBonus, m_StarCount, m_TotalScore);

    if (m_SecretFound != 0)
        Earn(m_SecretBonus, m_StarCount, m_TotalScore);

    m_OneBallEarned = m_BallsUsed <= targets.balls ? 1 : 0;
    if (m_OneBallEarned)
        Earn(m_OneBallBonus, m_StarCount, m_TotalScore);

    // The score target counts the four bonuses before it.
    m_BigScoreEarned = m_TotalScore >= targets.score ? 1 : 0;
    if (m_BigScoreEarned)
        Earn(m_BigScoreBonus, m_StarCount, m_TotalScore);

    m_PrevRecord = RecordValues<int>();
    const LuaObject modeTable = GameProgress::ModeTable(RecordPlayer(m_Player));
    if (modeTable.IsTable() && m_Level) {
        const LuaObject records = modeTable["LevelRecords"];
        const LuaObject record =
            records.IsTable() ? records[m_Level->GetLevelName().c_str()] : LuaObject();
        if (record.IsTable()) {
            m_PrevRecord.score = RecordInt(record, "score");
            m_PrevRecord.secret = RecordInt(record, "secret");
            m_PrevRecord.fastTime = RecordInt(record, "fastTime");
            m_PrevRecord.gotBigScore = RecordInt(record, "gotBigScore");
            m_PrevRecord.noBallsLost = RecordInt(record, "noBallsLost");
            m_PrevRecord.allLoot = RecordInt(record, "allLoot");
        }
    }
    m_RecordChanged = m_TotalScore > m_PrevRecord.score;
}

namespace {

// The level's record in the game-mode table, made from the scripts' defaults (with the
// six star values at 0) when there is none yet.
LuaObject FindOrCreateRecord(LuaObject& modeTable, const std::string& levelName)
{
    LuaObject records = modeTable["LevelRecords"];
    if (!records.IsTable())
        records = modeTable.CreateTable("LevelRecords");
    LuaObject record = records[levelName.c_str()];
    if (record.IsTable())
        return record;
    LuaPlus::LuaState* state = modeTable.GetState();
    if (state->GetGlobal("CreateLevelRecordTable").IsFunction())
        record = PlayerScript::CallGlobal(state, "CreateLevelRecordTable");
    if (!record.IsTable())
        record.AssignNewTable(state);
    for (const char* key : {"score", "secret", "fastTime", "gotBigScore", "noBallsLost", "allLoot"})
        record.SetNumber(key, 0);
    records.SetObject(levelName.c_str(), record);
    return record;
}

// Replaces record[key] (0 when missing) by value when better says so.
template <typename Better>
void KeepBest(LuaObject& record, const char* key, int value, Better better)
{
    const int stored = GameProgress::IntField(record, key, 0);
    if (better(value, stored))
        record.SetNumber(key, value);
}

} // namespace

void ArcadeGameLogic::SaveLevelRecord()
{
    m_RecordChanged = false;
    m_NewBest = RecordValues<bool>();
    m_BestStarCount = 0;
    LuaObject modeTable = GameProgress::ModeTable(RecordPlayer(m_Player));
    if (!modeTable.IsTable() || !m_Level)
        return;
    modeTable.SetNumber("ballsLeft", m_BallsLeft);
    LuaObject record = FindOrCreateRecord(modeTable, m_Level->GetLevelName());
    const RecordValues<int>& prev = m_PrevRecord;
    const std::string& artefact = m_Level->GetArtefactName();

    m_NewBest.score = m_TotalScore > prev.score;
    if (m_NewBest.score) {
        record.SetNumber("score", m_TotalScore);
        record.SetString("artifact", artefact.c_str());
    }
    if (artefact != "EMPTY")
        modeTable.SetString("latestArtifact", artefact.c_str());

    m_NewBest.gotBigScore = m_BigScoreEarned > prev.gotBigScore;
    if (m_NewBest.gotBigScore)
        record.SetNumber("gotBigScore", m_BigScoreEarned);
    KeepBest(record, "best_FinalScore", m_TotalScore, [](int v, int s) { return v > s; });
    m_BestStarCount += (m_BigScoreEarned || prev.gotBigScore) ? 1 : 0;

    m_NewBest.allLoot = m_AllLootEarned > prev.allLoot;
    if (m_NewBest.allLoot) {
        record.SetNumber("allLoot", m_AllLootEarned);
        record.SetNumber("loot", m_LootPercent);
    }
    KeepBest(record, "best_LootPercent", m_LootPercent, [](int v, int s) { return v > s; });
    m_BestStarCount += (m_AllLootEarned || prev.allLoot) ? 1 : 0;

    m_NewBest.fastTime = m_FastTimeEarned > prev.fastTime;
    if (m_NewBest.fastTime) {
        record.SetNumber("fastTime", m_FastTimeEarned);
        record.SetNumber("time", m_TimeLeft);
        record.SetNumber("timeTook", m_ElapsedTime);
    }
    KeepBest(record, "best_TimeTook", m_ElapsedTime, [](int v, int s) { return s == 0 || v < s; });
    m_BestStarCount += (m_FastTimeEarned || prev.fastTime) ? 1 : 0;

    m_NewBest.noBallsLost = m_OneBallEarned > prev.noBallsLost;
    if (m_NewBest.noBallsLost) {
        record.SetNumber("noBallsLost", m_OneBallEarned);
        record.SetNumber("ballsUsed", m_BallsUsed);
    }
    record.SetNumber("ballsLeft", m_BallsLeft);
    KeepBest(record, "best_BallsUsed", m_BallsUsed, [](int v, int s) { return s == 0 || v < s; });
    m_BestStarCount += (m_OneBallEarned || prev.noBallsLost) ? 1 : 0;

    m_NewBest.secret = m_SecretFound > prev.secret;
    if (m_NewBest.secret)
        record.SetNumber("secret", m_SecretFound);
    m_BestStarCount += (m_SecretFound || prev.secret) ? 1 : 0;

    m_RecordChanged = m_NewBest.score || m_NewBest.gotBigScore || m_NewBest.allLoot ||
                      m_NewBest.fastTime || m_NewBest.noBallsLost || m_NewBest.secret;
    if (GameDataIO* io = GameDataIO::GetInstance())
        io->SaveAllPlayerData();
}
