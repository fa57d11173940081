#include "logic/LevelManager.h"

#include "logic/Level.h"

// FIRST STAGE: declarations with empty bodies until the level manager is written.

LevelManager* LevelManager::s_LevelManager = nullptr;

LevelManager::LevelManager()
{
    s_LevelManager = this;
}
LevelManager::~LevelManager()
{
    if (s_LevelManager == this)
        s_LevelManager = nullptr;
}
LevelManager* LevelManager::GetLevelManager()
{
    return s_LevelManager;
}
bool LevelManager::Exists()
{
    return s_LevelManager != nullptr;
}
Level* LevelManager::GetLevel(const std::string&) const
{
    return nullptr;
}
Level* LevelManager::GetLevelAt(int, int) const
{
    return nullptr;
}
std::string LevelManager::GetLevelNameAt(int, int)
{
    return std::string();
}
