#include "debugger/DebugFrameParser.h"

void DebugFrameParser::Feed(const char* bytes, std::size_t n)
{
    if (m_Broken || n == 0)
        return;
    // Drop what was consumed before growing, so the buffer holds at most one message and
    // what arrived after it.
    if (m_Start > 0 && m_Start * 2 >= m_Buffer.size()) {
        m_Buffer.erase(0, m_Start);
        m_Start = 0;
    }
    m_Buffer.append(bytes, n);
}

DebugFrameParser::Result DebugFrameParser::Next(std::string& payload)
{
    for (;;) {
        if (m_Broken)
            return Result::TooLarge;
        if (Pending() < 4)
            return Result::NeedMore;
        const unsigned char* head =
            reinterpret_cast<const unsigned char*>(m_Buffer.data() + m_Start);
        const uint32_t length = uint32_t(head[0]) | uint32_t(head[1]) << 8 |
                                uint32_t(head[2]) << 16 | uint32_t(head[3]) << 24;
        if (length > MAX_MESSAGE_BYTES) {
            m_Broken = true;
            m_Buffer.clear();
            m_Start = 0;
            return Result::TooLarge;
        }
        if (length == 0) {
            m_Start += 4;
            continue;
        }
        if (Pending() - 4 < length)
            return Result::NeedMore;
        payload.assign(m_Buffer, m_Start + 4, length);
        m_Start += 4 + std::size_t(length);
        if (m_Start == m_Buffer.size()) {
            m_Buffer.clear();
            m_Start = 0;
        }
        return Result::Message;
    }
}

void DebugFrameParser::Reset()
{
    m_Buffer.clear();
    m_Start = 0;
    m_Broken = false;
}
