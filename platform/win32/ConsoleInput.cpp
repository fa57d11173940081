#include "win32/ConsoleInput.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {
const size_t kMaxBytesPerCall = 64 * 1024;
}

ConsoleInput::ConsoleInput(int fd) : m_Fd(fd), m_AtEnd(fd < 0) {}

size_t ConsoleInput::ReadAvailable(std::string& out)
{
    size_t total = 0;
    char buffer[4096];
    while (!m_AtEnd && total < kMaxBytesPerCall) {
        pollfd request = {m_Fd, POLLIN, 0};
        int ready = poll(&request, 1, 0);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break; // nothing waiting (or poll failed: try again next call)
        if (request.revents & POLLNVAL) {
            m_AtEnd = true;
            break;
        }
        // Readable, hung up or in error: read() answers at once with data, 0 at the end,
        // or the error.
        ssize_t got = read(m_Fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                m_AtEnd = true;
            break;
        }
        if (got == 0) {
            m_AtEnd = true;
            break;
        }
        out.append(buffer, static_cast<size_t>(got));
        total += static_cast<size_t>(got);
    }
    return total;
}
