#include "widgets/PressStates.h"

#include "core/EventQueue.h"
#include "luaplus/LuaPlus.h"
#include "scene/Actor.h"
#include "widgets/HoverState.h"
#include "widgets/WidgetInput.h"

#include <cstring>

namespace {

// What the three states share: the object they move between states, what it says of
// itself, and which of the three this is.
class PressStateBase : public State
{
public:
    PressStateBase(Actor& owner, PressTarget& target, HoverState& hover,
                   PressTarget::PressState state, const char* name)
        : m_Owner(owner), m_Target(target), m_Hover(hover), m_State(state), m_Name(name)
    {
    }
    const char* GetName() const override { return m_Name; }
    void OnEnterState() override
    {
        if (m_State == PressTarget::PRESS_PRESSED)
            m_Target.SetPressHeld(true);
        m_Target.EnterPressState(m_State);
    }
    void OnExitState() override { m_Target.LeavePressState(m_State); }
    // The pointer leaving goes back to Active; a held press stays held, so coming back
    // before the release presses again.
    bool OnMouseLeave(const Event& event) override
    {
        if (m_State == PressTarget::PRESS_ACTIVE)
            return State::OnMouseLeave(event);
        m_Owner.SetState("Active");
        return true;
    }

protected:
    // Whether the press or release lands on the owner where it happened (the pointer's
    // place taken from it) and the owner can be lit there.
    bool LandsOnOwner(const Event& event)
    {
        return m_Target.CanHighlight() && m_Hover.Track(m_Owner, event.button.x, event.button.y);
    }
    // A press landing on the owner presses it (a wheel step presses nothing).
    bool PressWhereItLands(const Event& event)
    {
        if (WidgetInput::IsWheelStep(event) || !LandsOnOwner(event) || !m_Target.CanPress())
            return false;
        m_Owner.SetState("Pressed");
        return true;
    }
    // Ends a held press: a release on the owner clicks and leaves it lit, one elsewhere
    // only drops the press.
    bool ReleaseWhereItLands(const Event& event)
    {
        if (WidgetInput::IsWheelStep(event))
            return false;
        const bool onOwner = LandsOnOwner(event);
        if (onOwner && m_Target.CanPress())
            m_Target.Click();
        m_Target.SetPressHeld(false);
        GoTo(onOwner ? PressTarget::PRESS_HIGHLIGHTED : PressTarget::PRESS_ACTIVE);
        return true;
    }
    void GoTo(PressTarget::PressState state)
    {
        static const char* const kNames[] = {"Active", "Highlighted", "Pressed"};
        if (state != m_State)
            m_Owner.SetState(kNames[state]);
    }

    Actor& m_Owner;
    PressTarget& m_Target;

private:
    HoverState& m_Hover;
    PressTarget::PressState m_State;
    const char* m_Name;
};

class Active : public PressStateBase
{
public:
    Active(Actor& owner, PressTarget& target, HoverState& hover)
        : PressStateBase(owner, target, hover, PressTarget::PRESS_ACTIVE, "Active")
    {
    }
    // Goes back to Pressed when the press is still held, else to Highlighted.
    bool OnMouseEnter(const Event&) override
    {
        if (!m_Target.CanHighlight())
            return false;
        m_Owner.SetState(m_Target.IsPressHeld() ? "Pressed" : "Highlighted");
        return true;
    }
    // A press on it presses it, whether or not the move onto it has been handled.
    bool OnMouseButtonDown(const Event& event) override { return PressWhereItLands(event); }
    // A release ends a held press: on it (back before the entry was handled) with a
    // click, elsewhere without.
    bool OnMouseButtonUp(const Event& event) override
    {
        return m_Target.IsPressHeld() && ReleaseWhereItLands(event);
    }
    // Made visible under a resting pointer: lights up through a posted pointer entry.
    bool OnInternalEvent(const Event& event) override
    {
        const auto* notice = static_cast<const LuaPlus::LuaObject*>(EventData2(event));
        if (notice && notice->IsString() &&
            std::strcmp(notice->GetString(), "visibility changed") == 0 &&
            m_Target.IsPointerOverWhenShown())
            GetPostedEventQueue().Post(&m_Owner, MAKO_MOUSEENTER, 0, &m_Owner);
        return false;
    }
};

class Highlighted : public PressStateBase
{
public:
    Highlighted(Actor& owner, PressTarget& target, HoverState& hover)
        : PressStateBase(owner, target, hover, PressTarget::PRESS_HIGHLIGHTED, "Highlighted")
    {
    }
    // A press elsewhere (the move off still posted) is left to what lies there.
    bool OnMouseButtonDown(const Event& event) override { return PressWhereItLands(event); }
};

class Pressed : public PressStateBase
{
public:
    Pressed(Actor& owner, PressTarget& target, HoverState& hover)
        : PressStateBase(owner, target, hover, PressTarget::PRESS_PRESSED, "Pressed")
    {
    }
    // A release on it clicks; one elsewhere (the move off still posted) does not.
    bool OnMouseButtonUp(const Event& event) override { return ReleaseWhereItLands(event); }
};

} // namespace

void AddPressStates(Actor& owner, PressTarget& target, HoverState& hover)
{
    owner.AddState(new Active(owner, target, hover));
    owner.AddState(new Highlighted(owner, target, hover));
    owner.AddState(new Pressed(owner, target, hover));
}
