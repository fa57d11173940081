#pragma once
// Shared set-up of the widget tests: the engine prepared once per program, TrueType
// initialised, the DejaVu fonts and small test pictures registered as resources, one
// configuration naming the fonts, an empty posted-event queue and an open click latch
// around each test; and builders of the SDL input events the widgets are driven by.
#include "core/Event.h"
#include "core/EventReceiver.h"
#include "scene/Actor.h"
#include "support/MessageOf.h"
#include "support/engine/InputEvents.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class Image;

namespace widgettest {

// Test pictures: "Button.png" and "Button.green.png" 4 frames of 40 x 20; "boxCheck.png"
// 2 frames of 8 x 8; "objKeyTip.png" 16 x 16; "btnBlankSmall.png" 4 frames of 20 x 20;
// "bkgTrackBar.png" 100 x 8.
class WidgetTest : public ::testing::Test
{
protected:
    // Prepares the engine, the test resources and the configuration before any member of a
    // derived fixture is made (fixtures may hold fonts and images).
    WidgetTest();
    void SetUp() override;
    void TearDown() override;

    // A value made by a script expression ("{class = 'Grid'}").
    static LuaPlus::LuaObject Table(const std::string& expression);
    static void Run(const std::string& text);

    // Dispatches every posted event (routed ones to their receivers).
    void Dispatch() { m_Passes.DispatchPostedEvents(); }
    // Offers the events to the actor one after another, as SDL hands over what came in
    // one pass, and only then runs the event phase (the entries and leaves moves posted).
    void Batch(Actor& target, std::initializer_list<Event> events)
    {
        for (const Event& event : events)
            target.OnEvent(event);
        Dispatch();
    }

    bbtest::PassHarness m_Passes;
};

using bbtest::KeyDown;
using bbtest::KeyUp;
using bbtest::MouseDown;
using bbtest::MouseMotion;
using bbtest::MouseUp;

// A receiver that records the engine events it is offered: type and data1.
class RecordingReceiver : public EventReceiver
{
public:
    struct Entry
    {
        std::uint8_t type;
        void* data1;
    };
    bool OnEvent(const Event& event) override;
    int Count(std::uint8_t type) const;
    std::vector<Entry> entries;
    bool consume = true;
};

using bbtest::MessageOf;

// The colour (0xRRGGBB) of the most opaque pixel of the image, and that alpha.
std::uint32_t MostOpaqueColor(Image* image, int* alpha = nullptr);

} // namespace widgettest
