#include "widgets/PressStates.h"

#include "core/EventQueue.h"
#include "core/Object.h"
#include "luaplus/LuaPlus.h"

#include <cstring>

namespace {

// What the three states share: the object they move between states, what it says of
// itself, and which of the three this is.
class PressStateBase : public State
{
public:
    PressStateBase(Object& owner, PressTarget& target, PressTarget::PressState state,
                   const char* name)
        : m_Owner(owner), m_Target(target), m_State(state), m_Name(name)
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
    Object& m_Owner;
    PressTarget& m_Target;

private:
    PressTarget::PressState m_State;
    const char* m_Name;
};

class Active : public PressStateBase
{
public:
    Active(Object& owner, PressTarget& target)
        : PressStateBase(owner, target, PressTarget::PRESS_ACTIVE, "Active")
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
    // A release elsewhere ends a held press without a click.
    bool OnMouseButtonUp(const Event&) override
    {
        const bool wasHeld = m_Target.IsPressHeld();
        m_Target.SetPressHeld(false);
        return wasHeld;
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
    Highlighted(Object& owner, PressTarget& target)
        : PressStateBase(owner, target, PressTarget::PRESS_HIGHLIGHTED, "Highlighted")
    {
    }
    bool OnMouseButtonDown(const Event&) override
    {
        if (!m_Target.CanPress())
            return false;
        m_Owner.SetState("Pressed");
        return true;
    }
};

class Pressed : public PressStateBase
{
public:
    Pressed(Object& owner, PressTarget& target)
        : PressStateBase(owner, target, PressTarget::PRESS_PRESSED, "Pressed")
    {
    }
    // A release on it clicks.
    bool OnMouseButtonUp(const Event&) override
    {
        if (!m_Target.CanPress())
            return false;
        m_Target.Click();
        m_Target.SetPressHeld(false);
        m_Owner.SetState("Highlighted");
        return true;
    }
};

} // namespace

void AddPressStates(Object& owner, PressTarget& target)
{
    owner.AddState(new Active(owner, target));
    owner.AddState(new Highlighted(owner, target));
    owner.AddState(new Pressed(owner, target));
}
