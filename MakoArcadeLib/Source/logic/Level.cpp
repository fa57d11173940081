// Level: construction (reading the level table's plain values once), the per-tick update
// and the moving-field hooks. Filling the field is in LevelSpawning.cpp, goals and bonus
// targets in LevelGoals.cpp.
#include "logic/Level.h"

#include "core/Class.h"
#include "core/DataLists.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/TableOrder.h"
#include "field/Ball.h"
#include "logic/LevelKeyCheck.h"
#include "logic/LevelKeys.h"
#include "logic/LevelPlace.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "sound/Sound.h"

#include <algorithm>

using LuaPlus::LuaObject;

namespace {

LuaObject NewPair(double x, double y)
{
    LuaObject pair = NewGlobalTable();
    pair.SetNumber(1, x);
    pair.SetNumber(2, y);
    return pair;
}

// The start as the level uses it: a copy of the start table with the keys of the
// resources it names (script function flattenObject, which writes only its copy, so the
// level's own tables are never written). A start that cannot inherit (a resource it names
// is no table resource) is reported as `<where>: <why>; it is left out` and is nil.
// Without the script function the table is used as it stands.
LuaObject FlattenStart(const LuaObject& start, const std::string& where)
{
    const LuaObject flatten = GetGlobalValue("flattenObject");
    if (!flatten.IsFunction())
        return start;
    try {
        const LuaObject flat = flatten.Call(start);
        if (flat.IsTable())
            return flat;
    } catch (const LuaPlus::LuaException& e) {
        DataReport::Report(std::string(), where + ": " + e.GetMessage() + "; it is left out");
        return LuaObject();
    }
    return start;
}

} // namespace

Level::Level(const std::string& name, const LuaPlus::LuaObject& table)
    : m_LevelName(name), m_Table(table)
{
    // What the reading finds wrong is reported once, naming this level.
    LevelPlace place(m_LevelName);
    // A level too large for the game is refused before anything of it is read or made.
    CheckFieldSize();
    LevelKeyCheck::Run(m_LevelName, m_Table);
    // The speeds first, so a default serve velocity uses this level's initial speed.
    ReadBallSpeeds();
    ReadStarts();
    ReadGoals();
    ReadPowerupLists();

    SetUpMotion();

    ReadTexts();
    ReadBonusTargets();
    ComputeScoreTarget();
}

Level::~Level()
{
    StopWindSound();
    // The slide-down's loop sounds play only in levels that slide. A sound that cannot be
    // stopped any more (the game shutting down) is no reason to fail.
    if (m_Slides) {
        try {
            Sound::StopSound("SlideDown.ogg");
            Sound::StopSound("Mystical_EnergyColumnLoop1.ogg");
        } catch (const std::exception& e) {
            Log("Level \"%s\": the slide sounds could not be stopped: %s\n", m_LevelName.c_str(),
                e.what());
        }
    }
}

LuaObject Level::ReadKey(const char* key, int luaType) const
{
    // Every key read here is one the level check knows, with the type it checks.
    MAKO_ASSERT_MSG(LevelKeys::TypeOf(key) == luaType,
                    std::string("the level reader reads an undeclared key: ") + key);
    LevelPlace place(m_LevelName);
    return ReadDataKey(m_Table, key, luaType);
}

int Level::ReadInt(const char* key, int def, int low, int high) const
{
    const LuaObject value = ReadKey(key, LUA_TNUMBER);
    if (!value.IsNumber())
        return std::clamp(def, low, high);
    LevelPlace place(m_LevelName);
    return DataRange::ReadInt(std::string(), key, value.GetNumber(), low, high, def);
}

double Level::ReadHeld(const LuaObject& table, const std::string& where, const char* key,
                       double def, double low, double high)
{
    const LuaObject value = ReadDataKey(table, key, LUA_TNUMBER, where);
    if (!value.IsNumber())
        return def;
    return DataRange::Read(std::string(), where + "." + key, value.GetNumber(), low, high, def);
}

double Level::ReadNumber(const char* key, double def, double low, double high) const
{
    const LuaObject value = ReadKey(key, LUA_TNUMBER);
    if (!value.IsNumber())
        return def;
    LevelPlace place(m_LevelName);
    return DataRange::Read(std::string(), key, value.GetNumber(), low, high, def);
}

