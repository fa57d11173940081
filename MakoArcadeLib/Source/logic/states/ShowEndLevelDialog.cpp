#include "logic/states/ShowEndLevelDialog.h"

#include "core/Log.h"
#include "core/Utility.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/states/StateSupport.h"
#include "players/GameDataIO.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/LevelNotepad.h"
#include "screens/Screen.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ArcadeGameStates {

const char* ShowEndLevelDialog::ScoreMessage(int d)
{
    if (d > 5000)
        return "Amazing!!!";
    if (d > 2500)
        return "Wow!";
    if (d > 1500)
        return "Great Job!";
    if (d > 500)
        return "Good!";
    if (d >= 0)
        return "Just Made It";
    if (d >= -1000)
        return "So Close!";
    if (d >= -3000)
        return "Almost";
    return "Need More";
}

void ShowEndLevelDialog::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    Level* level = logic->GetLevel();
    auto* letter = new EndLevelBonusDialog(level ? level->GetFullName() : std::string(), 0);
    m_Letter.Set(letter);
    FillTargets(letter);
    // The letter pauses the game, and with it every timer running now: the tally timer
    // must start after it, or it would wait for the letter to close.
    logic->GetGameScreen()->StartDialog(letter, true);
    SetMusicTempo(1.0f);
    logic->PlayLevelMusic("LevelComplete", true);

    logic->ComputeLevelBonuses();
    logic->SaveLevelRecord();
    letter->SetTopScore(logic->m_PrevRecord.score, false);
    m_LastAward = ShowEarlierStars(letter);

    m_CompletedEpisode = logic->m_EpisodeNumber.value_or(1);
    m_CompletedLevel = logic->m_LevelNumber.value_or(1);
    const std::string mode =
        logic->m_Player ? GameProgress::ModeName(logic->m_Player) : logic->m_GameType;
    if (mode == "Adventure") {
        logic->AdvanceProgress();
    } else if (mode == "Lab") {
        letter->SetButtonText("NextButton", "okay");
        letter->SetButtonText("QuitButton", "lab");
    }
    TellSaveFailure(letter);
    m_TallyTimer = logic->StartTimer(kTallyIntervalMs, kTallySignals);
}

void ShowEndLevelDialog::TellSaveFailure(EndLevelBonusDialog* letter)
{
    GameDataIO* io = GameDataIO::GetInstance();
    m_SaveFailed = io && !io->GetUnsavedCards().empty();
    if (m_SaveFailed)
        letter->ShowWarning("Your progress could not be saved:",
                            UnsavedCardsText(io->GetUnsavedCards()));
}

std::string ShowEndLevelDialog::UnsavedCardsText(const std::map<int, std::string>& unsaved)
{
    // Cards that failed for one reason share it: one reason alone ("No space left on
    // device"), several each after their cards ("card 1: ...; cards 2, 3: ...").
    std::vector<std::pair<std::string, std::vector<int>>> reasons;
    for (const auto& card : unsaved) {
        const std::string& why = card.second;
        auto same = std::find_if(reasons.begin(), reasons.end(),
                                 [&why](const auto& entry) { return entry.first == why; });
        if (same == reasons.end())
            reasons.push_back({why, {card.first}});
        else
            same->second.push_back(card.first);
    }
    if (reasons.size() == 1)
        return reasons.front().first;
    std::string text;
    for (const auto& [reason, slots] : reasons) {
        text += text.empty() ? "" : "; ";
        text += slots.size() == 1 ? "card " : "cards ";
        for (std::size_t i = 0; i < slots.size(); ++i)
            text += (i == 0 ? "" : ", ") + std::to_string(slots[i]);
        text += ": " + reason;
    }
    return text;
}

void ShowEndLevelDialog::FillTargets(EndLevelBonusDialog* letter)
{
    Level* level = m_Logic->GetLevel();
    if (!level)
        return;
    const LevelNotepad::TargetTexts texts = LevelNotepad::TargetTextsOf(*level);
    letter->SetLabelText("scoreNeededLabel", texts.score);
    letter->SetLabelText("ballLabel", texts.balls);
    letter->SetLabelText("timeLabel", texts.time);
    letter->SetLabelText("lootLabel", texts.loot);
}

