#include "core/ShownText.h"

#include "core/Utf8.h"

#include <boost/format.hpp>

namespace {

bool IsControl(std::uint32_t cp)
{
    return cp < 0x20u || cp == 0x7Fu || (cp >= 0x80u && cp < 0xA0u);
}

} // namespace

bool ShownText::Mend(const std::string& text, std::size_t maxLength)
{
    m_Text.clear();
    m_Mends.clear();
    bool control = false, invalid = false, bar = false;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 1;
        const std::uint32_t cp = Utf8::Decode(text, at, length);
        if (cp == Utf8::kInvalid) {
            invalid = true;
            m_Text += '?';
        } else if (IsControl(cp)) {
            control = true;
            at += length;
            continue;
        } else if (cp == '|') {
            bar = true;
            m_Text += '/';
        } else {
            m_Text.append(text, at, length);
        }
        ++characters;
        at += length;
    }
    if (control)
        m_Mends.push_back("held a NUL or another control character; each was dropped");
    if (invalid)
        m_Mends.push_back("held bytes that are not UTF-8; each was replaced by '?'");
    if (bar)
        m_Mends.push_back("held a bar; each was replaced by '/'");
    if (characters > maxLength) {
        m_Text = Utf8::Prefix(m_Text, maxLength);
        m_Mends.push_back(boost::str(boost::format("was %1% characters long; it was cut to %2%") %
                                     characters % maxLength));
    }
    return !m_Mends.empty();
}
