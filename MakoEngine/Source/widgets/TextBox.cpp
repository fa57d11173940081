#include "widgets/TextBox.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Utf8.h"
#include "display/Font.h"
#include "widgets/HoverState.h"
#include "widgets/IBeam.h"
#include "widgets/Label.h"
#include "widgets/WidgetInput.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

TextBox::TextBox(int width, int height, const std::string& text)
    : Actor(Palette::OffWhite), m_Text(text)
{
    SetSize(width, height);
    Config* config = Config::GetCurrent();
    MAKO_ASSERT_MSG(config != 0, "A text box needs the configuration values \"TextBoxFont\" and "
                                 "\"TextBoxFontSize\".");
    const std::string fontFile = config->GetString("TextBoxFont");
    const int fontSize = static_cast<int>(config->GetNumber("TextBoxFontSize"));
    std::unique_ptr<Font> font(new Font(fontFile, fontSize, 0));
    m_Label = new Label(text, font.release(), Palette::Black, HorizontalAlignment::Center);
    m_Caret = new IBeam(kCaretWidth, fontSize);
    // The text and the caret after it stay inside the box, clear of its edges: a text too
    // wide for it is written smaller.
    m_Label->SetWidthLimit(std::max(1, width - WidthFor(0)));
    m_Label->SetText(text, true);
    // Centred in the box's height, so tall capitals and low tails alike keep off its edges.
    m_Label->SetPosition(kPadding, std::max(0, (height - m_Label->GetHeight()) / 2));
    AddChild(m_Label, "");
    AddChild(m_Caret, "");
    m_Cursor = Utf8::Length(m_Text);
    UpdateCaret();
}

bool TextBox::IsAcceptedCharacter(unsigned unicode)
{
    if (unicode < 32 || (unicode >= 127 && unicode < 160)) // control characters
        return false;
    if (unicode == '"' || unicode == '\\' || unicode == '|')
        return false;
    if ((unicode >= 0xFDD0 && unicode <= 0xFDEF) || (unicode & 0xFFFE) == 0xFFFE)
        return false; // noncharacters
    return Utf8::IsEncodable(unicode);
}

bool TextBox::TakesCharacter(unsigned unicode) const
{
    const Font* font = m_Label->GetFont();
    return IsAcceptedCharacter(unicode) && font && font->ProvidesGlyph(unicode);
}

bool TextBox::OnKeyDown(const Event& event)
{
    if (!m_Enabled || WidgetInput::IsAltOnly(event.key.keysym.mod))
        return false;
    const unsigned unicode = event.key.keysym.unicode;
    const std::size_t length = Utf8::Length(m_Text);
    if (IsAcceptedCharacter(unicode)) {
        if (length < m_MaxLength && TakesCharacter(unicode)) {
            std::string character;
            Utf8::Append(character, unicode);
            std::string text = m_Text;
            text.insert(Utf8::Offset(m_Text, m_Cursor), character);
            // A character that would make the line too wide to draw is refused.
            if (m_Label->LineFits(text))
                ChangeText(text, m_Cursor + 1);
        }
    } else {
        switch (event.key.keysym.sym) {
        case SDLK_RIGHT:
            if (m_Cursor < length)
                ++m_Cursor;
            break;
        case SDLK_LEFT:
            if (m_Cursor > 0)
                --m_Cursor;
            break;
        case SDLK_BACKSPACE:
            if (m_Cursor > 0)
                ChangeText(EraseCharacter(m_Cursor - 1), m_Cursor - 1);
            break;
        case SDLK_DELETE:
            if (m_Cursor < length)
                ChangeText(EraseCharacter(m_Cursor), m_Cursor);
            break;
        default:
            break;
        }
    }
    UpdateCaret();
    return false;
}

bool TextBox::OnMouseButtonDown(const Event& event)
{
    if (!m_Enabled || !IsVisible() || event.button.button != SDL_BUTTON_LEFT ||
        !HoverState::Contains(*this, event.button.x, event.button.y))
        return false;
    const int x = GlobalToLocal(event.button.x, event.button.y).x;
    const std::size_t length = Utf8::Length(m_Text);
    std::size_t nearest = 0;
    for (std::size_t cursor = 1; cursor <= length; ++cursor)
        if (std::abs(CaretX(cursor) - x) < std::abs(CaretX(nearest) - x))
            nearest = cursor;
    m_Cursor = nearest;
    UpdateCaret();
    return true;
}

std::string TextBox::EraseCharacter(std::size_t index) const
{
    const std::size_t begin = Utf8::Offset(m_Text, index);
    std::string text = m_Text;
    text.erase(begin, Utf8::Next(m_Text, begin) - begin);
    return text;
}

void TextBox::ChangeText(const std::string& text, std::size_t cursor)
{
    // The label first: should it fail, the box keeps its text and the label is put back.
    try {
        m_Label->SetText(text, true);
    } catch (...) {
        m_Label->SetText(m_Text, true);
        throw;
    }
    m_Text = text;
    m_Cursor = cursor;
}

int TextBox::CaretX(std::size_t cursor) const
{
    Font* font = m_Label->GetFont();
    const int width = font && cursor > 0 ? font->GetTextSize(Utf8::Prefix(m_Text, cursor)).x : 0;
    return m_Label->GetX() + width;
}

void TextBox::UpdateCaret()
{
    const int centreX = CaretX(m_Cursor);
    const int centreY = m_Label->GetY() + m_Label->GetHeight() / 2;
    m_Caret->SetPosition(centreX - m_Caret->GetWidth() / 2, centreY - m_Caret->GetHeight() / 2);
}
