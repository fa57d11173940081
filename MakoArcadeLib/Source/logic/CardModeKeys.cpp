// The keys of a player card's game-mode tables (Game_Modes.Adventure, .Lab ...) that the
// game relies on, handed to the card check when the program starts: the counters the map
// and the game start read, the names the menu shows, the top-ten lists the views show.
#include "players/CardCheck.h"

#include <utility>

namespace {

// The most balls a card may carry over to its next level.
constexpr int kMaxBallsLeft = 9999;
// The highest episode or level number a card may name.
constexpr int kMaxLevelNumber = 9999;

struct CardModeKeysRegistrar
{
    CardModeKeysRegistrar()
    {
        CardCheck::ModeShape shape;
        shape.counters = {
            {"ballsLeft", 0, kMaxBallsLeft},       {"EpisodeSelected", 0, kMaxLevelNumber},
            {"LevelSelected", 0, kMaxLevelNumber}, {"EpisodeUnlocked", 0, kMaxLevelNumber},
            {"LevelUnlocked", 0, kMaxLevelNumber},
        };
        shape.names = {"Rank", "latestArtifact"};
        shape.lists = {"LevelRecords", "Top_Scores", "Top_Percentages", "Top_Words"};
        CardCheck::SetModeShape(std::move(shape));
    }
};

const CardModeKeysRegistrar kRegistrar;

} // namespace
