// Buttons driven by scripted input: hover, press, click reporting, keyboard rows, key
// tips, flashing, enabling, properties and presets.
#include "WidgetTestSupport.h"

#include "core/ClassManager.h"
#include "core/EventQueue.h"
#include "display/Font.h"
#include "geometry/Colors.h"
#include "widgets/Button.h"
#include "widgets/ButtonTemplate.h"
#include "widgets/Label.h"

#include <memory>

using namespace widgettest;

namespace {

// An actor that counts the clicks reported to it.
class ClickCounter : public Actor
{
public:
    bool OnButtonClick(const Event& event) override
    {
        ++clicks;
        lastButton = EventData1(event);
        return true;
    }
    int clicks = 0;
    void* lastButton = nullptr;
};

class ButtonTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_Root.reset(new Actor());
        m_Root->SetSize(320, 240);
        m_Button = Button::Make("Button.png", "go", "DejaVuSans.ttf", 10, 50, 40, "go", nullptr);
        m_Button->AddEventReceiver(&m_Receiver);
        m_Root->AddChild(m_Button, "");
        m_Passes.SetRoot(m_Root.get());
    }
    void TearDown() override
    {
        m_Passes.SetRoot(nullptr);
        m_Root.reset();
        WidgetTest::TearDown();
    }
    // Offers the event to the screen, then runs the event phase.
    bool Send(const Event& event)
    {
        const bool consumed = m_Root->OnEvent(event);
        Dispatch();
        return consumed;
    }
    void Batch(std::initializer_list<Event> events) { WidgetTest::Batch(*m_Root, events); }

    std::unique_ptr<Actor> m_Root;
    Button* m_Button = nullptr;
    RecordingReceiver m_Receiver;
};

