#include "app/CommandLineOptions.h"

#include <strings.h>

#include <algorithm>
#include <utility>

namespace {

bool SameWord(const std::string& a, const std::string& b, bool anyCase)
{
    return anyCase ? strcasecmp(a.c_str(), b.c_str()) == 0 : a == b;
}

// Whether the shorter of the two words begins the longer one, in any case.
bool OneBeginsTheOther(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    return strncasecmp(a.c_str(), b.c_str(), n) == 0;
}

// "A", "A and B", "A, B and C".
std::string JoinedWithAnd(const std::vector<std::string>& words)
{
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += i + 1 == words.size() ? " and " : ", ";
        text += words[i];
    }
    return text;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

CommandLineOption::CommandLineOption(std::string name, std::string shortName, std::string group,
                                     std::string help, Apply apply)
    : name(std::move(name)), shortName(std::move(shortName)), group(std::move(group)),
      help(std::move(help)), apply(std::move(apply))
{
}

CommandLineStop::CommandLineStop(const std::string& file, int line, const std::string& function,
                                 const std::string& date, const std::string& time,
                                 const std::string& message, const std::string& usage, int status)
    : Exception(file, line, function, date, time, message), m_Usage(usage), m_Status(status)
{
}

CommandLineOptions::CommandLineOptions()
{
    Add({"--help", "-h", "", "show this list and exit"});
}

void CommandLineOptions::Add(const CommandLineOption& option)
{
    MAKO_ASSERT_MSG(Find(option.name) < 0 &&
                        (option.shortName.empty() || Find(option.shortName) < 0),
                    "A command line option is in the table twice: " + option.name);
    m_Options.push_back(option);
}

void CommandLineOptions::SetGroupConflictText(const std::string& group, const std::string& text)
{
    m_GroupTexts.emplace_back(group, text);
}

int CommandLineOptions::Find(const std::string& word) const
{
    for (std::size_t i = 0; i < m_Options.size(); ++i) {
        const CommandLineOption& option = m_Options[i];
        if (SameWord(word, option.name, option.anyCase) ||
            (!option.shortName.empty() && SameWord(word, option.shortName, option.anyCase)))
            return static_cast<int>(i);
    }
    return -1;
}

std::string CommandLineOptions::UnknownWordMistake(const std::string& word) const
{
    std::string text = "The command line option " + Quoted(word) + " is not one this program knows";
    // The closest option that begins the word or that the word begins ("--fullscreenx",
    // "--luadebugger", "--skipdro"): a typo's likely meaning.
    std::string closest;
    for (const CommandLineOption& option : m_Options)
        for (const std::string& form : {option.name, option.shortName})
            if (!form.empty() && word.size() > 2 && OneBeginsTheOther(word, form) &&
                form.size() > closest.size())
                closest = form;
    if (!closest.empty())
        text += " (did you mean " + Quoted(closest) + "?)";
    return text + ".";
}

std::string CommandLineOptions::ReadOption(const std::vector<std::string>& words, std::size_t& next)
{
    const std::string& word = words[next++];
    if (word.empty())
        return "An empty word on the command line is not an option (options begin with \"-\").";
    if (word[0] != '-')
        return "The command line word " + Quoted(word) +
               " is not an option (options begin with \"-\").";
    const int found = Find(word);
    if (found < 0) {
        const std::size_t equals = word.find('=');
        const int named = equals == std::string::npos ? -1 : Find(word.substr(0, equals));
        if (named < 0)
            return UnknownWordMistake(word);
        const CommandLineOption& option = m_Options[static_cast<std::size_t>(named)];
        if (option.valueName.empty())
            return "The command line option " + option.name +
                   " takes no value (given: " + Quoted(word) + ").";
        return "The command line option " + option.name + " takes its value as the next word (" +
               Quoted(option.name + " " + word.substr(equals + 1)) + "), not after \"=\".";
    }
    const CommandLineOption& option = m_Options[static_cast<std::size_t>(found)];
    std::string value;
    if (!option.valueName.empty()) {
        // The value is the next word, whatever it is ("-1" too); the line may not end first.
        if (next >= words.size())
            return "The command line option " + option.name +
                   " needs a value: give it as the next word (" +
                   Quoted(option.name + " " + option.valueName) + ").";
        value = words[next++];
        const std::string mistake = option.check ? option.check(value) : "";
        if (!mistake.empty())
            return mistake;
        if (next < words.size() && !words[next].empty() && words[next][0] != '-')
            return "The command line word " + Quoted(words[next]) + " after " +
                   Quoted(word + " " + value) + " is not an option (options begin with \"-\").";
    } else if (next < words.size() && !words[next].empty() && words[next][0] != '-') {
        return "The command line option " + option.name +
               " takes no value (given: " + Quoted(word + " " + words[next]) + ").";
    }
    for (const Given& given : m_Given) {
        const CommandLineOption& earlier = m_Options[given.option];
        if (given.option == static_cast<std::size_t>(found))
            return "The command line option " + option.name + " is given twice (" +
                   Quoted(given.word) + " and " + Quoted(word) + "); give it once.";
        if (!option.group.empty() && earlier.group == option.group)
            return GroupMistake(option.group, given.word, word);
    }
    m_Given.push_back({static_cast<std::size_t>(found), word, value});
    return "";
}

std::string CommandLineOptions::GroupMistake(const std::string& group, const std::string& earlier,
                                             const std::string& later) const
{
    std::string text = "Two " + group + " options were given on the command line.";
    for (const auto& groupText : m_GroupTexts)
        if (groupText.first == group)
            text = groupText.second;
    std::vector<std::string> names;
    for (const CommandLineOption& member : m_Options)
        if (member.group == group)
            names.push_back(member.name);
    return text + " Give only one of " + JoinedWithAnd(names) + " (given: " + Quoted(earlier) +
           " and " + Quoted(later) + ").";
}

std::string CommandLineOptions::Read(const std::vector<std::string>& words)
{
    m_Given.clear();
    for (std::size_t next = 1; next < words.size();) {
        const std::string mistake = ReadOption(words, next);
        if (!mistake.empty()) {
            m_Given.clear();
            return mistake;
        }
    }
    return "";
}

bool CommandLineOptions::IsHelpAsked() const
{
    return Has("--help");
}

bool CommandLineOptions::Has(const std::string& name) const
{
    for (const Given& given : m_Given)
        if (m_Options[given.option].name == name)
            return true;
    return false;
}

void CommandLineOptions::Apply() const
{
    for (std::size_t i = 0; i < m_Options.size(); ++i)
        for (const Given& given : m_Given)
            if (given.option == i && m_Options[i].apply)
                m_Options[i].apply(given.value);
}

std::string CommandLineOptions::GetUsage(const std::string& program) const
{
    std::vector<std::pair<std::string, std::string>> rows; // the forms, the help
    for (const CommandLineOption& option : m_Options) {
        std::string forms = option.shortName.empty() ? "" : option.shortName + ", ";
        forms += option.name;
        if (!option.valueName.empty())
            forms += " " + option.valueName;
        if (option.help.empty() && !rows.empty())
            rows.back().first += ", " + forms;
        else
            rows.emplace_back(forms, option.help);
    }
    // Help starts in one column, after the widest forms that are not too wide for it.
    const std::size_t kWidest = 28;
    std::size_t column = 0;
    for (const auto& row : rows)
        if (row.first.size() <= kWidest)
            column = std::max(column, row.first.size());
    std::string text = "Usage: " + program + " [option]...\n";
    for (const auto& row : rows) {
        text += "  " + row.first;
        if (row.first.size() > column)
            text += "\n  " + std::string(column, ' ');
        else
            text += std::string(column - row.first.size(), ' ');
        text += "  " + row.second + "\n";
    }
    return text;
}

std::string CommandLineOptions::GetSummary(const std::string& program) const
{
    const std::size_t kWidth = 80;
    std::string text = "Usage: " + program + " [option]...\n";
    std::string line = "Options:";
    for (const CommandLineOption& option : m_Options)
        for (const std::string& form : {option.shortName, option.name}) {
            if (form.empty())
                continue;
            const std::string word =
                " " + form + (option.valueName.empty() ? "" : " " + option.valueName);
            if (line.size() + word.size() > kWidth) {
                text += line + "\n";
                line = " ";
            }
            line += word;
        }
    return text + line + "\n\"" + program + " --help\" says what each does.\n";
}
