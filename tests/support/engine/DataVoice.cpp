#include "support/engine/DataVoice.h"

#include "core/Utf8.h"

#include <sstream>
#include <utility>

namespace bbtest {

namespace {

// The words of a log line that speak of a level's data, or of a file of the pack the game
// mends or plays without.
const char* const kDataMarks[] = {"Level \"",
                                  "level \"",
                                  "Brick entry \"",
                                  "brick entry \"",
                                  "the metadata file \"",
                                  "Warning: the resource \"",
                                  "Warning: the font "};

// The controller's line for a level it refuses to build: the level check names every such
// refusal in its own words ("the build throws: <the same reason>").
const char kRefusal[] = "LoadingLevel: level \"";
const char kRefusalWords[] = "\" could not be built: ";

// What the log writes after an entry it cut for its length.
const char kCutMark[] = " [cut: the entry held ";

} // namespace

DataVoice::DataVoice()
{
    m_Previous = DataReport::SetListener([this](const DataIssue& issue) {
        // As the log writes it: a warning after "Warning: ", up to its first NUL, bytes that
        // are no character escaped; a text of several lines (from a reporter that did not
        // fold them) as several.
        std::string text = (issue.warning ? "Warning: " : "") + issue.ToString();
        text = Utf8::EscapeInvalid(text.substr(0, text.find('\0')));
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            m_Reported.insert(line);
        if (m_Previous)
            m_Previous(issue);
    });
}

DataVoice::~DataVoice()
{
    DataReport::SetListener(std::move(m_Previous));
}

bool DataVoice::IsDataLine(const std::string& line)
{
    for (const char* mark : kDataMarks)
        if (line.find(mark) != std::string::npos)
            return true;
    return false;
}

bool DataVoice::WasReported(const std::string& line) const
{
    return m_Reported.count(line) || (line.compare(0, sizeof kRefusal - 1, kRefusal) == 0 &&
                                      line.find(kRefusalWords) != std::string::npos);
}

std::string DataVoice::Faults(const std::string& log) const
{
    std::string faults;
    int shown = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        std::string why;
        if (line.find("Assertion failed") != std::string::npos)
            why = "an assertion was reached: ";
        else if (IsDataLine(line) && line.find(kCutMark) != std::string::npos)
            why = "a report longer than the log's line: ";
        else if (IsDataLine(line) && !WasReported(line))
            why = "logged about level data, not through the reporter: ";
        if (why.empty())
            continue;
        if (++shown > 5)
            return faults + "...\n";
        faults += why + line.substr(0, 400) + "\n";
    }
    return faults;
}

} // namespace bbtest
