// The game's command line: every option it reads is taken as the whole word it is and
// nothing near it; mistakes are named in one line and end the start with status 2; the
// option list shown to the user holds exactly the options read.
#include "app/AppTestSupport.h"
#include "app/CommandLineOptions.h"

#include <regex>
#include <set>
#include <sstream>

using namespace apptest;

namespace {

using CommandLineTest = AppTest;

// Every option the game reads, as the README lists them, with the value one takes.
const std::vector<std::pair<std::string, std::string>> kOptions = {
    {"--multiapp", ""},  {"--nohwaccel", ""},      {"--hwaccel", ""},
    {"--luadebug", ""},  {"--nomusic", ""},        {"--safemode", ""},
    {"--nosound", ""},   {"--fullredraw", ""},     {"--keepcwd", ""},
    {"--nopkg", ""},     {"--noExeResources", ""}, {"--log", ""},
    {"-log", ""},        {"--log0", ""},           {"--log1", ""},
    {"--log2", ""},      {"--log3", ""},           {"--log4", ""},
    {"--logoff", ""},    {"-logoff", ""},          {"--console", ""},
    {"-f", ""},          {"--fullscreen", ""},     {"-w", ""},
    {"--windowed", ""},  {"--debug", ""},          {"--disableCrashRpt", ""},
    {"--skipdrop", ""},  {"--skipletter", ""},     {"--noprecache", ""},
    {"--lowFX", ""},     {"--testscreen", ""},     {"--menuscreen", ""},
    {"--mapscreen", ""}, {"--gamescreen", ""},     {"--help", ""},
    {"-h", ""},          {"--luadebugport", "80"},
};

// Options that contradict each other.
const std::vector<std::pair<std::string, std::string>> kOpposites = {
    {"--hwaccel", "--nohwaccel"},
    {"--fullscreen", "--windowed"},
    {"-f", "-w"},
    {"-w", "--fullscreen"},
    {"--gamescreen", "--menuscreen"},
    {"--mapscreen", "--testscreen"},
    {"--log0", "--log4"},
    {"--log", "--logoff"},
    {"-log", "--log2"},
    {"-logoff", "--log1"},
};

struct Outcome
{
    bool stopped = false;
    int status = -1;
    std::string message;
    std::string usage;
};

// Runs the command line's check and its properties as start-up does.
Outcome Start(std::vector<std::string> words)
{
    words.insert(words.begin(), "/games/bumperlux");
    std::unique_ptr<TestApp> app(new TestApp());
    app->Parse(words);
    Outcome outcome;
    try {
        app->CheckCommandLine();
        app->Settle();
    } catch (const CommandLineStop& stop) {
        outcome = {true, stop.GetStatus(), stop.GetMessage(), stop.GetUsage()};
    }
    return outcome;
}

// The words of an option with its value, if it takes one.
std::vector<std::string> Words(const std::string& option, const std::string& value)
{
    std::vector<std::string> words{option};
    if (!value.empty())
        words.push_back(value);
    return words;
}

} // namespace

TEST_F(CommandLineTest, EveryOptionIsAcceptedAloneAndTogetherWithTheOthers)
{
    std::vector<std::string> all;
    for (const auto& [option, value] : kOptions) {
        const Outcome outcome = Start(Words(option, value));
        const bool help = option == "--help" || option == "-h";
        EXPECT_EQ(help, outcome.stopped) << option << ": " << outcome.message;
        EXPECT_EQ(help ? 0 : -1, outcome.status) << option;
        if (!help && option != "-f" && option != "-w" && option != "--windowed" &&
            option.find("log") == std::string::npos && option.find("screen") == std::string::npos &&
            option != "--nohwaccel") {
            const std::vector<std::string> words = Words(option, value);
            all.insert(all.end(), words.begin(), words.end());
        }
    }
    all.insert(all.end(), {"-w", "--log3", "--mapscreen", "--DISABLECRASHRPT"});
    all.erase(std::find(all.begin(), all.end(), "--disableCrashRpt"));
    const Outcome together = Start(all);
    EXPECT_FALSE(together.stopped) << together.message;
    for (const char* port : {"0", "1", "65535", "00080"})
        EXPECT_FALSE(Start({"--luadebugport", port}).stopped) << port;
}

