#pragma once
// Shared set-up of the scene tests: the engine prepared once per program, an empty
// posted-event queue and no pause around each test, and small actors that record what
// happens to them.
#include "support/MessageOf.h"
#include "core/Event.h"
#include "scene/Actor.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace scenetest {

class SceneTest : public ::testing::Test
{
public:
    // A parameter table made by a script expression ("{class = 'Actor'}").
    static LuaPlus::LuaObject Table(const std::string& expression);
    static void Run(const std::string& text);

protected:
    void SetUp() override;
    void TearDown() override;
};

// An actor that writes "<name>:<what>" into a shared log when it ticks or is offered a
// mouse-button press, and runs optional actions at those moments.
class RecordingActor : public Actor
{
public:
    RecordingActor(const std::string& name, std::vector<std::string>* log, int zorder = 0);
    ~RecordingActor() override;

    void Tick() override;
    bool OnMouseButtonDown(const Event& event) override;

    std::function<void()> onTick;
    std::function<bool()> onClick; // its answer is the handler's (default: not consumed)
    static int s_Live;

private:
    std::vector<std::string>* m_Log;
};

// A mouse-button press event.
Event ClickEvent();

using bbtest::MessageOf;

// Alpha, red, green, blue of a 0xAARRGGBB pixel.
inline std::uint32_t Argb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
           static_cast<std::uint32_t>(g) << 8 | b;
}

} // namespace scenetest
