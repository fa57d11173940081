#pragma once
// Runs its children one after another, like MotionSequential, and also completes when its
// play-field target touches an object of one of its stop classes ("stopClasses": class
// names such as "Wall", "Ball", "Brick", or "DangerousWall" and "ActiveBall" for walls
// and balls in those states). On such a contact the target stops moving into the object
// (its velocity into the contact is taken away; moving away is left alone), is pushed out
// of the overlap, and the motion stops its child and calls its callback once per tick.
//
// Setting a play-field target hooks the motion into the target's contacts, gives the
// target a body and adds the collision categories of the stop classes known then; the
// hook is taken out again when the target changes or the motion dies, so the target must
// outlive the motion.
#include "scene/AbstractMotion.h"
#include "scene/MotionTarget.h"

#include <set>
#include <string>

class MotionStop : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStop();
    ~MotionStop() override;

    void SetTarget(Actor* target) override;
    // Resets the per-tick contact state, then updates as a sequence.
    MotionStep Update() override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);


private:
    static void OnTargetHit(MotionTarget* target, MotionTarget* other, const MotionContact& contact,
                            void* motion);
    void TargetHit(MotionTarget* target, MotionTarget* other, const MotionContact& contact);
    bool IsStopClass(const MotionTarget& other) const;
    void Unhook();

    std::set<std::string> m_StopClasses;
    MotionTarget* m_Hooked = nullptr; // the target whose contacts this motion hears
    bool m_StoppedThisTick = false;
    float m_PushedX = 0, m_PushedY = 0; // push already applied this tick
};
