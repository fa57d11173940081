#include "core/Exception.h"

#include "core/Utf8.h"

#include <boost/format.hpp>
#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {
std::string& AppVersion()
{
    static std::string version = "nil";
    return version;
}
} // namespace

Exception::Exception(const std::string& file, int line, const std::string& function,
                     const std::string& date, const std::string& time, const std::string& message)
    : m_Date(date), m_Time(time), m_File(file), m_Function(function), m_Line(line),
      m_Message(Utf8::Shortened(message, kLongestMessage))
{
}

Exception::~Exception() = default;

std::string Exception::GetTypeName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? demangled.get() : mangled;
}

void Exception::ToString(std::string& out) const
{
    out =
        boost::str(boost::format("Exception Thrown: %1%\n\nApp Version: %2%\nCompile Date: "
                                 "%3%\nCompile Time: %4%\nOrigin: %5%:%6%\nFunction: %7%\n\n%8%") %
                   GetTypeName() % GetAppVersion() % m_Date % m_Time % m_File % m_Line %
                   m_Function % m_Message);
}

std::string Exception::ToString() const
{
    std::string text;
    ToString(text);
    return text;
}

ResourceNotFoundException::ResourceNotFoundException(
    const std::string& file, int line, const std::string& function, const std::string& date,
    const std::string& time, const std::string& message, const std::string& resourceName)
    : Exception(file, line, function, date, time, message), m_ResourceName(resourceName)
{
}

DirectX7NotAvailable::DirectX7NotAvailable(const std::string& file, int line,
                                           const std::string& function, const std::string& date,
                                           const std::string& time, const std::string& appName)
    : Exception(file, line, function, date, time, ""), m_AppName(appName)
{
}

void DirectX7NotAvailable::ToString(std::string& out) const
{
    out = boost::str(boost::format("%1% requires that DirectX 7 or higher be installed "
                                   "beforehand.\nThis can be downloaded from Microsoft's web "
                                   "site, at %2%") %
                     m_AppName % "the vendor's download page.");
}

const std::string& GetAppVersion()
{
    return AppVersion();
}

void SetAppVersion(const std::string& version)
{
    AppVersion() = version;
}

std::string MakoQualifiedFunction(const char* pretty)
{
    // "virtual void ns::Class::Method(int, char**) const" -> "ns::Class::Method"
    std::string s(pretty ? pretty : "");
    // An unnamed namespace reads "{anonymous}" whichever compiler wrote the signature.
    const std::string unnamed = "(anonymous namespace)";
    for (auto at = s.find(unnamed); at != std::string::npos; at = s.find(unnamed, at))
        s.replace(at, unnamed.size(), "{anonymous}");
    std::string::size_type paren = std::string::npos;
    int depth = 0;
    for (std::string::size_type i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
        else if (c == '(' && depth == 0) {
            // "operator()" keeps its own parentheses.
            if (i >= 8 && s.compare(i - 8, 8, "operator") == 0 && i + 1 < s.size() &&
                s[i + 1] == ')') {
                ++i;
                continue;
            }
            paren = i;
            break;
        }
    }
    std::string head = paren == std::string::npos ? s : s.substr(0, paren);
    depth = 0;
    for (std::string::size_type i = head.size(); i-- > 0;) {
        char c = head[i];
        if (c == '>')
            ++depth;
        else if (c == '<')
            --depth;
        else if (c == ' ' && depth == 0) {
            // A pointer or reference result may be written against the name ("T *f").
            const auto name = head.find_first_not_of("*&", i + 1);
            return name == std::string::npos ? std::string() : head.substr(name);
        }
    }
    return head;
}

void ThrowVerifyFailed(const std::string& file, int line, const std::string& function,
                       const std::string& date, const std::string& time,
                       const std::string& expression)
{
    throw Exception(file, line, function, date, time, "Verify failed: (" + expression + ")");
}

namespace {

long long g_FailedAssertions = 0;

} // namespace

long long MakoFailedAssertions()
{
    return g_FailedAssertions;
}

// Called only when a check fails: the text is built for the exception it raises.
std::string MakoAssertText(const char* expression)
{
    ++g_FailedAssertions;
    return std::string("Assertion failed: (") + expression + ")";
}

std::string MakoAssertText(const char* expression, const std::string& message)
{
    ++g_FailedAssertions;
    return std::string("Assertion failed: (") + expression + ")\nMessage: " + message;
}