int ShowEndLevelDialog::ShowEarlierStars(EndLevelBonusDialog* letter)
{
    const auto& prev = m_Logic->m_PrevRecord;
    const std::pair<int, const char*> earlier[] = {{prev.secret, "Secret"},
                                                   {prev.gotBigScore, "Score"},
                                                   {prev.allLoot, "Loot"},
                                                   {prev.fastTime, "Time"},
                                                   {prev.noBallsLost, "Ball"}};
    int count = 0;
    for (const auto& [value, star] : earlier)
        if (value != 0) {
            letter->SetStar(star, EndLevelBonusDialog::STAR_EARNED_BEFORE, 0);
            ++count;
        }
    letter->SetLastAward(count);
    return count;
}

void ShowEndLevelDialog::OnExitState()
{
    m_Logic->KillTimer(m_TallyTimer);
}

bool ShowEndLevelDialog::OnTimer(const Event& event)
{
    const auto id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || id != m_TallyTimer)
        return false;
    const int signalsLeft = static_cast<int>(EventData2Int(event));
    if (signalsLeft == 0)
        m_Logic->ForgetTimer(m_TallyTimer);
    if (EndLevelBonusDialog* letter = m_Letter.Get())
        Tally(letter, signalsLeft);
    // Others may count the same signals.
    return false;
}

void ShowEndLevelDialog::Tally(EndLevelBonusDialog* letter, int signalsLeft)
{
    ArcadeGameLogic* logic = m_Logic;
    switch (signalsLeft) {
    case 9:
        letter->SetScore(logic->m_Score);
        Sound::PlaySound(logic->m_NewBest.score ? "laserShot1.ogg" : "attention1.ogg", false);
        break;
    case 8:
        letter->SetMessage("ballLabel",
                           boost::str(boost::format("You Used %1%") % logic->m_BallsUsed));
        TallyBonus(letter, logic->m_OneBallEarned, logic->m_OneBallBonus, "Ball");
        break;
    case 7:
        letter->SetMessage("timeLabel", "You Took " + FormatMinutesSeconds(logic->m_ElapsedTime));
        TallyBonus(letter, logic->m_FastTimeEarned, logic->m_FastTimeBonus, "Time");
        break;
    case 6:
        letter->SetMessage("lootLabel",
                           boost::str(boost::format("You Caught %1%%%") % logic->m_LootPercent));
        TallyBonus(letter, logic->m_AllLootEarned, logic->m_AllLootBonus, "Loot");
        break;
    case 5:
        TallyBonus(letter, logic->m_SecretFound, logic->m_SecretBonus, "Secret");
        letter->SetMessage("secretLabel", logic->m_SecretFound ? "Found It!" : "Keep Looking!");
        break;
    case 4: {
        // The verdict measures the play against the target, so it leaves out the score
        // bonus that reaching the target adds: a total exactly at the target "just made it".
        Level* level = logic->GetLevel();
        const int target = level ? level->GetScoreBonusAt() : 0;
        const int scoreBonus = logic->m_BigScoreEarned ? logic->m_BigScoreBonus : 0;
        letter->SetMessage("scoreLabel", ScoreMessage(logic->m_TotalScore - scoreBonus - target));
        TallyBonus(letter, logic->m_BigScoreEarned, logic->m_BigScoreBonus, "Score");
        break;
    }
    case 3:
        if (logic->m_TotalScore > logic->m_PrevRecord.score) {
            letter->SetTopScore(logic->m_TotalScore, true);
            Sound::PlaySound("claps.ogg", false);
            Sound::PlaySound("laserShot2.ogg", false);
        }
        break;
    case 2:
        TallyAward(letter);
        break;
    case 0:
        if (logic->m_RecordChanged && !m_SaveFailed) {
            letter->ShowMessageLine("New Record!");
            Sound::PlaySound("magic1.ogg", false);
        }
        break;
    default: // 10 is the pause before the count, 1 the pause before the verdict
        break;
    }
}

