#include "widgets/TextBox.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "display/Font.h"
#include "widgets/IBeam.h"
#include "widgets/Label.h"
#include "widgets/WidgetInput.h"

#include <memory>

TextBox::TextBox(int width, int height, const std::string& text) : Actor(OffWhite), m_Text(text)
{
    SetSize(width, height);
    Config* config = Config::GetCurrent();
    MAKO_ASSERT_MSG(config != 0, "A text box needs the configuration values \"TextBoxFont\" and "
                                 "\"TextBoxFontSize\".");
    const std::string fontFile = config->GetString("TextBoxFont");
    const int fontSize = static_cast<int>(config->GetNumber("TextBoxFontSize"));
    std::unique_ptr<Font> font(new Font(fontFile, fontSize, 0));
    m_Label = new Label(text, font.release(), Black, HorizontalAlignment::Center);
    AddChild(m_Label, "");
    m_Caret = new IBeam(2, fontSize);
    AddChild(m_Caret, "");
    m_Cursor = m_Text.size();
    UpdateCaret();
}

bool TextBox::IsAcceptedCharacter(unsigned unicode)
{
    return unicode >= 32 && unicode <= 126 && unicode != '"' && unicode != '\\' && unicode != '|';
}

bool TextBox::OnKeyDown(const Event& event)
{
    if (!m_Enabled || WidgetInput::IsAltOnly(event.key.keysym.mod))
        return false;
    const unsigned unicode = event.key.keysym.unicode;
    if (IsAcceptedCharacter(unicode)) {
        if (m_Text.size() < m_MaxLength) {
            m_Text.insert(m_Cursor, 1, static_cast<char>(unicode));
            ++m_Cursor;
            ShowText();
        }
    } else {
        switch (event.key.keysym.sym) {
        case SDLK_RIGHT:
            if (m_Cursor < m_Text.size())
                ++m_Cursor;
            break;
        case SDLK_LEFT:
            if (m_Cursor > 0)
                --m_Cursor;
            break;
        case SDLK_BACKSPACE:
            if (m_Cursor > 0) {
                --m_Cursor;
                m_Text.erase(m_Cursor, 1);
                ShowText();
            }
            break;
        case SDLK_DELETE:
            if (m_Cursor < m_Text.size()) {
                m_Text.erase(m_Cursor, 1);
                ShowText();
            }
            break;
        default:
            break;
        }
    }
    UpdateCaret();
    return false;
}

void TextBox::ShowText()
{
    m_Label->SetText(m_Text, true);
}

void TextBox::UpdateCaret()
{
    Font* font = m_Label->GetFont();
    const int width = font && m_Cursor > 0 ? font->GetTextSize(m_Text.substr(0, m_Cursor)).x : 0;
    const int centreX = m_Label->GetX() + width;
    const int centreY = m_Label->GetY() + m_Label->GetHeight() / 2;
    m_Caret->SetPosition(centreX - m_Caret->GetWidth() / 2, centreY - m_Caret->GetHeight() / 2);
}
