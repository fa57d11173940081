#pragma once
// The letter that closes a won level: one row per bonus (balls used, time, loot caught,
// secret found, score needed) with a star that lights when the bonus is earned, the level's
// score, the best score so far and a row of five award stars. The letter only shows: the
// end-of-level state decides the numbers and texts and counts them in, step by step, on
// its own timer. Every text is written on a rule of the letter paper (screens/PaperRules),
// and set on it again whenever its text changes. Its layout is the resource table
// "EndLevelBonusDialog"; it is named
// "EndLevelBonusDialog", and its buttons "NextButton", "ReplayButton" and "QuitButton"
// each close it.
//
// Star bursts are emitters ("StarGotEmitter") of the letter's own particle manager;
// points that fly off a star are labels of the letter. Both are children of the letter
// and go with it.
//
// Registered as class "EndLevelBonusDialog" (parent "Dialog"), made only in code. Main
// thread only.
#include "scene/ActorGroup.h"
#include "screens/Dialog.h"

#include <string>

class ParticleManager;

class EndLevelBonusDialog : public Dialog
{
    MAKO_DECLARE_CLASS();

public:
    // The letter for the mission (the level's full name, kept in the hidden
    // "missionLabel") showing that score.
    EndLevelBonusDialog(const std::string& missionText, int score);
    ~EndLevelBonusDialog() override;

    // Ticks the bursts and the flying points, and the buttons (hover, key tips); the game
    // is paused behind the letter, so they tick while paused.
    void Tick() override;

    // The level's score, with thousands separators.
    void SetScore(int score);
    // The best score so far; a new best is greeted by a burst on each side of it.
    void SetTopScore(int topScore, bool newTop);
    // The text of the direct child label of that name; nothing when there is none.
    void SetLabelText(const std::string& name, const std::string& text);
    // The text of the row message "<name>Message" ("ballLabel" sets "ballLabelMessage").
    void SetMessage(const std::string& name, const std::string& text);
    // The star "actor<name>Star": state 2 earned on an earlier play, 0 not earned, any
    // other earned now. Points other than 0 fly off the star and it bursts. Raises when
    // the letter has no such star.
    void SetStar(const std::string& name, int state, int points);
    // The award stars: the first count (0 to 5; others are clamped) earned now, each with
    // a burst, the others dark.
    void SetAward(int count);
    // The same for the stars of earlier plays, without bursts.
    void SetLastAward(int count);
    // The letter's message line ("messageLabel", between the rows and the best scores),
    // shown.
    void ShowMessageLine(const std::string& text);
    // A warning on the message line that the player must read whole: the heading and its
    // reason on the line between the paper's margins, in a smaller hand when they need it;
    // when that is not enough, the heading whole on the message's rule and the reason on the
    // next one ("messageReasonLabel"; the best scores and the award stars move down a rule
    // to make room), smaller where it needs it, and shortened ("...": the middle of a long
    // path, then its end) only where even that is too wide.
    void ShowWarning(const std::string& heading, const std::string& reason);
    // The width the message line may take: the paper between its margins.
    int GetMessageWidth() const;
    // Where that width begins, from the letter's left edge.
    static constexpr int kMessageLeft = 60;

    // The bursts and the flying points made so far (the tests count them).
    const ActorGroup& GetBursts() const MAKO_LIFETIMEBOUND { return m_Emitters; }
    const ActorGroup& GetFlyingLabels() const MAKO_LIFETIMEBOUND { return m_FlyingLabels; }

    // The frames of "star.png".
    enum StarFrame { STAR_EARNED = 0, STAR_NOT_EARNED = 1, STAR_EARNED_BEFORE = 2 };
    static constexpr int kAwardStars = 5;

private:
    Actor* FindStar(const std::string& name) const;
    // A burst of "StarGotEmitter" centred on (x, y) in the letter's coordinates.
    void StarBurst(int x, int y);
    void SetAwardFrames(int count, int frame, bool burst);
    // Moves what stands below the message line down by a rule, once.
    void MakeRoomBelowTheMessage(int pitch);
    // The message label in the font of that size, with the text, set on its rule.
    void SetMessageText(class Label& label, int size, const std::string& text);

    ActorGroup m_FlyingLabels;
    ActorGroup m_Emitters;
    ParticleManager* m_Particles = nullptr; // a child of the letter
    int m_MessageSize = 0;                  // the message line's own font size
    bool m_RoomBelowMessage = false;        // what stood below it moved down a rule
};
