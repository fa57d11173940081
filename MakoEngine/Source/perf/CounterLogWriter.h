#pragma once
// Writes one tab-separated performance log. Each frame's values are written as one line
// into a temporary file at once (BeginLine, the values, EndLine); that file has no name in
// the folder, so it goes with the process whatever happens. When measuring stops the log
// file is made from a header line of column names followed by every frame line
// (BeginFinalization, the names, EndFinalization), and the temporary file is closed.
//
// Values: integers as "%d", doubles as "%f" (a value that is not finite is written as 0),
// names as "%s"; a tab before every value but the first of a line; lines end with "\n".
//
// Files go under the documents folder, never the program's folder. A log is only written
// when at least one frame line was measured, so an empty measuring period leaves an earlier
// log alone. The log file is written whole or not at all, as the game's own output
// (core/FileWriter.h: never through a link, nor over a file the game did not make): failing to
// create or write a file is logged naming the file and the reason, the period's lines are
// dropped and an earlier log stays; the game goes on. Calling the operations out of order raises
// assertion failures.
#include <cstdio>
#include <string>

class CounterLogWriter
{
public:
    enum State {
        Idle = 1,
        WritingLineOfPerfData = 2,
        WritingHeaders = 3,
    };

    CounterLogWriter();
    // Closes the files and deletes a temporary file that was never finalised.
    ~CounterLogWriter();
    CounterLogWriter(const CounterLogWriter&) = delete;
    CounterLogWriter& operator=(const CounterLogWriter&) = delete;

    // Starts a frame line (requires Idle: "m_State == Idle"). The temporary file is made
    // on the first line of a period.
    void BeginLine();
    void WriteInt(int value);
    void WriteDouble(double value);
    void WriteString(const std::string& value);
    // Ends the frame line (requires a line: "m_State == WritingLineOfPerfData").
    void EndLine();

    // Starts the log file at path (requires Idle). Returns false, leaving any file at path
    // untouched, when no frame line was measured in this period. Only after true do the
    // header values and EndFinalization follow.
    bool BeginFinalization(const std::string& path);
    // Ends the header line and replaces the log with it and every frame line, whole, or
    // logs why it could not and keeps the old log; deletes the temporary file (requires
    // "m_State == WritingHeaders").
    void EndFinalization();

    // Whether frame lines of the current period wait in the temporary file.
    bool HasData() const { return m_TempFile != nullptr; }
    State GetState() const { return m_State; }

private:
    void OpenTempFile();
    void DiscardTempFile();
    void WriteValue(const char* first, const char* later, ...);

    std::FILE* m_TempFile;
    std::string m_FinalPath;
    std::string m_Header; // the column names of the log being finalised
    bool m_ColumnStarted;
    State m_State;
    bool m_TempFailed; // the temporary file could not be made in this period
};
