#include "logic/states/LoadingLevel.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/WorkMeter.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/LevelKeyCheck.h"
#include "logic/LevelManager.h"
#include "logic/states/StateSupport.h"
#include "lua/MakoLuaState.h"
#include "scene/ActorGroup.h"
#include "widgets/Label.h"

#include <algorithm>
#include <boost/format.hpp>
#include <exception>
#include <string>

namespace ArcadeGameStates {

namespace {

// The build's meter names the level once it is known.
void NameMeter(const std::string& wanted)
{
    if (WorkMeter* meter = WorkMeter::Current())
        meter->Rename("level \"" + wanted + "\"");
}

} // namespace

Level* LoadingLevel::FetchLevel(std::string& wanted)
{
    ArcadeGameLogic* logic = m_Logic;
    LevelManager* manager = LevelManager::Exists() ? LevelManager::GetLevelManager() : nullptr;
    if (logic->m_LevelName && *logic->m_LevelName != "EMPTY") {
        wanted = *logic->m_LevelName;
        NameMeter(wanted);
        Level* level = manager ? manager->GetLevel(wanted) : nullptr;
        if (level)
            logic->FindLevelByName(wanted);
        return level;
    }
    MAKO_ASSERT(gLogic->m_EpisodeNumber);
    MAKO_ASSERT(gLogic->m_LevelNumber);
    const int episode = *logic->m_EpisodeNumber, number = *logic->m_LevelNumber;
    wanted = LevelManager::GetLevelNameAt(episode, number);
    if (wanted.empty())
        wanted = boost::str(boost::format("episode %1% level %2%") % episode % number);
    NameMeter(wanted);
    Level* level = manager ? manager->GetLevelAt(episode, number) : nullptr;
    LuaPlus::LuaObject modeTable = GameProgress::ModeTable(logic->m_Player);
    if (level && modeTable.IsTable()) {
        modeTable.SetInteger("LevelSelected", number);
        modeTable.SetInteger("EpisodeSelected", episode);
    }
    return level;
}

bool LoadingLevel::BuildLevel()
{
    ArcadeGameLogic* logic = m_Logic;
    std::string wanted;
    // What building one level says about its data is capped, a table its entries share is
    // checked once, and every walk over its values charges one meter: a level that needs
    // more work than any level should, or whose build is stopped, is named and not played.
    DataReport::Cap cap;
    LevelKeyCheck::Session session;
    try {
        // Closed before the field is cleared below, which is the game's own work.
        WorkMeter meter("a level");
        Level* level = FetchLevel(wanted);
        if (!level) {
            Log("LoadingLevel: there is no level \"%s\"\n", wanted.c_str());
            return false;
        }
        level->DropMissingMusic();
        logic->SetLevel(level);
        logic->GetWallGroup().KillAll();
        logic->GetShieldGroup().KillAll();
        level->CreateWalls(logic);
        // A per-entry guard may have caught the meter's error: the level is not played.
        if (meter.IsSpent())
            MAKO_THROW(WorkSpent, meter.Describe());
        return true;
    } catch (const std::exception& error) {
        // What data can cause (core/ObjectBoundary decides: the engine's exceptions and the
        // script wrapper's alike), the end of the level's own meter, opened above, or a stop:
        // the level is not played. The program's own mistakes pass on to the crash reporter.
        const ObjectBoundary::Fault fault = ObjectBoundary::FaultOf(&error);
        if (fault == ObjectBoundary::Fault::Program)
            throw;
        if (fault == ObjectBoundary::Fault::Stop)
            Log("LoadingLevel: the build of level \"%s\" was cut short: %s\n", wanted.c_str(),
                error.what());
        else
            Log("LoadingLevel: level \"%s\" could not be built: %s\n", wanted.c_str(),
                error.what());
        // Kept for whoever started the level (the level check reports it).
        LuaPlus::LuaObject reason;
        reason.AssignString(GetGlobalLuaState(), error.what());
        logic->SetScriptField("levelFailure", reason);
        ClearField();
        return false;
    }
}

void LoadingLevel::ClearField()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->SetLevel(nullptr);
    logic->SetArtefact(nullptr);
    for (ActorGroup* group : {&logic->GetBricks(), &logic->GetExtraActors(), &logic->GetGoobers(),
                              &logic->GetDropTargets(), &logic->GetPowerups(),
                              &logic->GetWallGroup(), &logic->GetShieldGroup()})
        group->KillAll();
}

void LoadingLevel::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    ApplyPlayerSkill();
    if (!BuildLevel()) {
        logic->LeaveGameScreen();
        return;
    }
    Level* level = logic->GetLevel();
    logic->m_TimeLeft = static_cast<int>(level->GetTimeBonusAt());
    logic->m_ElapsedTime = 0;
    logic->m_Score = 0;
    logic->m_Bonus = 0;
    logic->m_Speed = 0;
    logic->m_LootCaught = 0;
    logic->ShowScore(logic->m_Score);
    logic->ShowTime(logic->m_TimeLeft);
    ShowLevelLabels(level);
    logic->m_SecretFound = 0;
    logic->m_OneBallEarned = 1;
    logic->m_BallsUsed = 1;
    logic->m_BigScoreEarned = 0;
    CarryBallsOver();
    if (GameProgress::AppFlag("enableBrickDropAnimation", true))
        MoveDropContent(logic, -kDropDistance);
    logic->SetState("ShowStartLevelDialog");
}

void LoadingLevel::ShowLevelLabels(Level* level)
{
    ArcadeGameLogic* logic = m_Logic;
    if (logic->m_LevelLabel) {
        logic->m_LevelLabel->SetText(
            level->GetFullName().empty() ? level->GetLevelName() : level->GetFullName(), true);
        logic->m_LevelLabel->SetVisible(true, true);
    }
    if (logic->m_EpisodeLabel) {
        const int episode = logic->m_EpisodeNumber.value_or(1);
        const std::string name = episode == 11  ? std::string("The Lab")
                                 : episode == 1 ? std::string("Cape Horn")
                                                : GameProgress::EpisodeName(episode);
        logic->m_EpisodeLabel->SetText(name.empty() ? std::string(" ") : name, true);
        logic->m_EpisodeLabel->SetVisible(true, true);
    }
}

void LoadingLevel::CarryBallsOver()
{
    ArcadeGameLogic* logic = m_Logic;
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobals()["GameOptions"];
    LuaPlus::LuaObject modeTable = GameProgress::ModeTable(logic->m_Player);
    if (modeTable.IsTable() && modeTable["ballsLeft"].IsNumber() &&
        GameProgress::ModeName(logic->m_Player) != "Lab") {
        int balls = GameProgress::IntField(modeTable, "ballsLeft", 0);
        balls = std::max(balls, GameProgress::IntField(options, "ballsLeft", balls));
        logic->m_BallsLeft = balls;
        modeTable.SetInteger("ballsLeft", balls);
    }
    if (options.IsTable())
        options.SetInteger("ballsLeft", logic->m_BallsLeft);
    logic->ShowBallsLeft(logic->m_BallsLeft);
}

} // namespace ArcadeGameStates
