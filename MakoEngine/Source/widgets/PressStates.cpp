#include "widgets/PressStates.h"

#include "core/EventQueue.h"
#include "core/Object.h"
#include "luaplus/LuaPlus.h"

#include <cstring>

namespace {

// What the three states share: the object they move between states and what it says of
// itself.
class PressStateBase : public State
{
public:
    PressStateBase(Object& owner, PressTarget& target) : m_Owner(owner), m_Target(target) {}

protected:
    void Enter(PressTarget::PressState state) { m_Target.EnterPressState(state); }
    void Leave(PressTarget::PressState state) { m_Target.LeavePressState(state); }

    Object& m_Owner;
    PressTarget& m_Target;
};

class Active : public PressStateBase
{
public:
    using PressStateBase::PressStateBase;
    const char* GetName() const override { return "Active"; }
    void OnEnterState() override { Enter(PressTarget::PRESS_ACTIVE); }
    void OnExitState() override { Leave(PressTarget::PRESS_ACTIVE); }
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
    using PressStateBase::PressStateBase;
    const char* GetName() const override { return "Highlighted"; }
    void OnEnterState() override { Enter(PressTarget::PRESS_HIGHLIGHTED); }
    void OnExitState() override { Leave(PressTarget::PRESS_HIGHLIGHTED); }
    bool OnMouseLeave(const Event&) override
    {
        m_Owner.SetState("Active");
        return true;
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
    using PressStateBase::PressStateBase;
    const char* GetName() const override { return "Pressed"; }
    void OnEnterState() override
    {
        m_Target.SetPressHeld(true);
        Enter(PressTarget::PRESS_PRESSED);
    }
    void OnExitState() override { Leave(PressTarget::PRESS_PRESSED); }
    // Leaving keeps the press, so coming back before the release presses again.
    bool OnMouseLeave(const Event&) override
    {
        m_Owner.SetState("Active");
        return true;
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
