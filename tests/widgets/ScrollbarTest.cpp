// Scroll bars: value and thumb mapping, dragging with clamping and beeps, value reports
// and the configuration binder.
#include "WidgetTestSupport.h"

#include "core/Config.h"
#include "core/ConfigDataBinder.h"
#include "widgets/Scrollbar.h"
#include "widgets/ScrollbarThumb.h"

#include <memory>

using namespace widgettest;

namespace {

class ScrollbarTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_Bar.reset(new Scrollbar(37.5, 0.0, 100.0));
        m_Bar->AddEventReceiver(&m_Receiver);
        m_Receiver.consume = false;
        m_Passes.SetRoot(m_Bar.get());
        Dispatch();
        m_Receiver.entries.clear();
    }
    void TearDown() override
    {
        m_Passes.SetRoot(nullptr);
        m_Bar.reset();
        WidgetTest::TearDown();
    }
    int ThumbCentre() const
    {
        return m_Bar->GetThumb()->GetX() + m_Bar->GetThumb()->GetWidth() / 2;
    }
    double Value() { return m_Bar->GetValue().ToDouble(); }
    // Grabs the thumb with the pointer at its centre.
    void Grab()
    {
        const int x = ThumbCentre();
        m_Bar->OnEvent(MouseMotion(x, 10));
        Dispatch();
        m_Bar->OnEvent(MouseDown(x, 10));
        Dispatch();
    }
    // The pointer moves with the thumb.
    void Drag(int dx) { DragTo(ThumbCentre() + dx, dx); }
    void DragTo(int x, int xrel)
    {
        m_Bar->OnEvent(MouseMotion(x, 10, xrel, 0));
        Dispatch();
    }

    std::unique_ptr<Scrollbar> m_Bar;
    RecordingReceiver m_Receiver;
};

TEST_F(ScrollbarTest, ThumbAndValueMapOntoTheTrack)
{
    EXPECT_EQ(120, m_Bar->GetWidth());
    EXPECT_EQ(10, m_Bar->GetLeftEdge());
    EXPECT_EQ(110, m_Bar->GetRightEdge());
    EXPECT_EQ(47, ThumbCentre());
    EXPECT_EQ(37.5, Value());

    Grab();
    EXPECT_EQ("Scrolling", m_Bar->GetThumb()->GetStateName());
    EXPECT_EQ(3, m_Bar->GetThumb()->GetFrame());
    Drag(13);
    EXPECT_EQ(60, ThumbCentre());
    EXPECT_EQ(50.0, Value());
    ASSERT_EQ(1, m_Receiver.Count(MAKO_VALUECHANGE));
    EXPECT_EQ(static_cast<Object*>(m_Bar.get()), m_Receiver.entries[0].data1);

    // Past either end: the thumb stops at the edge and the value at the bound, while the
    // pointer runs on and comes back.
    DragTo(560, 500);
    EXPECT_EQ(110, ThumbCentre());
    EXPECT_EQ(100.0, Value());
    DragTo(110, -450); // the pointer is back within the thumb's extent
    EXPECT_EQ(10, ThumbCentre());
    EXPECT_EQ(0.0, Value());

    // Releasing over the thumb leaves it highlighted; away from it, at rest.
    DragTo(10, 0);
    m_Bar->OnEvent(MouseUp(10, 10));
    EXPECT_EQ("Highlighted", m_Bar->GetThumb()->GetStateName());
    m_Bar->OnEvent(MouseMotion(300, 10));
    Dispatch();
    EXPECT_EQ("Active", m_Bar->GetThumb()->GetStateName());
    EXPECT_EQ(0, m_Bar->GetThumb()->GetFrame());

    // A motion that starts over the thumb moves it; once the pointer is off the thumb and
    // outside its extent, motions move nothing.
    Grab();
    DragTo(300, 40);
    EXPECT_EQ(50, ThumbCentre());
    DragTo(340, 40);
    EXPECT_EQ(50, ThumbCentre());
}

