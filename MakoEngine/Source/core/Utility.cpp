#include "core/Utility.h"

#include "core/Exception.h"
#include "core/Random.h"
#include "win32/DebugOutput.h"
#include "win32/OwnFiles.h"

#include <boost/format.hpp>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const unsigned int KMOD_NUMLOCK = 0x1000;
const unsigned int KMOD_CAPSLOCK = 0x2000;
const unsigned int KMOD_LCTRL_BIT = 0x0040;
const unsigned int KMOD_RCTRL_BIT = 0x0080;
const unsigned int KMOD_LALT_BIT = 0x0100;
const unsigned int KMOD_RALT_BIT = 0x0200;

unsigned int Significant(unsigned int modifiers)
{
    return modifiers & ~(KMOD_NUMLOCK | KMOD_CAPSLOCK);
}

// Appends the UTF-8 form of c to out; false for a value that is no character.
bool AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF)
            return false;
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        return false;
    }
    return true;
}

} // namespace

bool IsOnlyAltDown(unsigned int modifiers)
{
    unsigned int m = Significant(modifiers);
    return m == KMOD_LALT_BIT || m == KMOD_RALT_BIT;
}

bool IsOnlyCtrlDown(unsigned int modifiers)
{
    unsigned int m = Significant(modifiers);
    return m == KMOD_LCTRL_BIT || m == KMOD_RCTRL_BIT;
}

bool IsOnlyCtrlAltDown(unsigned int modifiers)
{
    unsigned int m = Significant(modifiers);
    return m == (KMOD_LCTRL_BIT | KMOD_LALT_BIT) || m == (KMOD_RCTRL_BIT | KMOD_RALT_BIT);
}

bool FileExists(const std::string& path, int flags)
{
    struct stat info;
    bool isDirectory = stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (flags & EXISTS_DIRECTORY) {
        if (!isDirectory)
            return false;
        return !(flags & EXISTS_WRITABLE) || access(path.c_str(), W_OK) == 0;
    }
    if (isDirectory)
        return false;
    // Asked of the system, not by opening: opening a FIFO would wait for a writer.
    if (access(path.c_str(), R_OK) != 0)
        return false;
    return !(flags & EXISTS_WRITABLE) || access(path.c_str(), W_OK) == 0;
}

bool CreateDirectories(const std::string& path)
{
    Log("CreateDirectories, dirName = \"%s\"\n", path.c_str());
    bool created = false;
    char failed[ownfiles::kMaxPath] = "";
    // Only this user may reach into the folders the game makes (ownfiles::kFolderMode).
    const int error = ownfiles::MakeFolders(
        path.c_str(),
        [](const char* folder, void* made) {
            Log("Created directory: %s\n", folder);
            *static_cast<bool*>(made) = true;
        },
        &created, failed);
    if (error != 0) {
        MAKO_THROW(Exception,
                   boost::str(boost::format("Could not create directory:\ndirectory = %1%\n"
                                            "error = %2%") %
                              (failed[0] ? failed : path.c_str()) % FormatSystemError(error)));
    }
    return created;
}

std::string EscapeNewlines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    std::string::size_type at = text.rfind(suffix);
    return at != std::string::npos && at + suffix.size() == text.size();
}

std::string FormatSystemError(int code)
{
    std::string message = std::strerror(code);
    if (message.size() > 255)
        message.resize(255);
    return std::to_string(code) + ": " + message;
}

std::string GetLastErrorText()
{
    return FormatSystemError(errno);
}

std::string FormatErrnoText(int errnum)
{
    return std::strerror(errnum);
}

std::string GetErrnoText()
{
    return FormatErrnoText(errno);
}

std::string FormatMinutesSeconds(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2.2d:%2.2d", seconds / 60, seconds % 60);
    return text;
}

std::string GroupThousands(int value)
{
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    std::string digits = std::to_string(magnitude);
    std::string grouped = value < 0 ? "-" : "";
    for (std::string::size_type i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string FormatWithThousandsSeparators(int value)
{
    return "$" + GroupThousands(value);
}

void ReverseString(char* text)
{
    if (!text)
        return;
    size_t length = std::strlen(text);
    for (size_t i = 0; i < length / 2; ++i)
        std::swap(text[i], text[length - 1 - i]);
}

int RandomInt(int n)
{
    return n == 0 ? 0 : MakoRand() % n;
}

double RandomDouble(double max)
{
    return MakoRand() / static_cast<double>(MAKO_RAND_MAX) * max;
}

float RandomFloatInRange(float a, float b)
{
    float lower = a < b ? a : b;
    float upper = a < b ? b : a;
    float value = lower + static_cast<float>(MakoRand() / (MAKO_RAND_MAX + 1.0) *
                                             (static_cast<double>(upper) - lower));
    // Rounding to float must not reach the excluded upper end.
    if (value >= upper && upper > lower)
        value = std::nextafter(upper, lower);
    return value;
}

int RoundToInt(float x)
{
    return ClampToInt(std::floor(static_cast<double>(x) + 0.5));
}

int ClampToInt(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (x <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(x);
}

int32_t ConvertWideToAnsi(char* buffer, const wchar_t* wide, int length)
{
    if (!buffer || !wide || length < 1)
        return MAKO_E_INVALIDARG;
    std::string text;
    size_t fitting = 0; // bytes of the whole characters that fit with a terminator
    bool valid = true;
    for (const wchar_t* c = wide; *c; ++c) {
        if (!AppendUtf8(text, static_cast<uint32_t>(*c))) {
            valid = false;
            break;
        }
        if (text.size() < static_cast<size_t>(length))
            fitting = text.size();
    }
    size_t written = text.size() < static_cast<size_t>(length) ? text.size() : fitting;
    std::memcpy(buffer, text.data(), written);
    buffer[written] = '\0';
    buffer[length - 1] = '\0';
    return valid && written == text.size() ? MAKO_S_OK : MAKO_E_FAIL;
}

void DebugTrace(const char* format, ...)
{
    char text[800];
    va_list args;
    va_start(args, format);
    text[0] = '\0';
    int needed = format ? std::vsnprintf(text, sizeof text, format, args) : 0;
    va_end(args);
    if (needed >= static_cast<int>(sizeof text)) {
        text[798] = '\n';
        text[799] = '\0';
    }
    OutputDebugStringA(text);
}
