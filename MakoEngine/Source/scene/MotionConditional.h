#pragma once
// Runs the one child that a script function chooses when the composite starts, and
// completes when that child finishes. "condition" = {name = N, args = its argument}: N
// names a function of the table LevelConditions, which only the game's own scripts fill
// (never a global: the name comes from level data, and data names only what the game
// offers it). The function is called with the argument (a fresh table when none was
// given, kept for later starts) and answers the child's number counted from 1. An empty
// name chooses child 1; a name LevelConditions does not hold as a function is reported
// once for each place of the data (DataReport, naming it) when it is set, so the level
// check sees it whether or not the motion starts, and chooses none, as does an answer that is not a
// number; a number outside the children chooses none, and the composite then completes on its next
// update. A composite stopped while its child ran resumes that child without asking again.
#include "scene/AbstractMotion.h"

#include <string>

class MotionConditional : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    // The global table of the conditions data may name.
    static const char* const kConditionTable;

    // An error raised by the function passes on as a ScriptError.
    void Start() override;
    void AddMotion(Motion* child, bool owned) override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    // The function of LevelConditions of that name; nil, reported, when there is none.
    static LuaPlus::LuaObject FindConditionFunction(const std::string& name);
    // The chosen child's number counted from 1 (0: none).
    int ChooseChild();
    static void OnChildFinished(void* composite);

    std::string m_ConditionName;
    LuaPlus::LuaObject m_ConditionArgument;
};
