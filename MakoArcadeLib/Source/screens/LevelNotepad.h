#pragma once
// What the map, the lab and the end-of-level letter show of a level's targets and of the
// stars a player's record holds: one wording for all three.
#include "luaplus/LuaPlus.h"

#include <string>

class Actor;
class Level;

namespace LevelNotepad {

// The four target captions: "Over 3,000:", "1 Ball Used:", "03:15 Time Bonus:",
// "95% Loot Caught:".
struct TargetTexts
{
    std::string score, balls, time, loot;
};
TargetTexts TargetTextsOf(Level& level);

// The four target labels below `root` ("scoreNeededLabel", "ballLabel", "timeLabel",
// "lootLabel") filled for the named level, or blank when it has no table or cannot be
// built; a missing label raises, naming it.
void ShowTargets(Actor* root, const std::string& levelName, bool levelExists);

// The five goal stars "actor<Category>Star" below `root` lit for the record's flags (a
// non-zero number or true), and the first of the row "actorStar1".."actorStar5" lit for
// each; a star actor that is missing raises, naming it.
void ShowStars(Actor* root, const LuaPlus::LuaObject& record);

} // namespace LevelNotepad
