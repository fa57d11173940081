#pragma once
// The options a program reads from its command line, and the check that the command line
// holds nothing else. An option matches an entry the way its reader tests for it: by
// prefix ("--log3"; "-f" also takes "-fast"), only as the whole word ("--log"), or as the
// whole word in any case ("--disableCrashRpt"). Only an option that takes a value may have
// words after it ("--luadebugport 0").
#include <string>
#include <vector>

class CommandLineOptions
{
public:
    enum Match {
        MATCH_PREFIX,
        MATCH_WHOLE,
        MATCH_WHOLE_ANY_CASE,
    };

    void Add(const std::string& name, Match match = MATCH_PREFIX, bool takesValue = false);

    // Checks the entries of a command line grouped as Application::ParseCmdLineArgs groups
    // them (argument 0 first, then each option with the words after it; words before the
    // first option form an entry of their own). "" when every entry is an option of the
    // list followed only by the words it may take; else a one-line message naming the
    // first entry that is not: an unknown option, words after an option that takes none,
    // or words that follow no option.
    std::string FindMistake(const std::vector<std::string>& entries) const;

private:
    struct Option
    {
        std::string name;
        Match match;
        bool takesValue;
    };
    std::vector<Option> m_Options;

    // The option the word (the entry up to its first space) is, or nullptr; of several that
    // match, the longest.
    const Option* Find(const std::string& word) const;
};