TEST_F(CommandLineTest, NearMissesRepeatsAndOppositesOfEveryOptionAreNamedMistakes)
{
    std::set<std::string> names;
    for (const auto& option : kOptions)
        names.insert(option.first);
    struct Case
    {
        std::vector<std::string> words;
        std::string named; // what the message must hold
    };
    std::vector<Case> cases;
    for (const auto& [option, value] : kOptions) {
        const std::string plusValue = value.empty() ? "" : " " + value;
        cases.push_back({Words(option + "x", value), "\"" + option + "x\""});
        cases.push_back({Words(option + "X", value), "\"" + option + "X\""});
        const std::string shorter = option.substr(0, option.size() - 1);
        if (!names.count(shorter))
            cases.push_back({Words(shorter, value), "\"" + shorter + "\""});
        cases.push_back({{option + "=" + (value.empty() ? "1" : value)}, option});
        cases.push_back({{option + "="}, option});
        const std::vector<std::string> once = Words(option, value);
        std::vector<std::string> twice = once;
        twice.insert(twice.end(), once.begin(), once.end());
        cases.push_back({twice, "is given twice (\"" + option + "\" and \"" + option + "\")"});
        if (value.empty())
            cases.push_back(
                {{option, "extra"}, "takes no value (given: \"" + option + " extra\")"});
    }
    for (const auto& [one, other] : kOpposites) {
        cases.push_back({{one, other}, "(given: \"" + one + "\" and \"" + other + "\")"});
        cases.push_back(
            {{other, "--nosound", one}, "(given: \"" + other + "\" and \"" + one + "\")"});
    }
    // A short form and its long form are one option given twice.
    cases.push_back({{"-w", "--windowed"}, "--windowed is given twice"});
    cases.push_back({{"--log", "-log"}, "--log is given twice"});
    cases.push_back({{"-h", "--help"}, "--help is given twice"});
    // The ones a user was seen to try.
    for (const char* word : {"--luadebugger", "--multiapplication", "--fullscreenx", "-wide",
                             "--skipdropX", "--LOWFX", "--Windowed", "--version", "-", "--"})
        cases.push_back({{word}, std::string("\"") + word + "\""});
    cases.push_back({{"--console=no"}, "--console takes no value"});
    cases.push_back({{"--safemode=1"}, "--safemode takes no value"});

    int refused = 0;
    for (const Case& c : cases) {
        const Outcome outcome = Start(c.words);
        std::string line;
        for (const std::string& word : c.words)
            line += word + " ";
        EXPECT_TRUE(outcome.stopped) << "accepted: " << line;
        EXPECT_EQ(2, outcome.status) << line;
        EXPECT_NE(std::string::npos, outcome.message.find(c.named))
            << line << "-> " << outcome.message;
        EXPECT_EQ(std::string::npos, outcome.message.find('\n')) << outcome.message;
        refused += outcome.stopped;
    }
    EXPECT_GT(refused, 5 * static_cast<int>(kOptions.size()));
}

TEST_F(CommandLineTest, DebuggerPortIsAPlainNumberOfAtMostFiveDigits)
{
    // The option last on the line, with no value: said as a missing value, not as a bad one.
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--luadebugport"},
          std::vector<std::string>{"--nosound", "--luadebugport"}}) {
        const Outcome outcome = Start(words);
        EXPECT_EQ(2, outcome.status);
        EXPECT_EQ("The command line option --luadebugport needs a value: give it as the next "
                  "word (\"--luadebugport N\").",
                  outcome.message);
    }
    for (const char* bad : {"", "65536", "70000", "-1", "12ab", "0x10", "+80", " 80", "80 81",
                            "000080", "00000000000000000000000080", "99999999999999999999"}) {
        const Outcome outcome = Start({"--luadebugport", bad});
        EXPECT_EQ(2, outcome.status) << bad;
        EXPECT_EQ(std::string("The command line option --luadebugport needs a port number from "
                              "0 to 65535 (0 picks a free port), not \"") +
                      bad + "\".",
                  outcome.message);
    }
    EXPECT_EQ("The command line option --luadebugport takes its value as the next word "
              "(\"--luadebugport 4000\"), not after \"=\".",
              Start({"--luadebugport=4000"}).message);
}

