#pragma once
// Runs the one child that a script function chooses when the composite starts, and
// completes when that child finishes. "condition" = {name = global function name, args =
// its argument}: the function is called with the argument (a fresh table when none was
// given, kept for later starts) and answers the child's number counted from 1. An empty
// name chooses child 1; a name that is not a function, or an answer that is not a number,
// chooses none; a number outside the children chooses none, and the composite then
// completes on its next update. A composite stopped while its child ran resumes that child
// without asking again.
#include "scene/AbstractMotion.h"

#include <string>

class MotionConditional : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    // An error raised by the function passes on as a ScriptError.
    void Start() override;
    void AddMotion(Motion* child, bool owned) override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    // The chosen child's number counted from 1 (0: none).
    int ChooseChild();
    static void OnChildFinished(void* composite);

    std::string m_ConditionName;
    LuaPlus::LuaObject m_ConditionArgument;
};
