
#include "logic/PlayerSkill.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "players/Player.h"
#include "players/PlayerManager.h"

#include <algorithm>
#include <boost/format.hpp>

namespace {

const char* const kFallbackSkill = "casual";

// The keys of a Skills row and the global each is written to, in the order of writing
// (GameOptions.ballsLeft goes between the first and the second).
enum class Reading { Integer, Single };
struct SkillValue
{
    const char* key;
    const char* global;
    Reading reading;
};
const SkillValue kAfterBalls[] = {
    {"defaultInitialBallSpeed", "defaultInitialBallSpeed", Reading::Single},
    {"defaultMinBallSpeed", "defaultMinBallSpeed", Reading::Single},
    {"defaultMaxBallOrdinarySpeed", "defaultMaxBallOrdinarySpeed", Reading::Single},
    {"defaultAddSpeedPerTick", "defaultAddSpeedPerTick", Reading::Single},
    {"defaultSpeedPerEnergy", "defaultSpeedPerEnergy", Reading::Single},
    {"brickStrengthOverride", "brickStrengthOverride", Reading::Single},
    {"defaultAnvilStrength", "defaultAnvilStrength", Reading::Integer},
    {"defaultScoreBonusAtAdjustment", "defaultScoreBonusAtAdjustment", Reading::Integer},
    {"defaultLootCaughtTargetAdjustment", "defaultLootCaughtTargetAdjustment", Reading::Integer},
    {"defaultBallUsedTargetAdjustment", "defaultBallUsedTargetAdjustment", Reading::Integer},
    {"defaultTimeBonusAtAdjustment", "defaultTimeBonusAtAdjustment", Reading::Single},
};

// row[key] as the reading says; a missing or non-numeric value raises, naming the key.
double ReadSkillValue(const LuaPlus::LuaObject& row, const std::string& skill, const char* key,
                      Reading reading)
{
    LuaPlus::LuaObject value = row[key];
    MAKO_ASSERT_MSG(value.IsNumber(),
                    boost::str(boost::format("Skills.%1%.%2% must be a number.") % skill % key));
    if (reading == Reading::Integer)
        return ReadIntegerFromObject(value);
    return static_cast<double>(static_cast<float>(value.GetNumber()));
}

} // namespace

void ApplySkill(const std::string& skill)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaPlus::LuaObject globals = state->GetGlobals();
    LuaPlus::LuaObject skills = globals["Skills"];
    MAKO_ASSERT_MSG(skills.IsTable(), "The script table Skills is missing.");

    std::string name = skill;
    LuaPlus::LuaObject row = skills[name.c_str()];
    if (!row.IsTable()) {
        Log("ApplyPlayerSkill: no skill named \"%s\"; using \"%s\".\n", name.c_str(),
            kFallbackSkill);
        name = kFallbackSkill;
        row = skills[kFallbackSkill];
        MAKO_ASSERT_MSG(row.IsTable(), "The script table Skills has no row \"casual\".");
    }

    globals.SetInteger("paddleInitialSizeOverride",
                       static_cast<int>(ReadSkillValue(row, name, "paddleSize", Reading::Integer)));
    const int balls = static_cast<int>(ReadSkillValue(row, name, "ballsLeft", Reading::Integer));
    LuaPlus::LuaObject options = globals["GameOptions"];
    if (options.IsTable())
        options.SetInteger("ballsLeft", balls);
    for (const SkillValue& value : kAfterBalls)
        globals.SetNumber(value.global, ReadSkillValue(row, name, value.key, value.reading));
}

double GetBrickStrengthScale()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    const LuaPlus::LuaObject value = state
                                         ? ReadDataKey(state->GetGlobals(), "brickStrengthOverride",
                                                       LUA_TNUMBER, "The player's skill")
                                         : LuaPlus::LuaObject();
    return value.IsNumber() ? value.GetNumber() : 1.0;
}

int GetPaddleInitialSizeIndex(int fallback)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    const LuaPlus::LuaObject value =
        state ? ReadDataKey(state->GetGlobals(), "paddleInitialSizeOverride", LUA_TNUMBER,
                            "The player's skill")
              : LuaPlus::LuaObject();
    return value.IsNumber() ? std::clamp(value.GetInteger(), 0, 6) : fallback;
}

void ApplyPlayerSkill()
{
    Player* player = nullptr;
    if (PlayerManager* players = PlayerManager::GetInstance())
        player = players->GetCurrentPlayer(1);
    if (!player) {
        LogAtLevel(3, "ApplyPlayerSkill: no current player; using \"%s\".\n", kFallbackSkill);
        ApplySkill(kFallbackSkill);
        return;
    }
    ApplySkill(player->GetSkill());
}

// ApplyPlayerSkill(): the same for scripts and the game's states, which reach it by name.
MAKO_LUA_FUNCTION(ApplyPlayerSkill)
{
    (void)L;
    ApplyPlayerSkill();
    return 0;
}
