#pragma once
// The end of a won level: the bonus letter opens over the paused game with the level's
// targets; the bonuses are computed and the level's record written; in the adventure the
// player's progress moves on (and is saved; a save that fails is told on the letter). Then a
// half-second tally timer counts the play's results, bonus by bonus, into the letter (kTallySignals
// signals, the first a pause). The letter's buttons go on to the next level, replay the completed
// one or leave the game; closing it stops the tally where it stands, keeping the points it already
// added to the score.
#include "logic/ArcadeState.h"
#include "scene/ActorLink.h"
#include "screens/EndLevelBonusDialog.h"

#include <cstdint>
#include <map>
#include <string>

namespace ArcadeGameStates {

class ShowEndLevelDialog : public ArcadeState
{
public:
    using ArcadeState::ArcadeState;
    const char* GetName() const override { return "ShowEndLevelDialog"; }
    void OnEnterState() override;
    // Stops the tally if it still runs (the controller kills it too when it goes).
    void OnExitState() override;
    bool OnDialogStopped(const Event& event) override;
    bool OnTimer(const Event& event) override;

    static constexpr int kTallyIntervalMs = 500;
    static constexpr int kTallySignals = 11;

    // The letter's verdict on the level's score by how far the total (the other four
    // bonuses included, the score bonus not) is above (d >= 0) or below the score target.
    static const char* ScoreMessage(int d);

    EndLevelBonusDialog* GetLetter() const { return m_Letter.Get(); }

private:
    // The row captions from the level's targets.
    void FillTargets(EndLevelBonusDialog* letter);
    // When the saves of the level's record and progress left cards not saved (whichever
    // save of the level refused them, whatever the cause), the letter's message line names
    // them and why (the next save tries again).
    void TellSaveFailure(EndLevelBonusDialog* letter);
    // What the letter says of the cards not saved (slot -> why).
    static std::string UnsavedCardsText(const std::map<int, std::string>& unsaved);
    // The stars of earlier plays; their count.
    int ShowEarlierStars(EndLevelBonusDialog* letter);
    // One step of the tally; signalsLeft counts down from kTallySignals - 1 to 0.
    void Tally(EndLevelBonusDialog* letter, int signalsLeft);
    // One bonus of the tally: when earned, its star lights, its points fly off it and join
    // the score; otherwise a sigh.
    void TallyBonus(EndLevelBonusDialog* letter, int earned, int bonus, const char* star);
    // The stars counting earlier plays, with a sound by how many there are now.
    void TallyAward(EndLevelBonusDialog* letter);
    // Where "next" leads: the next level, a finished episode or game, or off the screen.
    void GoOn();
    // The completed level becomes the current one again (replay, quit).
    void RestoreCompletedLevel();

    ActorLink<EndLevelBonusDialog> m_Letter;
    std::uint32_t m_TallyTimer = 0;
    int m_LastAward = 0;
    int m_CompletedEpisode = 0;
    int m_CompletedLevel = 0;
    bool m_SaveFailed = false; // the letter's message line says so, in place of a record
};

} // namespace ArcadeGameStates
