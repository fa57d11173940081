#pragma once
// Brings a text read from a user's file (a card, the configuration) into what the screens
// can draw, where the file is read: the text is taken by its length, NUL bytes included;
// NULs and other control characters are dropped, bytes that are not UTF-8 become '?', bars
// (which a label would read as an expression) become '/', and a text longer than the screen
// that shows it is cut to its first whole characters. Each kind of mend is named, so the
// reader can log it with the file and the key.
#include <cstddef>
#include <string>
#include <vector>

class ShownText
{
public:
    // The longest text a screen shows from a card or the configuration, in characters, where
    // no narrower limit holds (a name, for one, has its own).
    static constexpr std::size_t kMaxLength = 64;

    // Mends text to at most maxLength characters; true when it had to change.
    bool Mend(const std::string& text, std::size_t maxLength);
    const std::string& GetText() const MAKO_LIFETIMEBOUND { return m_Text; }
    // What was mended, one phrase for each kind ("held a bar; each was replaced by '/'"),
    // none when nothing was.
    const std::vector<std::string>& GetMends() const MAKO_LIFETIMEBOUND { return m_Mends; }

private:
    std::string m_Text;
    std::vector<std::string> m_Mends;
};
