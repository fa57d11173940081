#pragma once
// Shared set-up of the object-model tests: the engine's script state with its start-up
// chunk, native functions and resource script, the property types and the class registry
// initialised once per test program; each test has a resource manager of its own (so an
// empty `Resources` table) and starts with an empty posted-event queue. Also the small classes the
// tests register.
#include "core/Class.h"
#include "core/EventQueue.h"
#include "core/Object.h"
#include "core/State.h"
#include "resources/ResourceManager.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace objtest {

class ObjectTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs script text in the engine's state.
    static void Run(const std::string& text);
    static LuaPlus::LuaObject Global(const char* name);
    static LuaPlus::LuaObject NewTable();
    // A parameter table made by a script expression ("{class = 'TestThing'}").
    static LuaPlus::LuaObject Table(const std::string& expression);

    std::unique_ptr<ResourceManager> m_Resources;
};

using bbtest::MessageOf;

// Instantiable, with a member property of every value type and one classic property
// ("mood"). Counts its live instances so tests can see half-made objects deleted.
class Thing : public Object
{
    MAKO_DECLARE_CLASS();

public:
    Thing() { ++s_Live; }
    ~Thing() override { --s_Live; }
    static void RegisterProperties(Class& c);

    void Initialize() override { ++m_Initialized; }
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    bool OnChildGroupAdded(void* data1) override;

    static int s_Live;
    int m_Initialized = 0;
    bool m_Flag = false;
    Color m_Tint;
    double m_Weight = 0;
    float m_Scale = 1;
    std::int32_t m_Count = 1;
    LuaPlus::LuaObject m_Data;
    Point<float> m_Offset;
    Point<int> m_Cell;
    Poly m_Shape;
    SDL_Rect m_Bounds = {0, 0, 0, 0};
    std::string m_Label = "plain";
    unsigned char m_Alpha = 255;
    std::uint32_t m_Mask = 0;
    std::string m_Mood = "calm";
    // Child-group notices received: (sender, the int the payload points at).
    std::vector<std::pair<void*, int>> m_Notices;
};

// Below Thing: a locked "serial", a "detonate" function property that always fails (and a
// "misfire" whose check always fails), its
// own "label" hiding Thing's, and defaults built at registration.
class Gadget : public Thing
{
    MAKO_DECLARE_CLASS();

public:
    static void RegisterProperties(Class& c);
    void Detonate(const LuaPlus::LuaObject& value);
    // A failed check of the program's own (any value).
    void Misfire(const LuaPlus::LuaObject& value);
    std::string m_Model = "basic";
};

// Registered, with no instantiator.
class Abstract : public Object
{
    MAKO_DECLARE_CLASS();
};

// A state that writes "enter <name>", "exit <name>", "tick <name>" into a shared log.
class RecordingState : public State
{
public:
    RecordingState(const char* name, std::vector<std::string>& log) : m_Name(name), m_Log(log) {}
    const char* GetName() const override { return m_Name; }
    void OnEnterState() override { m_Log.push_back(std::string("enter ") + m_Name); }
    void OnExitState() override { m_Log.push_back(std::string("exit ") + m_Name); }
    void Tick() override { m_Log.push_back(std::string("tick ") + m_Name); }
    bool OnSelect(const Event&) override { return true; }

private:
    const char* m_Name;
    std::vector<std::string>& m_Log;
};

} // namespace objtest