TEST_F(ScrollbarTest, TheThumbIsGrabbedAndLetGoWhereThePressAndReleaseLand)
{
    // The move onto the thumb and the press in one pass grab it; the drag moves it.
    const int x = ThumbCentre();
    Batch(*m_Bar, {MouseMotion(x, 10), MouseDown(x, 10)});
    EXPECT_EQ("Scrolling", m_Bar->GetThumb()->GetStateName());
    Drag(13);
    EXPECT_EQ(60, ThumbCentre());

    // Moved off the thumb's extent and released there in one pass: at rest.
    Batch(*m_Bar, {MouseMotion(300, 10), MouseUp(300, 10)});
    EXPECT_EQ("Active", m_Bar->GetThumb()->GetStateName());

    // Lit, then moved off and pressed away in one pass: the thumb is not grabbed.
    Batch(*m_Bar, {MouseMotion(ThumbCentre(), 10)});
    EXPECT_EQ("Highlighted", m_Bar->GetThumb()->GetStateName());
    Batch(*m_Bar, {MouseMotion(300, 10), MouseDown(300, 10)});
    EXPECT_EQ("Active", m_Bar->GetThumb()->GetStateName());
    DragTo(ThumbCentre(), 20);
    EXPECT_EQ(60, ThumbCentre());
}

TEST_F(ScrollbarTest, ValuesStayWithinTheBounds)
{
    m_Bar->SetValue(37.5, true);
    m_Bar->SetValue(37.5, true);
    Dispatch();
    EXPECT_EQ(2, m_Receiver.Count(MAKO_VALUECHANGE)); // reported even when unchanged
    m_Bar->SetValue(150, true);
    EXPECT_EQ(100.0, Value());
    EXPECT_EQ(110, ThumbCentre());
    m_Bar->SetValue(-3, true);
    EXPECT_EQ(0.0, Value());
    m_Bar->SetMaxValue(50, true);
    m_Bar->SetValue(75, true);
    EXPECT_EQ(50.0, Value());
    EXPECT_EQ(110, ThumbCentre());
    EXPECT_NE("", MessageOf([&] { m_Bar->SetMaxValue(-1, true); }));

    // A range of 0.3 over 100 pixels: every thumb position gives a value within it.
    Scrollbar fine(0.0, 0.0, 0.3);
    fine.OnEvent(MouseMotion(10, 10));
    Dispatch();
    fine.OnEvent(MouseDown(10, 10));
    for (int i = 0; i < 120; ++i)
        fine.OnEvent(MouseMotion(fine.GetThumb()->GetX() + 10, 10, 1, 0));
    EXPECT_LE(fine.GetValue().ToDouble(), 0.3);
    EXPECT_NEAR(0.3, fine.GetValue().ToDouble(), 1e-9);

    EXPECT_NE(std::string::npos,
              MessageOf([] { Scrollbar flat(1.0, 1.0, 1.0); }).find("m_PosK != 0"));
}

TEST_F(ScrollbarTest, BinderTakesTheConfiguredValueClamped)
{
    Run("LoadConfig { sfx_volume = 150, music_volume = 'loud' }");
    m_Bar->SetBinder(new ConfigDataBinder("sfx_volume"));
    EXPECT_EQ(100.0, Value());
    Dispatch(); // held to the range only to be shown: the setting stays as it was
    EXPECT_EQ(150.0, Config::GetCurrent()->GetNumber("sfx_volume"));

    Grab();
    Drag(-30);
    EXPECT_EQ(70.0, Value());
    EXPECT_EQ(70.0, Config::GetCurrent()->GetNumber("sfx_volume"));

    // A value that is not a number leaves the scroll bar as it is.
    m_Bar->SetBinder(new ConfigDataBinder("music_volume"));
    EXPECT_EQ(70.0, Value());
    m_Bar->SetBinder(nullptr);
}

TEST_F(ScrollbarTest, BeepsAtMostEveryTwoHundredMilliseconds)
{
    EXPECT_FALSE(m_Bar->IsBeepBlocked());
    Grab();
    Drag(5);
    EXPECT_TRUE(m_Bar->IsBeepBlocked());
    m_Passes.Step(6);
    Drag(5); // still within 200 ms: no new beep, no new wait
    EXPECT_TRUE(m_Bar->IsBeepBlocked());
    m_Passes.Step(1);
    EXPECT_FALSE(m_Bar->IsBeepBlocked());
    Drag(-5);
    EXPECT_TRUE(m_Bar->IsBeepBlocked());
}

} // namespace
