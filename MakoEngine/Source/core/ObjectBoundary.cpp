#include "core/ObjectBoundary.h"

#include "core/DataReport.h"
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

} // namespace

bool IsDataError(const std::exception& error)
{
    if (dynamic_cast<const LuaPlus::LuaException*>(&error))
        return true;
    const Exception* engine = dynamic_cast<const Exception*>(&error);
    if (!engine || dynamic_cast<const WorkSpent*>(engine))
        return false;
    // A failed check is the program's: its text is MakoAssertText's or ThrowVerifyFailed's.
    const std::string& message = engine->GetMessage();
    return !StartsWith(message, "Assertion failed: (") && !StartsWith(message, "Verify failed: (");
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
    std::unordered_set<std::string>& said = Said();
    const std::string line = subject + '\x1f' + text;
    if (said.count(line))
        return;
    if (said.size() < static_cast<std::size_t>(kRemembered))
        said.insert(line);
    DataReport::Report(subject, text);
}

} // namespace ObjectBoundary
