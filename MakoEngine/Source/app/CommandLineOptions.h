#pragma once
// The options a program reads from its command line, in one table: each option's name, its
// short form, the value it takes, its line of help and what it does all come from its entry,
// so the list the user is shown and the options the program reads cannot differ.
//
// Options are whole words: an entry matches only its name or its short form ("--windowed",
// "-w"), never a longer or shorter word, and only an entry marked so matches in any case.
// Reading a command line names the first mistake in one line: a word that is no option (an
// empty word too; a word that begins with "-" is read as an option, and one the table does
// not hold is unknown), an option with "=value" or words after it that it does not take
// (an option with a value takes one word), a value its check
// refuses, an option given twice (by either form), or two options of one group (options
// that contradict each other, such as --fullscreen and --windowed). "--help" and "-h" are
// always in the table.
#include "core/Exception.h"

#include <functional>
#include <string>
#include <vector>

struct CommandLineOption
{
    using Apply = std::function<void(const std::string& value)>;
    using Check = std::function<std::string(const std::string& value)>;

    // A switch; an option that takes a value sets valueName and check as well.
    CommandLineOption(std::string name, std::string shortName, std::string group, std::string help,
                      Apply apply = nullptr);

    std::string name;      // "--windowed"
    std::string shortName; // "-w", or "" for none
    std::string group;     // options of one group exclude one another; "" for none
    std::string help;      // its line in the list; "" shares the line of the entry before
    // What the option does when given, with its value ("" for a switch); empty for an
    // option read where it is used (CommandLineOptions::Has).
    Apply apply;
    std::string valueName; // how the help names the value it takes ("N"); "" for a switch
    // For an option that takes a value: "" when the value is good, else the mistake.
    Check check;
    bool anyCase = false;
};

// Ends the start because of the command line: status 0 after "--help" (the program prints
// GetUsage, the option list, on standard output), status 2 after a mistake (GetMessage,
// then GetUsage, here the short list, on standard error). The program entry shows it and reports
// nothing: it is no crash.
class CommandLineStop : public Exception
{
public:
    CommandLineStop(const std::string& file, int line, const std::string& function,
                    const std::string& date, const std::string& time, const std::string& message,
                    const std::string& usage, int status);

    const std::string& GetUsage() const MAKO_LIFETIMEBOUND { return m_Usage; }
    int GetStatus() const { return m_Status; }

private:
    std::string m_Usage;
    int m_Status;
};

class CommandLineOptions
{
public:
    CommandLineOptions();

    // Adds an entry; a name or short form already in the table is the program's mistake.
    void Add(const CommandLineOption& option);
    // The first sentence of the mistake two options of the group make ("Both fullscreen and
    // windowed modes were specified on the command line."); without one a general sentence.
    void SetGroupConflictText(const std::string& group, const std::string& text);

    // Reads a command line word by word (argument 0, the program, first). An option that
    // takes a value takes the next word, whatever it is; every other word must be an option
    // (a word that begins with "-"). "" when the line is good, else the one-line mistake
    // (the first one found). Forgets an earlier reading first.
    std::string Read(const std::vector<std::string>& words);
    // After a good Read: whether "--help" or "-h" was given.
    bool IsHelpAsked() const;
    // After a good Read: whether the option (named by its name) was given, by either form.
    bool Has(const std::string& name) const;
    // After a good Read: runs each given option's apply, in the order of the table.
    void Apply() const;

    // "Usage: <program> [option]..." and one line per option (or per row of options that
    // share a line), in the order of the table, ending with a line end.
    std::string GetUsage(const std::string& program) const;
    // The same in a few lines, to follow a mistake: the usage line, every option in the
    // order of the table as it is written, and where the help is.
    std::string GetSummary(const std::string& program) const;

private:
    struct Given
    {
        std::size_t option; // index into m_Options
        std::string word;   // as written
        std::string value;
    };

    // The entry the word is (by name or short form), or -1.
    int Find(const std::string& word) const;
    // The mistake of a word that is no option, naming the option it was likely meant as.
    std::string UnknownWordMistake(const std::string& word) const;
    // Reads the option at words[next] with its value, moving next past them; "" or the
    // mistake.
    std::string ReadOption(const std::vector<std::string>& words, std::size_t& next);
    // The mistake of two options of one group, given as earlier and later.
    std::string GroupMistake(const std::string& group, const std::string& earlier,
                             const std::string& later) const;

    std::vector<CommandLineOption> m_Options;
    std::vector<std::pair<std::string, std::string>> m_GroupTexts;
    std::vector<Given> m_Given;
};
