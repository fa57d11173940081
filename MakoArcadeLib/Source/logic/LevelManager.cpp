#include "logic/LevelManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptBudget.h"

#include <physfs.h>

using LuaPlus::LuaObject;

LevelManager* LevelManager::s_LevelManager = nullptr;

LevelManager::LevelManager()
{
    s_LevelManager = this;
    // The level scripts' set-up hook; a game without one has nothing to set up.
    const LuaObject setup = GetGlobalLuaState()->GetGlobal("SetupLevel");
    if (setup.IsFunction())
        setup.Call();
}

LevelManager::~LevelManager()
{
    if (s_LevelManager == this)
        s_LevelManager = nullptr;
}

LevelManager* LevelManager::GetLevelManager()
{
    MAKO_ASSERT(s_LevelManager != 0);
    return s_LevelManager;
}

bool LevelManager::Exists()
{
    return s_LevelManager != nullptr;
}

Level* LevelManager::GetLevel(const std::string& name) const
{
    const LuaObject levelsTable = GetGlobalLuaState()->GetGlobal("Levels");
    MAKO_ASSERT(levelsTable.IsTable());
    const LuaObject table = levelsTable[name];
    if (!table.IsTable())
        return nullptr;
    return new Level(name, table);
}

Level* LevelManager::GetLevelAt(int episode, int level) const
{
    const std::string name = GetLevelNameAt(episode, level);
    return name.empty() ? nullptr : GetLevel(name);
}

std::string LevelManager::GetLevelNameAt(int episode, int level)
{
    const LuaObject order = GameProgress::ConfigTable("LevelOrder");
    if (!order.IsTable())
        return std::string();
    const LuaObject levels = order[episode];
    if (!levels.IsTable())
        return std::string();
    const LuaObject name = levels[level];
    return name.IsConvertibleToString() ? name.ToString() : std::string();
}

std::vector<std::string> LevelManager::GetLevelFileNames()
{
    std::vector<std::string> names;
    if (!PHYSFS_isInit())
        return names;
    char** list = PHYSFS_enumerateFiles("Levels");
    if (!list)
        return names;
    for (char** name = list; *name; ++name)
        names.push_back(*name);
    PHYSFS_freeList(list);
    return names;
}

void LevelManager::RunLevelFile(LuaPlus::LuaState* state, const std::string& name)
{
    if (!EndsWith(name, ".lua"))
        return;
    ScriptBudget budget(state->GetCState(), kUserFileInstructionBudget, kUserFileMemoryBudget);
    try {
        MakoLuaState::DoResourceFile(state, name);
    } catch (const Exception& e) {
        const std::string why =
            budget.RanOutOfMemory() ? "the file " + budget.GetReason() : e.GetMessage();
        Log("ERROR: The level file \"%s\" was skipped: %s\n", name.c_str(), why.c_str());
    }
}
