#include "app/CommandLineOptions.h"

#include <strings.h>

#include <cctype>

void CommandLineOptions::Add(const std::string& name, Match match, bool takesValue)
{
    m_Options.push_back({name, match, takesValue});
}

const CommandLineOptions::Option* CommandLineOptions::Find(const std::string& word) const
{
    // The longest name that matches: "--luadebugport" rather than its prefix "--luadebug".
    const Option* found = nullptr;
    for (const Option& option : m_Options) {
        const bool matches =
            option.match == MATCH_PREFIX  ? word.compare(0, option.name.size(), option.name) == 0
            : option.match == MATCH_WHOLE ? word == option.name
                                          : strcasecmp(word.c_str(), option.name.c_str()) == 0;
        if (matches && (!found || option.name.size() > found->name.size()))
            found = &option;
    }
    return found;
}

std::string CommandLineOptions::FindMistake(const std::vector<std::string>& entries) const
{
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        if (entry.empty())
            continue; // the place of the words before the first option, when there were none
        // Words before the first option ("extra", or a number such as "-1") belong to none.
        const bool isOption =
            entry[0] == '-' &&
            !(entry.size() > 1 && std::isdigit(static_cast<unsigned char>(entry[1])));
        if (!isOption)
            return "The command line word \"" + entry +
                   "\" is not an option (options begin with \"-\").";
        const std::size_t space = entry.find(' ');
        const std::string word = entry.substr(0, space);
        const Option* option = Find(word);
        if (!option)
            return "The command line option \"" + word + "\" is not one this program knows.";
        if (space != std::string::npos && !option->takesValue)
            return "The command line option " + word + " takes no value (given: \"" + entry +
                   "\").";
    }
    return "";
}
