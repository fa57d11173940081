#include "core/ObjectBoundary.h"

#include "core/DataReport.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "luaplus/LuaException.h"

#include <cctype>
#include <unordered_set>

namespace ObjectBoundary {

namespace {

// The lines said this session.
std::unordered_set<std::string>& Said()
{
    static std::unordered_set<std::string> said;
    return said;
}

bool StartsWith(const std::string& text, const char* head)
{
    return text.compare(0, std::char_traits<char>::length(head), head) == 0;
}

// Whether the error is the program's own mistake.
bool IsProgramError(const std::exception& error)
{
    if (dynamic_cast<const LuaPlus::LuaException*>(&error))
        return false;
    const Exception* engine = dynamic_cast<const Exception*>(&error);
    if (!engine)
        return true;
    // A failed check is the program's: its text is MakoAssertText's or ThrowVerifyFailed's.
    const std::string& message = engine->GetMessage();
    return StartsWith(message, "Assertion failed: (") || StartsWith(message, "Verify failed: (");
}

} // namespace

bool IsDataError(const std::exception& error)
{
    return !IsProgramError(error) && !dynamic_cast<const WorkSpent*>(&error);
}

Fault FaultOf(const std::exception* error)
{
    if (error && IsProgramError(*error))
        return Fault::Program;
    return StopSignal::IsRequested() ? Fault::Stop : Fault::Data;
}

std::string TextOf(const std::exception& error)
{
    const Exception* engine = dynamic_cast<const Exception*>(&error);
    std::string text = engine ? engine->GetMessage() : std::string(error.what());
    while (!text.empty() &&
           (text.back() == '.' || std::isspace(static_cast<unsigned char>(text.back()))))
        text.pop_back();
    return text;
}

void ReportOnce(const std::string& subject, const std::string& text)
{
    if (StopSignal::IsRequested())
        return;
    std::unordered_set<std::string>& said = Said();
    const std::string line = subject + '\x1f' + text;
    if (said.count(line))
        return;
    if (said.size() < static_cast<std::size_t>(kRemembered))
        said.insert(line);
    DataReport::Report(subject, text);
}

} // namespace ObjectBoundary
