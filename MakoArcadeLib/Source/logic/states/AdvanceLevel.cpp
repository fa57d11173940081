#include "logic/states/AdvanceLevel.h"

#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/states/StateSupport.h"
#include "lua/MakoLuaState.h"

namespace ArcadeGameStates {

void AdvanceLevel::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    // A level loaded by name is not loaded again: the next one goes by its numbers.
    logic->m_LevelName.reset();
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobals()["GameOptions"];
    if (options.IsTable())
        options.SetString("levelName", "EMPTY");
    const int episodes = GameProgress::EpisodeCount();
    if (episodes > 0 && logic->m_EpisodeNumber.value_or(1) > episodes)
        logic->SetState("GameOver");
    else
        logic->SetState("LoadingLevel");
}

} // namespace ArcadeGameStates
