#pragma once
// Runs all its children at once, adding their steps, and completes when every child has
// finished, or with "stopOnFirst" when the first one finishes (the others are stopped).
// Without children it never completes. "currentMotion" does nothing here.
#include "scene/AbstractMotion.h"

#include <memory>

class MotionSimultaneous : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionSimultaneous();
    ~MotionSimultaneous() override;

    // Starts every child, first to last, and clears their finished marks.
    void Start() override;
    // Stops every child, first to last.
    void Stop() override;
    // Every child's step, first to last, added together.
    MotionStep Update() override;
    void AddMotion(Motion* child, bool owned) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

protected:
    void SetCurrentMotion(std::int32_t index) override;

private:
    struct ChildRecord
    {
        std::size_t index;
        MotionSimultaneous* owner;
    };
    static void OnChildFinished(void* record);
    void ChildFinished(std::size_t index);

    bool m_StopOnFirst = false;
    std::vector<bool> m_Finished;
    std::vector<std::unique_ptr<ChildRecord>> m_Records;
};