void Level::ReadStarts()
{
    const LuaObject paddleStarts = ReadKey("paddleStarts", LUA_TTABLE);
    for (const auto& [key, table] : DataListTables(paddleStarts, std::string(), "paddleStarts")) {
        const std::string where = "paddleStarts[" + DataKeyText(key) + "]";
        LuaObject start = FlattenStart(table, where);
        if (!start.IsTable())
            continue;
        // A paddle start makes a paddle: one naming a class of another kind is left out.
        if (const Class* named = FindClassToMake(start); named && !named->DerivesFrom("Paddle")) {
            LevelPlace at(m_LevelName, 0, 0, where);
            DataReport::Report(std::string(), "a table of class \"" + named->GetName() +
                                                  "\" is not a paddle start; it is left out");
            continue;
        }
        const LuaObject ballStart = ReadDataKey(start, "ballStart", LUA_TTABLE, where);
        if (ballStart.IsTable()) {
            // The paddle start's copy holds the ball start's copy: the two are one serve.
            const LuaObject flatBall = FlattenStart(ballStart, where + ".ballStart");
            if (TableIdentity(start) != TableIdentity(table))
                start.SetObject("ballStart", flatBall);
            if (flatBall.IsTable())
                m_BallSpawns.push_back(flatBall);
        }
        m_PaddleStarts.push_back(start);
    }
    if (m_PaddleStarts.empty()) {
        LuaObject start = GetGlobalValue("defaultPaddleStart");
        if (!start.IsTable()) {
            // The game's own default when the level scripts define none.
            start = NewGlobalTable();
            start.SetObject("position", NewPair(288, 416));
            start.CreateTable("ballStart").SetString("paddleName", "defaultBallPaddleSpawn");
        }
        m_PaddleStarts.push_back(start);
        if (start["ballStart"].IsTable())
            m_BallSpawns.push_back(start["ballStart"]);
    }

    const LuaObject ballStarts = ReadKey("ballStarts", LUA_TTABLE);
    for (const auto& [key, table] : DataListTables(ballStarts, std::string(), "ballStarts")) {
        const std::string where = "ballStarts[" + DataKeyText(key) + "]";
        const LuaObject start = FlattenStart(table, where);
        if (!start.IsTable())
            continue;
        CheckFreeStart(start, where);
        m_BallSpawns.push_back(start);
    }

    if (m_BallSpawns.empty()) {
        const LuaObject position = ReadKey("ballStartPosition", LUA_TTABLE);
        if (position.IsTable()) {
            LuaObject start = NewGlobalTable();
            start.SetObject("position", position);
            const LuaObject velocity = ReadKey("ballStartVelocity", LUA_TTABLE);
            start.SetObject("velocity", velocity.IsTable()
                                            ? velocity
                                            : NewPair(0, gBallSpeed.initialBallSpeed));
            m_BallSpawns.push_back(start);
        }
    }
    if (m_BallSpawns.empty()) {
        LuaObject start = GetGlobalValue("defaultBallStart");
        if (!start.IsTable()) {
            start = NewGlobalTable();
            start.SetObject("position", NewPair(304, 200));
            start.SetObject("velocity", NewPair(0, 120));
        }
        m_BallSpawns.push_back(start);
    }
}

void Level::CheckFreeStart(const LuaObject& start, const std::string& where) const
{
    LevelPlace place(m_LevelName);
    struct Bound
    {
        const char* key;
        double low, high;
    };
    // A position far off the field is only said here: the ball is made inside the field.
    static const Bound kBounds[] = {{"velocity", -kFastestStart, kFastestStart},
                                    {"variance", 0.0, kWidestVariance},
                                    {"position", -kFarthestPoint, kFarthestPoint}};
    for (const auto& [key, low, high] : kBounds) {
        const LuaObject pair = start[key];
        if (!pair.IsTable())
            continue;
        for (int i = 1; i <= 2; ++i) {
            const LuaObject value = pair[i];
            if (value.IsNumber())
                DataRange::Read(std::string(), where + "." + key + "[" + std::to_string(i) + "]",
                                value.GetNumber(), low, high, 0.0);
        }
    }
}

