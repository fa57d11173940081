#include "GameOutcome.h"

#include "logic/ArcadeGameLogic.h"

#include <set>

namespace autoplay {

GameOutcome OutcomeOfState(const std::string& state)
{
    static const std::set<std::string> won = {"LevelCompleted", "ShowEndLevelDialog",
                                              "ShowArtifactDialog", "AdvanceLevel",
                                              "LevelsGameTypeCompleted"};
    static const std::set<std::string> lost = {"GameOver", "ShowGameOverDialog",
                                               "LevelsGameTypeOver"};
    if (won.count(state))
        return GAME_WON;
    return lost.count(state) ? GAME_LOST : GAME_IN_PLAY;
}

GameOutcome OutcomeOf(ArcadeGameLogic* logic)
{
    if (!logic || !logic->GetCurrentState())
        return GAME_IN_PLAY;
    return OutcomeOfState(logic->GetStateName());
}

} // namespace autoplay
