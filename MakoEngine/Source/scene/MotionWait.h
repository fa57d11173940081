#pragma once
// Lets ticks pass: from progress 0 and a whole duration d it calls its finished callback
// on the (d + 1)-th update and again every d + 1 updates. It stays running throughout;
// only Stop (or its owner ceasing to update it) ends it. Every step is (0, 0, 0).
#include "scene/Motion.h"

class MotionWait : public Motion
{
    MAKO_DECLARE_CLASS();

public:
    // Runs; progress is kept.
    void Start() override;
    MotionStep Update() override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    float m_Duration = 0.0f; // ticks
    float m_Progress = 0.0f; // ticks waited
};
