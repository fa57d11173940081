#include "scene/MotionConditional.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <set>

using LuaPlus::LuaObject;

namespace {

// The entry of that name in the table of conditions data may name; nil when there is none.
// Never a global: a name from a level file reaches only what the game put there.
LuaObject FindCondition(const std::string& name)
{
    const LuaObject conditions = GetGlobalLuaState()->GetGlobal(MotionConditional::kConditionTable);
    return conditions.IsTable() ? conditions.RawGet(name.c_str()) : LuaObject();
}

// Reports a name that is not a condition, once for each place of the data that names it
// (once for the program's run outside every place).
void ReportUnknownCondition(const std::string& name)
{
    static std::set<std::string> reported;
    const DataPlace* place = DataReport::CurrentPlace();
    if (!reported.insert(name + '\n' + (place ? place->Describe() : std::string())).second)
        return;
    DataReport::Report("MotionConditional", "condition \"" + name + "\" is not one of " +
                                                MotionConditional::kConditionTable +
                                                "; no motion is chosen");
}

} // namespace

const char* const MotionConditional::kConditionTable = "LevelConditions";

LuaObject MotionConditional::FindConditionFunction(const std::string& name)
{
    const LuaObject function = FindCondition(name);
    if (function.IsFunction())
        return function;
    ReportUnknownCondition(name);
    return LuaObject();
}

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
    const LuaObject function = FindConditionFunction(m_ConditionName);
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