TEST_F(CommandLineTest, EveryWordIsReadAsAnOptionItsValueOrAStrayWordThatIsNamed)
{
    const std::string stray = "\" is not an option (options begin with \"-\").";
    const std::string unknown = "\" is not one this program knows.";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"extra", "--windowed"}, "The command line word \"extra" + stray},
        // A word that begins with "-" is an option, whatever follows the dash.
        {{"-5"}, "The command line option \"-5" + unknown},
        {{"--nosound", "-1"}, "The command line option \"-1" + unknown},
        {{"--bogus", "--nosound"}, "The command line option \"--bogus" + unknown},
        // An empty word is a stray word too, wherever it stands.
        {{""}, "An empty word on the command line is not an option (options begin with \"-\")."},
        {{"--nosound", "", "--windowed"},
         "An empty word on the command line is not an option (options begin with \"-\")."},
        // An option that takes a value takes one word: the next one is read on its own.
        {{"--luadebugport", "80", "81"},
         "The command line word \"81\" after \"--luadebugport 80" + stray},
        {{"--luadebugport", "80", "81", "--nosound"},
         "The command line word \"81\" after \"--luadebugport 80" + stray},
        {{"--luadebugport", "80", ""},
         "An empty word on the command line is not an option (options begin with \"-\")."},
        {{"--luadebugport", "80", "--luadebugport", "81"},
         "The command line option --luadebugport is given twice (\"--luadebugport\" and "
         "\"--luadebugport\"); give it once."},
        {{"--console", "extra"},
         "The command line option --console takes no value (given: "
         "\"--console extra\")."},
        {{"-f", "--windowed"},
         "Both fullscreen and windowed modes were specified on the command line. Give only one "
         "of --fullscreen and --windowed (given: \"-f\" and \"--windowed\")."},
        {{"--gamescreen", "--menuscreen"},
         "Two first screens were given on the command line. Give only one of --menuscreen, "
         "--mapscreen, --gamescreen and --testscreen (given: \"--gamescreen\" and "
         "\"--menuscreen\")."},
    };
    for (const auto& [words, message] : cases) {
        const Outcome outcome = Start(words);
        EXPECT_EQ(2, outcome.status) << message;
        EXPECT_EQ(message, outcome.message);
    }
    const Outcome port = Start({"--luadebugport", "8080", "--nosound"});
    EXPECT_FALSE(port.stopped) << port.message;
}

TEST_F(CommandLineTest, TheLogNamesTheWordsAsGiven)
{
    LogCapture capture(home.Path() + "/capture.log");
    app->Parse({"/games/bumperlux", "--luadebugport", "80", "--nosound"});
    Fresh().Parse({"/games/bumperlux", "--nosound", ""});
    EXPECT_EQ(
        (std::vector<std::string>{
            "Command Line Parameters: '/games/bumperlux' '--luadebugport' '80' '--nosound' \n",
            "Command Line Parameters: '/games/bumperlux' '--nosound' '' \n"}),
        capture.LinesStartingWith("Command Line Parameters:"));
}

TEST_F(CommandLineTest, TheOptionListHoldsExactlyTheOptionsRead)
{
    const Outcome help = Start({"--help"});
    ASSERT_EQ(0, help.status);
    EXPECT_EQ("", help.message);
    // After a mistake, the same options in a few lines, each as it is written.
    const std::string summary = Start({"--bogus"}).usage;
    EXPECT_LE(SplitLines(summary).size(), 8u) << summary;
    std::multiset<std::string> summed;
    std::istringstream words(summary.substr(summary.find("Options:")));
    for (std::string word; words >> word && word[0] != '"';)
        if (word[0] == '-')
            summed.insert(word);
    std::multiset<std::string> read;
    for (const auto& option : kOptions)
        read.insert(option.first);
    EXPECT_EQ(read, summed) << summary;
    const std::vector<std::string> lines = SplitLines(help.usage);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("Usage: bumperlux [option]...\n", lines[0]);
    // The forms are the left column: after the indent, up to the gap before the help.
    std::multiset<std::string> listed;
    const std::regex form("-{1,2}[A-Za-z][A-Za-z0-9]*");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ASSERT_EQ(0u, lines[i].find("  ")) << lines[i];
        const std::string left = lines[i].substr(2, lines[i].find("  ", 2) - 2);
        for (std::sregex_iterator it(left.begin(), left.end(), form), end; it != end; ++it)
            listed.insert(it->str());
        EXPECT_LE(lines[i].size(), 80u) << lines[i];
    }
    EXPECT_EQ(read, listed);
}