void ShowEndLevelDialog::TallyBonus(EndLevelBonusDialog* letter, int earned, int bonus,
                                    const char* star)
{
    if (!earned) {
        Sound::PlaySound("attention3.ogg", false);
        return;
    }
    Sound::PlaySound("laserShot3.ogg", false);
    Sound::PlaySound("Heal.ogg", false);
    letter->SetStar(star, earned, bonus);
    m_Logic->AddScore(bonus);
    letter->SetScore(m_Logic->m_Score);
}

void ShowEndLevelDialog::TallyAward(EndLevelBonusDialog* letter)
{
    const int count = m_Logic->m_BestStarCount;
    letter->SetAward(count);
    if (count <= m_LastAward) {
        Sound::PlaySound("Heal.ogg", false);
        Sound::PlaySound("attention1.ogg", false);
        return;
    }
    static const char* const kFanfare[] = {nullptr, "Pickup_GemBells03.ogg",
                                           "Pickup_GemBells15.ogg", "Pickup_GemBells16.ogg",
                                           "laserShot2.ogg"};
    if (count >= EndLevelBonusDialog::kAwardStars) {
        for (const char* sound : {"claps.ogg", "laserShot2.ogg", "magic2.ogg", "Heal.ogg"})
            Sound::PlaySound(sound, false);
        return;
    }
    Sound::PlaySound(kFanfare[count], false);
    Sound::PlaySound("Heal.ogg", false);
}

void ShowEndLevelDialog::GoOn()
{
    ArcadeGameLogic* logic = m_Logic;
    const std::string& type = logic->m_GameType;
    if (type == "Levels")
        logic->SetState("LevelsGameTypeCompleted");
    else if (type == "Lab" && logic->m_LevelNumber.value_or(0) != 10)
        logic->LeaveGameScreen();
    else if (type == "Lab")
        logic->SetState("ShowFinishedWorldDialog");
    else if (logic->m_GameFinished)
        logic->SetState("ShowGameWonDialog");
    else if (logic->m_EpisodeFinished)
        logic->SetState("ShowFinishedWorldDialog");
    else
        logic->SetState("AdvanceLevel");
}

void ShowEndLevelDialog::RestoreCompletedLevel()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->m_EpisodeNumber = m_CompletedEpisode;
    logic->m_LevelNumber = m_CompletedLevel;
    LuaPlus::LuaObject modeTable = GameProgress::ModeTable(logic->m_Player);
    if (modeTable.IsTable()) {
        modeTable.SetInteger("LevelSelected", m_CompletedLevel);
        modeTable.SetInteger("EpisodeSelected", m_CompletedEpisode);
    }
}

bool ShowEndLevelDialog::OnDialogStopped(const Event& event)
{
    ArcadeGameLogic* logic = m_Logic;
    // Another dialog over the letter (the options) closing leaves the tally running.
    EndLevelBonusDialog* letter = m_Letter.Get();
    if (letter && EventData1(event) != static_cast<Object*>(letter))
        return false;
    logic->KillTimer(m_TallyTimer);
    m_Letter.Clear();
    const std::string button = ClickedButtonName(event);
    if (button != "NextButton" && button != "ReplayButton" && button != "QuitButton")
        return false;
    if (button == "NextButton") {
        GoOn();
    } else if (button == "ReplayButton") {
        LogAtLevel(4, "ShowEndLevelDialog: e:%d l:%d le:%d ll:%d \n",
                   logic->m_EpisodeNumber.value_or(0), logic->m_LevelNumber.value_or(0),
                   m_CompletedEpisode, m_CompletedLevel);
        RestoreCompletedLevel();
        logic->SaveSelection();
        logic->SetState("Start");
    } else {
        RestoreCompletedLevel();
        logic->QuitToScreen();
    }
    return true;
}

} // namespace ArcadeGameStates
