#pragma once
// The base of the composite motions: an ordered list of child motions that, by itself,
// runs them one after another and completes after the last. A child finishing hands over
// to the next at once; the new child runs twice on the following update (making up the
// step lost on the tick of the change), and a chain of children that finish at once is
// walked through within one update.
//
// Keys: "addMotion" (a motion table), "addMotionList" (a list of motion tables) make and
// add owned children; "currentMotion" selects the current child by index from 0, where
// any index outside the children means none (-1). The composite deletes its owned
// children with itself.
#include "scene/Motion.h"

#include <cstdint>
#include <vector>

class AbstractMotion : public Motion
{
    MAKO_DECLARE_CLASS();

public:
    AbstractMotion();
    ~AbstractMotion() override;

    // Stores the target and, when it is not null, passes it to every child present now.
    void SetTarget(Actor* target) override;
    // Nothing while running. Otherwise runs, beginning with child 0 when none is current
    // (with no children, it completes on its next update), and starts the current child.
    void Start() override;
    // Stops the current child (it stays current).
    void Stop() override;
    MotionStep Update() override;

    // Appends the child (deleted with the composite when owned) and makes the composite
    // hear its completion.
    virtual void AddMotion(Motion* child, bool owned);
    virtual std::vector<Motion*> GetMotions() const { return m_Children; }

    std::int32_t GetCurrentIndex() const { return m_Current; }
    std::size_t GetChildCount() const { return m_Children.size(); }

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

protected:
    // The handler AddMotion installs: the next child, or completion.
    static void OnChildFinished(void* composite);
    void AdvanceToNextChild();
    // Appends the child and its owned flag without installing a handler.
    void AppendChild(Motion* child, bool owned);
    Motion* CurrentChild() const;
    // Selects a child while running or not (see "currentMotion").
    virtual void SetCurrentMotion(std::int32_t index);
    // Clears the running flag and the current index and calls the finished callback.
    void Complete();

    std::vector<Motion*> m_Children;
    std::vector<bool> m_Owned;
    std::int32_t m_Current = -1;
    bool m_Advanced = false;
};
