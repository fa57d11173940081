#pragma once
// The captions that announce the end of a stretch of play on the game screen (the level
// won, the last ball lost, the game over): an actor that waits a moment, puts up a large
// caption from its label template and plays its sound, holds it, and then tells its
// receivers (the game controller) with ARCADE_ANIMFINISH, itself as the data. Its three
// states are "IdleScene", "FirstScene" and "SecondScene"; it runs once.
//
// The three kinds (LevelCompleteAnimation, AllBallsLostAnimation, GameOverAnimation) differ
// only in their timings, template, sound and text. The animation's timer runs on the
// application's timer manager, counts frames (so a pause delays the caption) and dies with
// the animation. Main thread only.
#include "scene/Actor.h"

#include <cstdint>
#include <string>

class EventReceiver;
class Label;

class EndOfPlayAnimation : public Actor
{
public:
    struct Script
    {
        int firstSceneMs;          // the wait before the caption
        const char* labelTemplate; // the caption's label resource
        const char* sound;         // played once when the caption appears
        int secondSceneMs;         // how long the caption holds
    };

    // text replaces the template's caption unless empty; receiver (may be null) hears the
    // end. Enters "IdleScene".
    EndOfPlayAnimation(const Script& script, const std::string& text, EventReceiver* receiver);
    // Kills the timer if it has not given its signal yet.
    ~EndOfPlayAnimation() override;

    // Enters "FirstScene"; raises "Animation has already been started." when not idle.
    void Start();
    // Posts ARCADE_ANIMFINISH to the receivers; raises "Animation was never started." when
    // idle. The caption stays.
    void Stop();

    Label* GetCaption() const { return m_Caption; }

    // What the scenes do (their states call these).
    void EnterFirstScene();
    void EnterSecondScene();
    void EndSecondScene();

private:
    const Script m_Script;
    const std::string m_Text;
    std::uint32_t m_Timer = 0;
    Label* m_Caption = nullptr; // child; null until the second scene
};
