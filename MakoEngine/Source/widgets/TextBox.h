#pragma once
// TextBox: a one-line text entry field, an off-white rectangle with a label showing the
// text and a blinking caret at the insertion point. It takes printable Unicode characters
// that its font can show (the key events' Unicode values, kept as UTF-8), except the double
// quote, the backslash and the vertical bar, which would disturb the label's embedded
// expressions and Lua strings, and the editing keys Left, Right, Backspace and Delete from
// the key-down events it is offered, which it never consumes. Nothing is typed while the
// box is disabled or exactly one Alt key is held. A press of the left mouse button on the
// box (judged where it lands) puts the insertion point at the character boundary nearest
// to it, and is consumed.
//
// Lengths and the cursor count characters, not bytes; editing never splits a character.
// The text never grows beyond the maximum length (kDefaultMaxLength until the owner sets
// another), nor so wide that its label could not draw it in one line; the label always
// shows the box's text, inside the box with the caret: a text too wide for the box is
// drawn in a smaller size. The text and the caret keep kPadding pixels clear of the box's
// left and right edges. Font: the configuration values "TextBoxFont" and
// "TextBoxFontSize".
#include "scene/Actor.h"

#include <cstddef>
#include <string>

class IBeam;
class Label;

class TextBox : public Actor
{
public:
    static constexpr std::size_t kDefaultMaxLength = 64;
    static constexpr int kPadding = 3;
    static constexpr int kCaretWidth = 2;
    // The width of a box that shows a text this many pixels wide at its full size.
    static int WidthFor(int textWidth) { return textWidth + 2 * kPadding + kCaretWidth; }

    TextBox(int width, int height, const std::string& text);

    // The text, UTF-8.
    const std::string& GetText() const MAKO_LIFETIMEBOUND { return m_Text; }
    // The insertion point, in characters from the start.
    std::size_t GetCursor() const { return m_Cursor; }
    void SetMaxLength(std::size_t maxLength) { m_MaxLength = maxLength; }
    std::size_t GetMaxLength() const { return m_MaxLength; }
    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    bool IsEnabled() const { return m_Enabled; }
    Label* GetLabel() const { return m_Label; }
    IBeam* GetCaret() const { return m_Caret; }

    // Puts the caret's centre at the end of the text's first m_Cursor characters,
    // halfway down the label.
    void UpdateCaret();

    // Whether a Unicode value of a key event is a character a box may take: printable (no
    // control characters or noncharacters) and none of the three refused above.
    static bool IsAcceptedCharacter(unsigned unicode);
    // Whether this box takes it: accepted, and its font has a glyph for it.
    bool TakesCharacter(unsigned unicode) const;

protected:
    bool OnKeyDown(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;

private:
    // The caret's centre for an insertion point, in the box's coordinates.
    int CaretX(std::size_t cursor) const;
    // The text without the character at the index.
    std::string EraseCharacter(std::size_t index) const;
    // Shows the text in the label and only then makes it the box's, with the cursor.
    void ChangeText(const std::string& text, std::size_t cursor);

    bool m_Enabled = true;
    IBeam* m_Caret = nullptr;
    std::size_t m_Cursor = 0;
    Label* m_Label = nullptr;
    std::string m_Text;
    std::size_t m_MaxLength = kDefaultMaxLength;
};
