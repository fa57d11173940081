#include "scene/MotionConditional.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(MotionConditional, "MotionConditional", "AbstractMotion",
                     &MotionConditional::RegisterProperties,
                     &InstantiateObjectOfClass<MotionConditional>);

void MotionConditional::Start()
{
    if (m_Running)
        return;
    m_Running = true;
    if (m_Current == -1)
        m_Current = ChooseChild() - 1;
    if (Motion* child = CurrentChild())
        child->Start();
    else
        m_Current = -1;
}

int MotionConditional::ChooseChild()
{
    if (m_ConditionName.empty())
        return 1;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    if (!m_ConditionArgument.IsSet() || m_ConditionArgument.IsNil())
        m_ConditionArgument.AssignNewTable(state);
    const LuaObject function = state->GetGlobal(m_ConditionName.c_str());
    if (!function.IsFunction())
        return 0;
    LuaObject answer;
    try {
        answer = function.Call(m_ConditionArgument);
    } catch (const LuaPlus::LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
    return answer.IsNumber() ? ReadIntegerFromObject(answer) : 0;
}

void MotionConditional::AddMotion(Motion* child, bool owned)
{
    AppendChild(child, owned);
    child->SetFinishedCallback(&MotionConditional::OnChildFinished, this);
}

void MotionConditional::OnChildFinished(void* composite)
{
    static_cast<MotionConditional*>(composite)->Complete();
}
