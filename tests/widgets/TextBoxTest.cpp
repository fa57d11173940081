// Text boxes driven by key events: accepted characters, the maximum length, editing keys
// and the caret.
#include "WidgetTestSupport.h"

#include "display/Font.h"
#include "widgets/IBeam.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

#include <cstdint>
#include <memory>

using namespace widgettest;

namespace {

class TextBoxTest : public WidgetTest
{
protected:
    void Type(TextBox& box, const std::string& text, SDLMod mod = KMOD_NONE)
    {
        for (char ch : text)
            EXPECT_FALSE(
                box.OnEvent(KeyDown(static_cast<SDLKey>(ch), mod, static_cast<unsigned char>(ch))));
    }
    void Press(TextBox& box, SDLKey key, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            EXPECT_FALSE(box.OnEvent(KeyDown(key, KMOD_NONE,
                                             key == SDLK_BACKSPACE ? 8
                                             : key == SDLK_DELETE  ? 127
                                                                   : 0)));
    }
};

TEST_F(TextBoxTest, TakesPrintableCharactersUpToTheMaximum)
{
    TextBox box(180, 24, "");
    EXPECT_EQ(TextBox::kDefaultMaxLength, box.GetMaxLength());
    box.SetMaxLength(9);
    Type(box, "ab\"c|d\\e");
    EXPECT_EQ("abcde", box.GetText());
    EXPECT_EQ("abcde", box.GetLabel()->GetText());
    Type(box, "fghi");
    EXPECT_EQ("abcdefghi", box.GetText());
    Type(box, "j");
    EXPECT_EQ("abcdefghi", box.GetText());
    // Moving left does not open room beyond the maximum.
    Press(box, SDLK_LEFT, 3);
    Type(box, "k");
    EXPECT_EQ("abcdefghi", box.GetText());
    EXPECT_EQ(6u, box.GetCursor());
    Press(box, SDLK_END);
    Press(box, SDLK_RIGHT, 5);
    EXPECT_EQ(9u, box.GetCursor());
    Press(box, SDLK_BACKSPACE);
    EXPECT_EQ("abcdefgh", box.GetText());

    // Control characters and anything typed with one Alt held are not text.
    EXPECT_FALSE(box.OnEvent(KeyDown(SDLK_TAB, KMOD_NONE, 9)));
    EXPECT_FALSE(box.OnEvent(KeyDown(SDLK_a, KMOD_NONE, 0x85)));
    Type(box, "z", KMOD_LALT);
    EXPECT_EQ("abcdefgh", box.GetText());
    Type(box, "z", static_cast<SDLMod>(KMOD_LALT | KMOD_LCTRL));
    EXPECT_EQ("abcdefghz", box.GetText());
    box.SetEnabled(false);
    Press(box, SDLK_BACKSPACE);
    EXPECT_EQ("abcdefghz", box.GetText());
}

TEST_F(TextBoxTest, EditingKeysAndTheCaretFollowTheCursor)
{
    TextBox box(180, 24, "name");
    box.SetMaxLength(9);
    Font font("DejaVuSans.ttf", 20, 0);
    IBeam* caret = box.GetCaret();
    // From where the text begins (the padding inside the box's left edge).
    auto caretCentre = [&] {
        return caret->GetX() + caret->GetWidth() / 2 - box.GetLabel()->GetX();
    };
    EXPECT_EQ(TextBox::kPadding, box.GetLabel()->GetX());
    EXPECT_EQ(4u, box.GetCursor());
    EXPECT_EQ(font.GetTextSize("name").x, caretCentre());
    EXPECT_EQ(20, caret->GetHeight());

    Press(box, SDLK_DELETE); // at the end: nothing
    Press(box, SDLK_RIGHT);
    EXPECT_EQ("name", box.GetText());
    EXPECT_EQ(4u, box.GetCursor());
    Press(box, SDLK_LEFT, 6);
    EXPECT_EQ(0u, box.GetCursor());
    EXPECT_EQ(0, caretCentre());
    Press(box, SDLK_BACKSPACE); // at the start: nothing
    Press(box, SDLK_DELETE);
    EXPECT_EQ("ame", box.GetText());
    Type(box, "G");
    EXPECT_EQ("Game", box.GetText());
    EXPECT_EQ(font.GetTextSize("G").x, caretCentre());
    EXPECT_EQ(box.GetLabel()->GetY() + box.GetLabel()->GetHeight() / 2,
              caret->GetY() + caret->GetHeight() / 2);
}

TEST_F(TextBoxTest, APressOnTheBoxPutsTheCaretAtTheNearestCharacterBoundary)
{
    Actor screen;
    auto* placed = new TextBox(180, 24, "name");
    placed->SetPosition(20, 30);
    screen.AddChild(placed, "");
    TextBox& box = *placed;
    Font font("DejaVuSans.ttf", 20, 0);
    const int textX = 20 + TextBox::kPadding;
    const int y = 40;

    // Just past the end of "na": between the second and third letters.
    EXPECT_TRUE(box.OnEvent(MouseDown(textX + font.GetTextSize("na").x + 1, y)));
    EXPECT_EQ(2u, box.GetCursor());
    // The box's left edge: before the first letter; typing goes there.
    EXPECT_TRUE(box.OnEvent(MouseDown(20, y)));
    EXPECT_EQ(0u, box.GetCursor());
    Type(box, "G");
    EXPECT_EQ("Gname", box.GetText());
    // Its right edge, well past the text: the end.
    EXPECT_TRUE(box.OnEvent(MouseDown(20 + 179, y + 13)));
    EXPECT_EQ(5u, box.GetCursor());

    // A press beside the box, of another button, or on a disabled box moves nothing.
    EXPECT_FALSE(box.OnEvent(MouseDown(20 + 180, y)));
    EXPECT_FALSE(box.OnEvent(MouseDown(textX, 30 + 24)));
    Event wheel = MouseDown(textX, y);
    wheel.button.button = SDL_BUTTON_WHEELUP;
    EXPECT_FALSE(box.OnEvent(wheel));
    box.SetEnabled(false);
    EXPECT_FALSE(box.OnEvent(MouseDown(textX, y)));
    EXPECT_EQ(5u, box.GetCursor());
}

TEST_F(TextBoxTest, CaretBlinksEveryHalfSecond)
{
    TextBox box(180, 24, "");
    IBeam* caret = box.GetCaret();
    EXPECT_TRUE(caret->IsVisible());
    m_Passes.Step(15);
    EXPECT_TRUE(caret->IsVisible());
    m_Passes.Step(1);
    EXPECT_FALSE(caret->IsVisible());
    m_Passes.Step(16);
    EXPECT_TRUE(caret->IsVisible());
}

// A name with accents: each key's Unicode value is stored as UTF-8, lengths and the
// cursor count characters, and editing keys remove whole characters.
TEST_F(TextBoxTest, AccentedNamesAreUtf8AndEditedByCharacter)
{
    TextBox box(180, 24, "");
    box.SetMaxLength(3);
    Font font("DejaVuSans.ttf", 20, 0);
    auto typeUnicode = [&](std::uint16_t unicode) {
        EXPECT_FALSE(box.OnEvent(KeyDown(SDLK_a, KMOD_NONE, unicode)));
    };
    Type(box, "Zo");
    typeUnicode(0xEB); // e with diaeresis
    EXPECT_EQ("Zo\xC3\xAB", box.GetText());
    EXPECT_EQ("Zo\xC3\xAB", box.GetLabel()->GetText());
    EXPECT_EQ(3u, box.GetCursor());
    EXPECT_EQ(font.GetTextSize("Zo\xC3\xAB").x, box.GetLabel()->GetWidth());
    typeUnicode(0xE9); // a fourth character: the maximum counts characters
    EXPECT_EQ("Zo\xC3\xAB", box.GetText());

    Press(box, SDLK_BACKSPACE);
    EXPECT_EQ("Zo", box.GetText());
    typeUnicode(0x20AC); // euro sign, three bytes
    EXPECT_EQ("Zo\xE2\x82\xAC", box.GetText());
    Press(box, SDLK_LEFT, 2);
    EXPECT_EQ(1u, box.GetCursor());
    Press(box, SDLK_DELETE);
    EXPECT_EQ("Z\xE2\x82\xAC", box.GetText());
    Press(box, SDLK_RIGHT);
    const IBeam* caret = box.GetCaret();
    EXPECT_EQ(font.GetTextSize("Z\xE2\x82\xAC").x,
              caret->GetX() + caret->GetWidth() / 2 - box.GetLabel()->GetX());

    // Not text: C1 controls, surrogates, noncharacters, and characters the font cannot show.
    for (std::uint16_t unicode : {0x7F, 0x9F, 0xD800, 0xFFFE, 0xFFFF, 0xE000})
        typeUnicode(unicode);
    EXPECT_EQ("Z\xE2\x82\xAC", box.GetText());
    EXPECT_TRUE(box.TakesCharacter(0xEB));
    EXPECT_FALSE(box.TakesCharacter(0xE000));
}

// A character that would make the line too wide for the label to draw is refused, and
// the box and its label keep showing the same text. In a box of ordinary width the text
// is drawn smaller to stay inside: the name box's nine widest letters and the caret fit.
TEST_F(TextBoxTest, RefusesCharactersTheLabelCouldNotDraw)
{
    Font font("DejaVuSans.ttf", 20, 0);
    std::string text;
    while (font.GetTextSize(text + "WW").x <= Label::MaxImageWidth())
        text += "W";
    // A box wide enough never to draw its text smaller: the label's own limit decides.
    TextBox box(Label::MaxImageWidth() + 100, 24, text);
    box.SetMaxLength(100000);
    Type(box, "WWWW");
    EXPECT_EQ(text + "W", box.GetText());
    EXPECT_EQ(box.GetText(), box.GetLabel()->GetText());
    EXPECT_EQ(font.GetTextSize(box.GetText()).x, box.GetLabel()->GetWidth());
    Press(box, SDLK_BACKSPACE);
    EXPECT_EQ(text, box.GetLabel()->GetText());

    TextBox name(180, 24, "WWWWWWWWW");
    EXPECT_LT(name.GetLabel()->GetFont()->GetPointSize(), 20);
    EXPECT_LE(name.GetLabel()->GetX() + name.GetLabel()->GetWidth(), 180);
    EXPECT_LE(name.GetCaret()->GetX() + name.GetCaret()->GetWidth(), 180);
    EXPECT_GE(name.GetCaret()->GetX(), 0);
}

} // namespace
