#include "core/AtomicFile.h"

#include "core/Exception.h"
#include "core/Log.h"

#include <boost/format.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void ThrowWriteError(const std::string& path, int errnum)
{
    MAKO_THROW(Exception,
               boost::str(boost::format("Could not write file:\nfile = %1%\nerror = %2%") % path %
                          std::strerror(errnum)));
}

// Writes all of text to fd; false (errno set) when the system refuses part of it.
bool WriteAll(int fd, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::string& path, const std::string& text)
{
    std::string pattern = path + ".XXXXXX";
    std::vector<char> tempName(pattern.begin(), pattern.end());
    tempName.push_back('\0');
    int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        ThrowWriteError(path, errno);

    bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(tempName.data(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::remove(tempName.data());
        ThrowWriteError(path, error);
    }
}

bool KeepFileAside(const std::string& path, const std::string& reason)
{
    std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        Log("Warning: could not set aside the unreadable file \"%s\" (%s): %s\n", path.c_str(),
            std::strerror(errno), reason.c_str());
        return false;
    }
    Log("Warning: the file \"%s\" could not be read and was kept as \"%s\": %s\n", path.c_str(),
        aside.c_str(), reason.c_str());
    return true;
}
