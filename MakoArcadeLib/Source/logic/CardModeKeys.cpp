// The keys of a player card's game-mode tables (Game_Modes.Adventure, .Lab ...) that the
// game relies on, handed to the card check when the program starts: the counters the map
// and the game start read, the names the menu shows, the top-ten lists the views show and
// the ranges of the numbers their records hold.
#include "players/CardCheck.h"

#include <utility>

namespace {

// The most balls a card may carry over to its next level.
constexpr int kMaxBallsLeft = 9999;
// The highest episode or level number a card may name.
constexpr int kMaxLevelNumber = 9999;
// The best score one level can hold: the sum over every level of both modes stays well
// within an int.
constexpr int kMaxLevelScore = 9999999;
// The highest score, time or count any other record may hold.
constexpr int kMaxRecordValue = 999999999;

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
        // A level's record: five goal flags, its best score, loot percentage, times and
        // balls. A top-ten entry: a game's total, its percentage, a word's score.
        shape.recordFields = {
            {"secret", 0, 1},
            {"fastTime", 0, 1},
            {"gotBigScore", 0, 1},
            {"noBallsLost", 0, 1},
            {"allLoot", 0, 1},
            {"score", 0, kMaxLevelScore},
            {"best_FinalScore", 0, kMaxLevelScore},
            {"loot", 0, 100},
            {"best_LootPercent", 0, 100},
            {"percentage", 0, 100},
            {"time", 0, kMaxRecordValue},
            {"timeTook", 0, kMaxRecordValue},
            {"best_TimeTook", 0, kMaxRecordValue},
            {"balls", 0, kMaxBallsLeft},
            {"ballsLeft", 0, kMaxBallsLeft},
            {"ballsUsed", 0, kMaxBallsLeft},
            {"best_BallsUsed", 0, kMaxBallsLeft},
            {"award", 0, kMaxRecordValue},
            {"total_score", 0, kMaxRecordValue},
            {"word_score", 0, kMaxRecordValue},
        };
        // The find a level's record names and the word a word record holds.
        shape.recordTexts = {"artifact", "word"};
        // Both name a find of the game, or none yet.
        shape.lookups = {{"latestArtifact", "Artifacts", "EMPTY"},
                         {"artifact", "Artifacts", "EMPTY"}};
        CardCheck::SetModeShape(std::move(shape));
        CardCheck::SetGameRecordFields({{"gameScore", 0, kMaxRecordValue}});
    }
};

const CardModeKeysRegistrar kRegistrar;

} // namespace
