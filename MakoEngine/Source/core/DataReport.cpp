#include "core/DataReport.h"

#include "core/Log.h"
#include "core/Utf8.h"
#include "core/ValueTypeError.h"
#include "lua/MakoLuaState.h"

#include <cctype>
#include <set>
#include <vector>

using LuaPlus::LuaObject;

namespace {

std::vector<const DataPlace*>& Places()
{
    static std::vector<const DataPlace*> places;
    return places;
}

// The problems reported since the outermost place opened.
std::set<std::string>& Reported()
{
    static std::set<std::string> reported;
    return reported;
}

// The open caps: how many are open, how many lines the outermost still allows, and how
// many problems it left unsaid.
struct CapState
{
    int open = 0;
    int left = 0;
    long long unsaid = 0;
};

CapState& Caps()
{
    static CapState caps;
    return caps;
}

DataReport::Listener& CurrentListener()
{
    static DataReport::Listener listener;
    return listener;
}

} // namespace

std::string DataIssue::ToString() const
{
    std::string words = place ? place->Describe() : std::string();
    std::string line;
    if (!subject.empty()) {
        line = subject + (words.empty() ? "" : " (" + words + ")") + ": " + text;
    } else if (!words.empty()) {
        words[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(words[0])));
        line = words + ": " + text;
    } else {
        line = text;
    }
    // Every line the reporter says is folded here, whatever part brought the line end.
    return OneLineText(line);
}

namespace {

// Logs the issue (once within the outermost place, under the open cap) and hands it to the
// listener.
void Say(const DataIssue& issue)
{
    const std::string line = issue.ToString();
    if (DataReport::InPlace() && !Reported().insert(line).second)
        return;
    CapState& caps = Caps();
    if (caps.open > 0 && caps.left <= 0) {
        ++caps.unsaid;
        return;
    }
    if (caps.open > 0)
        --caps.left;
    // At the game's default log level: an author looks for these in the log.
    LogAtLevel(1, "%s%s\n", issue.warning ? "Warning: " : "", line.c_str());
    if (CurrentListener())
        CurrentListener()(issue);
}

} // namespace

DataReport::Place::Place(const DataPlace& place)
{
    Places().push_back(&place);
}

DataReport::Place::~Place()
{
    Places().pop_back();
    if (Places().empty())
        Reported().clear();
}

DataReport::Cap::Cap(int lines)
{
    CapState& caps = Caps();
    if (caps.open++ == 0) {
        caps.left = lines;
        caps.unsaid = 0;
    }
}

DataReport::Cap::~Cap()
{
    CapState& caps = Caps();
    if (--caps.open > 0 || caps.unsaid == 0)
        return;
    DataIssue issue;
    issue.place = CurrentPlace();
    issue.text = std::to_string(caps.unsaid) + " more problem(s) not listed";
    caps.unsaid = 0;
    LogAtLevel(1, "%s\n", issue.ToString().c_str());
    try {
        if (CurrentListener())
            CurrentListener()(issue);
    } catch (const std::exception& e) {
        LogAtLevel(1, "The report of problems could not take the count: %s\n", e.what());
    }
}

bool DataReport::InPlace()
{
    return !Places().empty();
}

const DataPlace* DataReport::CurrentPlace()
{
    return Places().empty() ? nullptr : Places().back();
}

namespace {

// The issue as the reporter keeps it: its subject and text within their lengths.
DataIssue Issue(const std::string& subject, const std::string& text, bool warning)
{
    DataIssue issue;
    issue.subject = Utf8::Shortened(subject, DataReport::kLongestSubject);
    issue.text = Utf8::Shortened(text, DataReport::kLongestText);
    issue.warning = warning;
    return issue;
}

} // namespace

void DataReport::Report(const std::string& subject, const std::string& text)
{
    DataIssue issue = Issue(subject, text, false);
    issue.place = CurrentPlace();
    Say(issue);
}

void DataReport::Warn(const std::string& subject, const std::string& text)
{
    DataIssue issue = Issue(subject, text, true);
    issue.place = CurrentPlace();
    Say(issue);
}

void DataReport::WarnOfPack(const std::string& text, const std::string& resource)
{
    DataIssue issue = Issue(std::string(), text, true);
    issue.ofPack = true;
    issue.resource = resource;
    Say(issue);
}

bool DataReport::CountIfCapped()
{
    CapState& caps = Caps();
    if (caps.open == 0 || caps.left > 0)
        return false;
    ++caps.unsaid;
    return true;
}

DataReport::Listener DataReport::SetListener(Listener listener)
{
    Listener previous = std::move(CurrentListener());
    CurrentListener() = std::move(listener);
    return previous;
}

std::string OneLineText(const std::string& text)
{
    if (text.find_first_of("\r\n") == std::string::npos)
        return text;
    std::string line;
    line.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        line += " / ";
    }
    return line;
}

std::string ShortenedText(const std::string& text, std::size_t longest)
{
    return Utf8::Shortened(text, longest);
}

std::string DataKeyText(const LuaObject& key)
{
    if (key.IsString())
        return ShortenedText(key.GetString());
    if (key.IsNumber())
        return key.ToString();
    return std::string("<") + key.TypeName() + ">";
}

const char* NeededTypeWords(int luaType)
{
    switch (luaType) {
    case LUA_TNUMBER:
        return "a number";
    case LUA_TSTRING:
        return "a string";
    case LUA_TBOOLEAN:
        return "a boolean";
    case LUA_TTABLE:
        return "a table";
    case LUA_TFUNCTION:
        return "a function";
    default:
        return "a value of another type";
    }
}

LuaObject ReadDataKey(const LuaObject& table, const char* key, int luaType,
                      const std::string& subject)
{
    if (!table.IsTable())
        return LuaObject();
    LuaObject value = table[key];
    if (value.IsNil() || value.Type() == luaType)
        return value;
    DataReport::Report(subject, std::string("\"") + key + "\" needs " + NeededTypeWords(luaType) +
                                    ", not " + DescribeScriptValue(value) +
                                    "; the default is used");
    return LuaObject();
}

double ReadGlobalNumber(const char* name, double def)
{
    const LuaObject value =
        ReadDataKey(GetGlobalLuaState()->GetGlobals(), name, LUA_TNUMBER, "The game's defaults");
    return value.IsNumber() ? value.GetNumber() : def;
}

int ReadGlobalInt(const char* name, int def)
{
    const LuaObject value =
        ReadDataKey(GetGlobalLuaState()->GetGlobals(), name, LUA_TNUMBER, "The game's defaults");
    return value.IsNumber() ? value.GetInteger() : def;
}
