#include "logic/Level.h"

// FIRST STAGE: declarations with empty bodies until the level is written.

Level::Level(const std::string& name, const LuaPlus::LuaObject& table)
    : m_LevelName(name), m_Table(table)
{
}
Level::~Level() = default;
void Level::Update(ArcadeGameLogic*) {}
void Level::AddBackground(LevelContainer*) {}
void Level::SpawnBricks(LevelContainer*) {}
void Level::CreateBricks(std::vector<Brick*>&) {}
void Level::SpawnExtraActors(LevelContainer*) {}
void Level::SpawnLevelActors(LevelContainer*) {}
void Level::SetupArtefact(LevelContainer*) {}
void Level::CreateWalls(LevelContainer*) {}
void Level::SpawnPaddles(ArcadeGameLogic*) {}
void Level::SpawnBall(ArcadeGameLogic*, int, bool) {}
void Level::SpawnBallAt(ArcadeGameLogic*, const LuaPlus::LuaObject&) {}
bool Level::IsVictory(ArcadeGameLogic*) const
{
    return false;
}
bool Level::IsDefeat(ArcadeGameLogic*) const
{
    return false;
}
bool Level::NeedsLiveBall(ArcadeGameLogic*, bool) const
{
    return false;
}
void Level::CheckLastBrickBonus(ArcadeGameLogic*, double, double) {}
void Level::CheckPowerups(ArcadeGameLogic*) {}
void Level::AwardArcadeBonus(ArcadeGameLogic*) {}
void Level::CheckProgressive(ArcadeGameLogic*) {}
void Level::StartTimeAttackRewind() {}
std::int64_t Level::GetTimeBonusAt()
{
    return 0;
}
int Level::GetScoreBonusAt()
{
    return 0;
}
int Level::GetBallUsedTarget()
{
    return 0;
}
int Level::GetLootCaughtTarget()
{
    return 0;
}
void Level::ComputeScoreTarget() {}
