#include "screens/EndOfPlayAnimation.h"

#include "core/Exception.h"
#include "core/State.h"
#include "core/TimerManager.h"
#include "scene/ArcadeEventHandler.h"
#include "scene/SceneHost.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

namespace {

// The scenes: each knows its animation; a timer signal moves the scene on.
class Scene : public State
{
public:
    Scene(EndOfPlayAnimation* animation, const char* name) : m_Animation(animation), m_Name(name) {}
    const char* GetName() const override { return m_Name; }

protected:
    EndOfPlayAnimation* m_Animation;

private:
    const char* m_Name;
};

class IdleScene : public Scene
{
public:
    explicit IdleScene(EndOfPlayAnimation* a) : Scene(a, "IdleScene") {}
};

class FirstScene : public Scene
{
public:
    explicit FirstScene(EndOfPlayAnimation* a) : Scene(a, "FirstScene") {}
    void OnEnterState() override { m_Animation->EnterFirstScene(); }
    bool OnTimer(const Event&) override
    {
        m_Animation->SetState("SecondScene");
        return true;
    }
};

class SecondScene : public Scene
{
public:
    explicit SecondScene(EndOfPlayAnimation* a) : Scene(a, "SecondScene") {}
    void OnEnterState() override { m_Animation->EnterSecondScene(); }
    bool OnTimer(const Event&) override
    {
        m_Animation->EndSecondScene();
        return true;
    }
};

} // namespace

EndOfPlayAnimation::EndOfPlayAnimation(const Script& script, const std::string& text,
                                       EventReceiver* receiver)
    : m_Script(script), m_Text(text)
{
    if (receiver)
        AddEventReceiver(receiver);
    AddState(new IdleScene(this));
    AddState(new FirstScene(this));
    AddState(new SecondScene(this));
    SetState("IdleScene");
}

EndOfPlayAnimation::~EndOfPlayAnimation()
{
    if (m_Timer > 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_Timer);
}

void EndOfPlayAnimation::Start()
{
    MAKO_ASSERT_MSG(GetStateName() == "IdleScene", "Animation has already been started.");
    SetState("FirstScene");
}

void EndOfPlayAnimation::Stop()
{
    MAKO_ASSERT_MSG(GetStateName() != "IdleScene", "Animation was never started.");
    PostEvent(ARCADE_ANIMFINISH, this);
}

void EndOfPlayAnimation::EnterFirstScene()
{
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_Timer = timers->CreateTimer(this, m_Script.firstSceneMs, 1, TIMER_LIMITED_TO_FRAMERATE);
}

void EndOfPlayAnimation::EnterSecondScene()
{
    m_Caption = Label::CreateFromResource(m_Script.labelTemplate);
    if (!m_Text.empty())
        m_Caption->SetText(m_Text, true);
    AddChild(m_Caption, "");
    // The first scene's timer has given its one signal; the hold gets a timer of its own.
    m_Timer = 0;
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_Timer = timers->CreateTimer(this, m_Script.secondSceneMs, 1, TIMER_LIMITED_TO_FRAMERATE);
    Sound::PlaySound(m_Script.sound, false);
}

void EndOfPlayAnimation::EndSecondScene()
{
    Stop();
    m_Timer = 0; // its one signal is spent
}