TEST_F(ButtonTest, MouseHoverPressAndReleaseInside)
{
    Label* caption = m_Button->GetLabel();
    const int captionX = caption->GetX();
    const int captionY = caption->GetY();
    EXPECT_EQ("Active", m_Button->GetStateName());
    EXPECT_EQ(0, m_Button->GetFrame());

    EXPECT_FALSE(Send(MouseMotion(60, 45))); // motion is never consumed
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
    EXPECT_EQ(2, m_Button->GetFrame());

    EXPECT_TRUE(Send(MouseDown(60, 45)));
    EXPECT_EQ(3, m_Button->GetFrame());
    EXPECT_EQ(captionX + 1, caption->GetX());
    EXPECT_EQ(captionY + 1, caption->GetY());
    ASSERT_EQ(1, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(static_cast<Object*>(m_Button), m_Receiver.entries[0].data1);

    EXPECT_TRUE(Send(MouseUp(60, 45)));
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
    EXPECT_EQ(captionX, caption->GetX());
    EXPECT_FALSE(m_Button->IsPressed());

    Send(MouseMotion(5, 5));
    EXPECT_EQ("Active", m_Button->GetStateName());
    EXPECT_EQ(0, m_Button->GetFrame());
}

TEST_F(ButtonTest, ReleaseOutsideDoesNotClickButComingBackDoes)
{
    Send(MouseMotion(60, 45));
    Send(MouseDown(60, 45));
    Send(MouseMotion(5, 5));
    EXPECT_EQ("Active", m_Button->GetStateName());
    EXPECT_TRUE(m_Button->IsPressed());
    EXPECT_TRUE(Send(MouseUp(5, 5))); // ends the held press
    EXPECT_FALSE(m_Button->IsPressed());
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_FALSE(Send(MouseUp(5, 5)));

    // Out and back in before the release: pressed again, and the release clicks.
    Send(MouseMotion(60, 45));
    Send(MouseDown(60, 45));
    Send(MouseMotion(5, 5));
    Send(MouseMotion(61, 46));
    EXPECT_EQ("Pressed", m_Button->GetStateName());
    Send(MouseUp(61, 46));
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
}

TEST_F(ButtonTest, APressAndAReleaseAreTakenWhereTheyLandWhateverMovedBeforeThemInThePass)
{
    // The move onto the button, the press and the release in one pass: one click.
    Batch({MouseMotion(60, 45), MouseDown(60, 45), MouseUp(60, 45)});
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
    EXPECT_FALSE(m_Button->IsPressed());

    // The move onto it and the press in one pass, the release in the next.
    ButtonClickLatch() = true;
    Batch({MouseMotion(5, 5)});
    Batch({MouseMotion(61, 46), MouseDown(61, 46)});
    EXPECT_EQ("Pressed", m_Button->GetStateName());
    Batch({MouseUp(61, 46)});
    EXPECT_EQ(2, m_Receiver.Count(MAKO_BUTTONCLICK));

    // Lit, then moved off and pressed and released away in one pass: nothing.
    ButtonClickLatch() = true;
    Batch({MouseMotion(5, 5), MouseDown(5, 5), MouseUp(5, 5)});
    EXPECT_EQ(2, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(2, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Active", m_Button->GetStateName());

    // Pressed, then dragged off and released away in one pass: the press is dropped.
    Batch({MouseMotion(60, 45), MouseDown(60, 45)});
    Batch({MouseMotion(5, 5), MouseUp(5, 5)});
    EXPECT_EQ(2, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_FALSE(m_Button->IsPressed());
    EXPECT_EQ("Active", m_Button->GetStateName());

    // Pressed, dragged off, then back on and released there in one pass: a click.
    Batch({MouseMotion(60, 45), MouseDown(60, 45)});
    Batch({MouseMotion(5, 5)});
    Batch({MouseMotion(60, 45), MouseUp(60, 45)});
    EXPECT_EQ(3, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
}

TEST_F(ButtonTest, APressWhereNoMoveWentPressesWhatItLandsOnAndThePointerFollowsIt)
{
    Button* other = Button::Make("Button.png", "b", "DejaVuSans.ttf", 10, 150, 40, "b", nullptr);
    RecordingReceiver otherReceiver;
    other->AddEventReceiver(&otherReceiver);
    m_Root->AddChild(other, "");

    // The pointer rests on the first button; the press and release land on the other.
    Batch({MouseMotion(60, 45)});
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
    Batch({MouseDown(152, 42), MouseUp(152, 42)});
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(1, otherReceiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Highlighted", other->GetStateName());

    // The other button took the press's place as the pointer's: a move away puts it out.
    Batch({MouseMotion(300, 200)});
    EXPECT_EQ("Active", other->GetStateName());
    EXPECT_EQ("Active", m_Button->GetStateName());

    // A hidden or disabled button lets a press on it through.
    ButtonClickLatch() = true;
    other->SetVisible(false, true);
    m_Button->Disable();
    for (int x : {60, 152})
        EXPECT_FALSE(m_Root->OnEvent(MouseDown(x, 45))) << x;
    Dispatch();
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(1, otherReceiver.Count(MAKO_BUTTONPRESS));
}

TEST_F(ButtonTest, AWheelStepOverAButtonIsNoPress)
{
    auto wheel = [](std::uint8_t type, Uint8 button) {
        Event event = bbtest::MouseButton(type, 60, 45);
        event.button.button = button;
        return event;
    };
    Batch({MouseMotion(60, 45)});
    for (Uint8 button : {Uint8(SDL_BUTTON_WHEELUP), Uint8(SDL_BUTTON_WHEELDOWN)})
        Batch({wheel(SDL_MOUSEBUTTONDOWN, button), wheel(SDL_MOUSEBUTTONUP, button)});
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ("Highlighted", m_Button->GetStateName());

    // A wheel step while the press is held neither releases nor clicks it.
    Batch({MouseDown(60, 45), wheel(SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN)});
    EXPECT_EQ("Pressed", m_Button->GetStateName());
    Batch({MouseUp(60, 45)});
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
}

TEST_F(ButtonTest, OneClickPerPassAndReportsToParentWithoutReceivers)
{
    // The second button has no receivers of its own: it reports to its parent.
    auto* holder = new ClickCounter();
    m_Root->AddChild(holder, "");
    Button* other = Button::Make("Button.png", "b", "DejaVuSans.ttf", 10, 150, 40, "b", nullptr);
    holder->AddChild(other, "");
    for (Button* b : {m_Button, other})
        b->OnEvent(MouseMotion(b->GetX() + 2, b->GetY() + 2));
    Dispatch();
    for (Button* b : {m_Button, other})
        EXPECT_TRUE(b->OnEvent(MouseDown(b->GetX() + 2, b->GetY() + 2)));
    Dispatch();
    for (Button* b : {m_Button, other})
        EXPECT_TRUE(b->OnEvent(MouseUp(b->GetX() + 2, b->GetY() + 2)));
    Dispatch();
    // Both left Pressed; only the first click of the pass was reported.
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
    EXPECT_EQ("Highlighted", other->GetStateName());
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_EQ(0, holder->clicks);
    EXPECT_FALSE(ButtonClickLatch());

    // Next pass: the second button's click reaches its parent.
    ButtonClickLatch() = true;
    other->OnEvent(MouseDown(152, 42));
    Dispatch();
    other->OnEvent(MouseUp(152, 42));
    Dispatch();
    EXPECT_EQ(1, holder->clicks);
    EXPECT_EQ(static_cast<Object*>(other), holder->lastButton);
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));
}

TEST_F(ButtonTest, DisabledButtonShowsFrameOneAndIgnoresInput)
{
    m_Button->SetShortcutKey(SDLK_g);
    Send(MouseMotion(60, 45));
    m_Button->Disable();
    EXPECT_EQ(1, m_Button->GetFrame());
    EXPECT_EQ(Palette::Gray, m_Button->GetLabel()->GetTextColor());
    EXPECT_FALSE(Send(MouseDown(60, 45)));
    EXPECT_FALSE(Send(KeyDown(SDLK_g)));
    EXPECT_EQ(0, m_Receiver.Count(MAKO_BUTTONPRESS));
    m_Button->Enable();
    EXPECT_EQ(2, m_Button->GetFrame()); // back to its state's frame
    EXPECT_EQ(Palette::Black, m_Button->GetLabel()->GetTextColor());
}

TEST_F(ButtonTest, KeyboardRows)
{
    m_Button->SetShortcutKey(SDLK_s);
    m_Button->SetEnterKey(true);
    m_Button->SetFunctionKey(SDLK_F1);
    m_Button->SetAltFunctionKey(SDLK_x);

    // The shortcut presses and clicks, but its key-up is passed on.
    EXPECT_TRUE(Send(KeyDown(SDLK_s, KMOD_LSHIFT)));
    EXPECT_EQ("Pressed", m_Button->GetStateName());
    EXPECT_FALSE(Send(KeyUp(SDLK_s)));
    EXPECT_EQ("Active", m_Button->GetStateName());
    EXPECT_EQ(1, m_Receiver.Count(MAKO_BUTTONCLICK));

    // Return (not with Alt), keypad Enter, the function keys: their key-ups are consumed.
    ButtonClickLatch() = true;
    EXPECT_FALSE(Send(KeyDown(SDLK_RETURN, KMOD_LALT)));
    EXPECT_TRUE(
        Send(KeyDown(SDLK_RETURN, static_cast<SDLMod>(KMOD_LALT | KMOD_NUM | KMOD_LSHIFT))));
    EXPECT_TRUE(Send(KeyUp(SDLK_RETURN)));
    ButtonClickLatch() = true;
    EXPECT_TRUE(Send(KeyDown(SDLK_KP_ENTER)));
    EXPECT_TRUE(Send(KeyUp(SDLK_KP_ENTER)));
    ButtonClickLatch() = true;
    EXPECT_FALSE(Send(KeyDown(SDLK_F1, KMOD_RALT)));
    EXPECT_TRUE(Send(KeyDown(SDLK_F1)));
    EXPECT_TRUE(Send(KeyUp(SDLK_F1)));
    ButtonClickLatch() = true;
    EXPECT_FALSE(Send(KeyDown(SDLK_x)));
    EXPECT_TRUE(Send(KeyDown(SDLK_x, static_cast<SDLMod>(KMOD_RALT | KMOD_CAPS))));
    EXPECT_TRUE(Send(KeyUp(SDLK_x)));
    EXPECT_EQ(5, m_Receiver.Count(MAKO_BUTTONCLICK));
    EXPECT_FALSE(Send(KeyDown(SDLK_ESCAPE))); // not an escape button

    // A held key repeats the press.
    EXPECT_TRUE(Send(KeyDown(SDLK_s)));
    EXPECT_TRUE(Send(KeyDown(SDLK_s)));
    EXPECT_EQ(7, m_Receiver.Count(MAKO_BUTTONPRESS));
    EXPECT_EQ(m_Button->GetLabel()->GetX(),
              m_Button->GetWidth() / 2 - m_Button->GetLabel()->GetWidth() / 2 + 1);

    // With useAltShortcutKey the shortcut needs exactly one Alt.
    Send(KeyUp(SDLK_s));
    m_Button->SetUseAltShortcutKey(true);
    EXPECT_FALSE(Send(KeyDown(SDLK_s)));
    EXPECT_FALSE(Send(KeyDown(SDLK_s, static_cast<SDLMod>(KMOD_LALT | KMOD_RALT))));
    EXPECT_TRUE(Send(KeyDown(SDLK_s, KMOD_LALT)));
}

TEST_F(ButtonTest, KeyTipsOnlyForLettersAndDigits)
{
    m_Button->SetShortcutKey(SDLK_s);
    EXPECT_EQ('S', m_Button->GetKeyTipChar());
    ASSERT_NE(nullptr, m_Button->GetKeyTip());
    auto* tipLabel = dynamic_cast<Label*>(m_Button->GetKeyTip()->GetChild("KeyTipLabel", false));
    ASSERT_NE(nullptr, tipLabel);
    EXPECT_EQ("S", tipLabel->GetText());
    m_Button->SetShortcutKey(SDLK_7);
    EXPECT_EQ('7', m_Button->GetKeyTipChar());

    // Arrows and modifier keys (whose low byte would read as a digit) show no tip.
    for (SDLKey key : {SDLK_RIGHT, SDLK_LSHIFT, SDLK_RCTRL, SDLK_F1}) {
        m_Button->SetShortcutKey(key);
        EXPECT_EQ(0, m_Button->GetKeyTipChar()) << key;
        EXPECT_EQ(nullptr, m_Button->GetKeyTip()) << key;
    }
    // ... but the key still works.
    m_Button->SetShortcutKey(SDLK_RIGHT);
    EXPECT_TRUE(Send(KeyDown(SDLK_RIGHT)));

    // Shown on the key-tip layer, centred on the button's top-right corner.
    Actor* layer = new Actor();
    layer->SetPosition(10, 10);
    m_Root->AddChild(layer, "");
    m_Root->SetScriptField("keyTipLayer", layer->GetLuaObject());
    m_Button->SetShortcutKey(SDLK_q);
    m_Button->ShowKeyTip(true);
    Actor* tip = m_Button->GetKeyTip();
    EXPECT_EQ(layer, tip->GetParent());
    EXPECT_TRUE(tip->IsVisible());
    EXPECT_EQ(50 + 40 - 3 - 10 - 8, tip->GetX());
    EXPECT_EQ(40 + 3 - 10 - 8, tip->GetY());
    m_Passes.Step(); // without the armed flag the tick hides it
    EXPECT_FALSE(tip->IsVisible());
    // Replacing the shortcut takes the old tip off the layer.
    m_Button->SetShortcutKey(SDLK_w);
    m_Passes.Step();
    EXPECT_FALSE(layer->HasChild(tip, false));
}

TEST_F(ButtonTest, FlashingAlternatesAndAClickRestoresTheCaption)
{
    Label* caption = m_Button->GetLabel();
    caption->SetColor(Palette::White, true);
    m_Button->SetFlashing(true, Palette::Red);
    m_Passes.Step(16); // 500 ms
    EXPECT_EQ(Palette::Red, caption->GetTextColor());
    m_Passes.Step(16);
    EXPECT_EQ(Palette::White, caption->GetTextColor());
    m_Passes.Step(16);
    EXPECT_EQ(Palette::Red, caption->GetTextColor());
    m_Button->SetFlashing(true, Palette::Red); // again, while showing the flash colour
    Send(MouseMotion(60, 45));
    Send(MouseDown(60, 45));
    Send(MouseUp(60, 45));
    EXPECT_FALSE(m_Button->IsFlashing());
    EXPECT_EQ(Palette::White, caption->GetTextColor());
    m_Passes.Step(40);
    EXPECT_EQ(Palette::White, caption->GetTextColor());
}

TEST_F(ButtonTest, BecomingVisibleUnderThePointerHighlights)
{
    Send(MouseMotion(60, 45));
    m_Button->SetVisible(false, true);
    Dispatch();
    Send(MouseMotion(60, 46));
    m_Button->SetState("Active");
    EXPECT_FALSE(Send(MouseDown(60, 46)));
    m_Button->SetVisible(true, true);
    Dispatch();
    Dispatch();
    EXPECT_EQ("Highlighted", m_Button->GetStateName());
}

TEST_F(ButtonTest, EventsForADeletedButtonAreDropped)
{
    Send(MouseMotion(60, 45));
    m_Button->OnEvent(MouseMotion(5, 5)); // posts a leave to itself
    ASSERT_LT(0u, GetPostedEventQueue().Size()) << "the leave was not posted";
    m_Root->RemoveChild(m_Button);
    delete m_Button;
    m_Button = nullptr;
    // The button's events went with it: none is left to reach the freed button.
    EXPECT_EQ(0u, GetPostedEventQueue().Size());
    Dispatch();
}

TEST_F(ButtonTest, ScriptTablesAndPresets)
{
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
        Table("{class = 'Button', text = 'ok', textColor = 'White', font = {fontName = "
              "'DejaVuSans.ttf', fontSize = 12}, shortcutKey = 111, enterKey = true, "
              "active = false, textAlignment = 'Left', clickSound = 'click2.ogg'}")));
    auto* button = dynamic_cast<Button*>(object.get());
    ASSERT_NE(nullptr, button);
    ASSERT_NE(nullptr, button->GetLabel());
    EXPECT_EQ("ok", button->GetLabel()->GetText());
    EXPECT_NE(nullptr, button->GetLabel()->GetFont());
    EXPECT_GT(button->GetLabel()->GetWidth(), 0);
    EXPECT_EQ(Palette::Gray, button->GetLabel()->GetTextColor());
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_EQ(1, button->GetFrame());
    EXPECT_EQ('O', button->GetKeyTipChar());
    EXPECT_EQ("click2.ogg", button->GetClickSound());
    EXPECT_EQ(0, button->GetLabel()->GetX()); // MidLeft
    button->ApplyProperty("active", Table("true"));
    EXPECT_EQ(Palette::White, button->GetLabel()->GetTextColor());

    EXPECT_EQ(12u, ButtonTemplate::GetPresets().size());
    Actor parent;
    std::unique_ptr<Button> okay(MakeButtonFromTemplate(ButtonTemplates::Okay, &parent));
    EXPECT_EQ("OkayButton", okay->GetName());
    EXPECT_EQ("okay", okay->GetLabel()->GetText());
    EXPECT_EQ(SDLK_o, okay->GetShortcutKey());
    EXPECT_EQ('O', okay->GetKeyTipChar());
    EXPECT_EQ(28, okay->GetLabel()->GetFont()->GetPointSize());
    EXPECT_EQ("DejaVuSans-Bold.ttf", okay->GetLabel()->GetFont()->GetFontName());
    EXPECT_EQ(SDLK_RIGHT, ButtonTemplates::NextArrow.shortcutKey);
    EXPECT_EQ("SmallButtonFont", ButtonTemplates::ChangeName.fontKey);
}

} // namespace