void Level::ReadGoals()
{
    struct Goal
    {
        int Level::*field;
        const char* key;
        const char* global;
        int def;
    };
    static const Goal kGoals[] = {
        {&Level::victoryBalls, "victoryBalls", "defaultVictoryBalls", 0},
        {&Level::victoryPaddles, "victoryPaddles", "defaultVictoryPaddles", 0},
        {&Level::victoryGoobers, "victoryGoobers", "defaultVictoryGoobers", -1},
        {&Level::victoryBricks, "victoryBricks", "defaultVictoryBricks", 0},
        {&Level::victoryPowerups, "victoryPowerups", "defaultVictoryPowerups", -1},
        {&Level::defeatBalls, "defeatBalls", "defaultDefeatBalls", 0},
        {&Level::defeatPaddles, "defeatPaddles", "defaultDefeatPaddles", 0},
        {&Level::minLiveBalls, "minLiveBalls", "defaultMinLiveBalls", 0},
        {&Level::liveBallDelay, "liveBallDelay", "defaultLiveBallDelay", 6000},
    };
    // A count of the field's objects lies between -1 ("any number") and 10000, a delay
    // between 0 and an hour: a value outside is reported and brought to the nearest end, so
    // a goal neither overflows nor asks for more balls than a field can hold.
    LevelPlace place(m_LevelName);
    for (const Goal& goal : kGoals) {
        const bool delay = goal.field == &Level::liveBallDelay;
        this->*goal.field = ReadInt(goal.key, ReadGlobalInt(goal.global, goal.def), delay ? 0 : -1,
                                    delay ? 3600000 : kMostCount);
    }

    const LuaObject expensiveDefault = GetGlobalValue("defaultExpensiveSpawns");
    expensiveSpawns = expensiveDefault.IsBoolean() && expensiveDefault.GetBoolean();
    const LuaObject expensive = ReadKey("expensiveSpawns", LUA_TBOOLEAN);
    if (expensive.IsBoolean())
        expensiveSpawns = expensive.GetBoolean();

    // -1 means "any number": a count the field never reaches.
    for (int* goal : {&victoryGoobers, &victoryBricks, &victoryPowerups})
        if (*goal == -1)
            *goal = 10000;
    minLiveBalls = std::max(minLiveBalls, defeatBalls + 1);
}

void Level::ReadBallSpeeds()
{
    // Every level starts from the game's own limits, so nothing of the previous level
    // stays where neither the globals nor this level give a value.
    gBallSpeed = BallSpeedLimits();
    gBallSpeed.ReadFrom(m_Table);
}

void Level::ReadTexts()
{
    const auto text = [this](const char* key) {
        const LuaObject value = ReadKey(key, LUA_TSTRING);
        return value.IsString() ? std::string(value.GetString()) : std::string();
    };
    m_NoteText = text("noteText");
    m_FromText = text("fromText");
    m_FullName = text("fullName");
    m_Music = text("music");
    m_ArtefactName = "EMPTY";
}

int Level::GlobalInt(const char* name, int def, int most)
{
    const double value = ReadGlobalNumber(name, def);
    return DataRange::ReadInt("The game's defaults", name, value, -most, most, def);
}

void Level::ReadBonusTargets()
{
    // The time bonus is earned within that many minutes: up to a day.
    m_TimeBonusAt =
        float(ReadNumber("timeBonusAt", ReadGlobalNumber("defaultTimeBonusAt", 3), 0.0, 1440.0));
    // A score target lies within a billion points either way, a count of balls used within
    // the goals' counts, a share of the loot caught between 0 and 100 %: a value outside
    // is reported and brought to the nearest end, and no target, with any adjustment the
    // skill makes (held alike), overflows an int.
    m_ScoreBonusAtFineTune = ReadInt("scoreBonusAtFineTune",
                                     GlobalInt("defaultScoreBonusAtFineTune", 0, kMostScoreTarget),
                                     -kMostScoreTarget, kMostScoreTarget);
    m_PlusBonus = GlobalInt("defaultPlusBonus", 4000, kMostScoreTarget);
    m_BallUsedTarget =
        ReadInt("ballUsedTarget", GlobalInt("defaultBallUsedTarget", 1, kMostCount), 0, kMostCount);
    m_LootCaughtTarget =
        ReadInt("lootCaughtTarget", GlobalInt("defaultLootCaughtTarget", 100, 100), 0, 100);
    m_TimeBonusAtAdjustment = float(ReadGlobalNumber("defaultTimeBonusAtAdjustment", 0));
    m_ScoreBonusAtAdjustment = GlobalInt("defaultScoreBonusAtAdjustment", 0, kMostScoreTarget);
    m_BallUsedTargetAdjustment = GlobalInt("defaultBallUsedTargetAdjustment", 0, kMostCount);
    m_LootCaughtTargetAdjustment = GlobalInt("defaultLootCaughtTargetAdjustment", 0, 100);
}
