#pragma once
// Helpers of the level tests: levels made from Lua table expressions, Lua globals set for
// one test and put back after it (the tests of a program share one Lua state), and a
// controller that takes the paddles and balls a level serves into its groups.
#include "FieldScene.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "support/engine/EngineSetup.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace leveltest {

// Sets globals (name, Lua expression) while it lives; each gets its old value back.
class Globals
{
public:
    Globals(std::initializer_list<std::pair<const char*, std::string>> values)
    {
        LuaPlus::LuaObject globals = GetGlobalLuaState()->GetGlobals();
        for (const auto& value : values) {
            m_Saved.emplace_back(value.first, globals[value.first]);
            globals.SetObject(value.first, bbtest::EvalLua(value.second));
        }
    }
    ~Globals()
    {
        LuaPlus::LuaObject globals = GetGlobalLuaState()->GetGlobals();
        for (auto it = m_Saved.rbegin(); it != m_Saved.rend(); ++it)
            globals.SetObject(it->first, it->second);
    }
    Globals(const Globals&) = delete;
    Globals& operator=(const Globals&) = delete;

private:
    std::vector<std::pair<const char*, LuaPlus::LuaObject>> m_Saved;
};

// Sets constants of the configuration (name, Lua expression) while it lives, as the game's
// scripts set them with LoadConstConfig (LevelOrder, EpisodeNames); each gets its old
// value back.
class Constants
{
public:
    Constants(std::initializer_list<std::pair<const char*, std::string>> values)
    {
        LuaPlus::LuaObject constants = GetGlobalLuaState()->GetGlobals()["ConstConfig"];
        for (const auto& value : values) {
            m_Saved.emplace_back(value.first, constants.RawGet(value.first));
            constants.RawSetObject(value.first, bbtest::EvalLua(value.second));
        }
    }
    ~Constants()
    {
        LuaPlus::LuaObject constants = GetGlobalLuaState()->GetGlobals()["ConstConfig"];
        for (auto it = m_Saved.rbegin(); it != m_Saved.rend(); ++it)
            constants.RawSetObject(it->first, it->second);
    }
    Constants(const Constants&) = delete;
    Constants& operator=(const Constants&) = delete;

private:
    std::vector<std::pair<const char*, LuaPlus::LuaObject>> m_Saved;
};

// A level named "Test" of the table the expression gives.
inline std::unique_ptr<Level> MakeLevel(const std::string& table)
{
    return std::make_unique<Level>("Test", bbtest::EvalLua(table));
}

// The tests' controller, taking paddles and balls into the groups the level reads.
class ServeLogic : public fieldtest::RecordingLogic
{
public:
    void AddPaddle(Paddle* paddle) override
    {
        paddles.push_back(paddle);
        GetPaddleGroup().Add(paddle);
        playLayer->AddChild(paddle, "");
    }
    void AddBall(Ball* ball) override
    {
        GetBalls().Add(ball);
        playLayer->AddChild(ball, "");
        heldServes.push_back(ball);
    }
    void SpawnBallAnimation(Ball* ball) override
    {
        GetBallSpawnAnimations().Add(ball);
        playLayer->AddChild(ball, "");
        freeServes.push_back(ball);
    }
    std::vector<Ball*> heldServes, freeServes;
};

} // namespace leveltest
