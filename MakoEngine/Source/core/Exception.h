#pragma once
// The one error type of the engine. Every failure is raised as an Exception (or one of
// the subclasses below) by value and caught by reference; it carries where it was raised
// and a message. Failed checks (MAKO_ASSERT, MAKO_VERIFY) raise it too, so any failure
// unwinds to the program entry, which reports it.
#include <cstddef>
#include <exception>
#include <string>

class Exception : public std::exception
{
public:
    // Note the argument order: file, line, function, build date, build time, message.
    Exception(const std::string& file, int line, const std::string& function,
              const std::string& date, const std::string& time, const std::string& message);
    ~Exception() override;

    // The full report text, first line naming the run-time class of the exception.
    virtual void ToString(std::string& out) const;
    std::string ToString() const;
    // Logs the report and shows it: through the crash reporter when one is installed,
    // else on standard error and in the log.
    void Report() const;

    const char* what() const noexcept MAKO_LIFETIMEBOUND override { return m_Message.c_str(); }
    const std::string& GetDate() const MAKO_LIFETIMEBOUND { return m_Date; }
    const std::string& GetTime() const MAKO_LIFETIMEBOUND { return m_Time; }
    const std::string& GetFile() const MAKO_LIFETIMEBOUND { return m_File; }
    const std::string& GetFunction() const MAKO_LIFETIMEBOUND { return m_Function; }
    int GetLine() const { return m_Line; }
    const std::string& GetMessage() const MAKO_LIFETIMEBOUND { return m_Message; }
    // The longest message kept, in bytes: far more than any the program or a script words,
    // and more than a line of the log shows. A longer one (quoting a value of a megabyte from
    // a file) is cut to its first whole characters and "...", so that every report, log line
    // and script error made of it stays small.
    static const std::size_t kLongestMessage = 8192;
    // The demangled run-time class name ("ScriptError").
    std::string GetTypeName() const;

protected:
    std::string m_Date;
    std::string m_Time;
    std::string m_File;
    std::string m_Function;
    int m_Line;
    std::string m_Message;
};

#define MAKO_DECLARE_EXCEPTION(Name)                                                               \
    class Name : public Exception                                                                  \
    {                                                                                              \
    public:                                                                                        \
        using Exception::Exception;                                                                \
    }

MAKO_DECLARE_EXCEPTION(ApplyPropertyError);
MAKO_DECLARE_EXCEPTION(ClassNotFoundException);
MAKO_DECLARE_EXCEPTION(ResourceLoadError);
MAKO_DECLARE_EXCEPTION(ScriptError);
MAKO_DECLARE_EXCEPTION(InvalidImageParametersError);
MAKO_DECLARE_EXCEPTION(ImageException);
MAKO_DECLARE_EXCEPTION(SoundControlException);
MAKO_DECLARE_EXCEPTION(DisplayBackendInitError);

// A named resource that the resource manager does not know.
class ResourceNotFoundException : public Exception
{
public:
    ResourceNotFoundException(const std::string& file, int line, const std::string& function,
                              const std::string& date, const std::string& time,
                              const std::string& message, const std::string& resourceName);
    const std::string& GetResourceName() const MAKO_LIFETIMEBOUND { return m_ResourceName; }

private:
    std::string m_ResourceName;
};

// Raised when the display layer the hardware backend needs is missing. Its report is a
// fixed text naming the application ("This application" before one exists).
class DirectX7NotAvailable : public Exception
{
public:
    DirectX7NotAvailable(const std::string& file, int line, const std::string& function,
                         const std::string& date, const std::string& time,
                         const std::string& appName);
    void ToString(std::string& out) const override;
    using Exception::ToString;
    const std::string& GetAppName() const MAKO_LIFETIMEBOUND { return m_AppName; }

private:
    std::string m_AppName;
};

// The application version shown in reports: "nil" until the application sets it.
const std::string& GetAppVersion();
void SetAppVersion(const std::string& version);

// Build date and time of the program ("Dec  7 2026", "08:30:00"), shown in reports.
const char* MakoBuildDate();
const char* MakoBuildTime();

// "Class::Method" from a compiler's pretty function signature.
std::string MakoQualifiedFunction(const char* prettyFunction);

[[noreturn]] void ThrowVerifyFailed(const std::string& file, int line, const std::string& function,
                                    const std::string& date, const std::string& time,
                                    const std::string& expression);

// The message of a failed check: "Assertion failed: (expression)", and with a message
// "Assertion failed: (expression)\nMessage: message". A message may be text or a Boost
// format object (from a file that includes Boost.Format itself).
std::string MakoAssertText(const char* expression);
std::string MakoAssertText(const char* expression, const std::string& message);
// How many checks of the program's own (MAKO_ASSERT...) have failed in this process, caught
// or not: a test or fuzz entry asks it, rather than reading a log data can write into.
long long MakoFailedAssertions();
inline std::string MakoAssertText(const char* expression, const char* message)
{
    return MakoAssertText(expression, std::string(message));
}
template <typename Format>
auto MakoAssertText(const char* expression, const Format& message)
    -> decltype(str(message), std::string())
{
    return MakoAssertText(expression, str(message));
}

#define MAKO_WHERE                                                                                 \
    __FILE__, __LINE__, MakoQualifiedFunction(__PRETTY_FUNCTION__), MakoBuildDate(), MakoBuildTime()

// Raises Type (an Exception subclass) with a message at the current source location.
#define MAKO_THROW(Type, message) throw Type(MAKO_WHERE, (message))

// Raises Exception "Assertion failed: (expr)" when expr is false.
#define MAKO_ASSERT(expr)                                                                          \
    do {                                                                                           \
        if (!(expr))                                                                               \
            throw Exception(MAKO_WHERE, MakoAssertText(#expr));                                    \
    } while (0)

// Raises Exception "Assertion failed: (expr)\nMessage: message" when expr is false.
// The message is only built when the check fails.
#define MAKO_ASSERT_MSG(expr, message)                                                             \
    do {                                                                                           \
        if (!(expr))                                                                               \
            throw Exception(MAKO_WHERE, MakoAssertText(#expr, (message)));                         \
    } while (0)

// As MAKO_ASSERT_MSG, raising the given Exception subclass.
#define MAKO_ASSERT_TYPED(Type, expr, message)                                                     \
    do {                                                                                           \
        if (!(expr))                                                                               \
            throw Type(MAKO_WHERE, MakoAssertText(#expr, (message)));                              \
    } while (0)

// Evaluates expr in every build and raises "Verify failed: (expr)" when it is false.
#define MAKO_VERIFY(expr)                                                                          \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ThrowVerifyFailed(MAKO_WHERE, #expr);                                                  \
    } while (0)
