#include "app/FramePacer.h"

std::uint32_t FramePacer::WaitAt(std::uint32_t now) const
{
    const std::int32_t wait = static_cast<std::int32_t>(m_Next - now);
    return wait > 0 ? static_cast<std::uint32_t>(wait) : 0u;
}

void FramePacer::Advance(std::uint32_t now)
{
    const std::int32_t late = static_cast<std::int32_t>(now - m_Next);
    // Far behind, or (with a clock that went back) far ahead: begin again from now.
    if (late >= static_cast<std::int32_t>(m_Period) || -late > static_cast<std::int32_t>(m_Period))
        Start(now);
    else
        m_Next += m_Period;
}
