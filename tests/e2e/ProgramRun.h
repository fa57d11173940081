#pragma once
// Runs the real program (build folder's bumperlux) as a child process: its standard input
// is a pipe the test writes to, its output goes to files. HOME and the XDG folders are
// whatever the calling test set (TempHome).
//
// Nothing here sleeps for a guessed time: waits end on the event they wait for (the
// program's exit, a line written to a file) or at their deadline.
#include <string>
#include <vector>

namespace bbtest {

class ProgramRun
{
public:
    explicit ProgramRun(const std::vector<std::string>& args);
    // Runs the program behind a wrapper command (e.g. {"xvfb-run", "-a"}) with the given
    // SDL video driver; an empty driver leaves SDL to choose (X11 under xvfb-run).
    ProgramRun(const std::vector<std::string>& wrapper, const std::vector<std::string>& args,
               const std::string& videoDriver);
    // Runs the program file at program (a copy of the game in a folder of its own) headless.
    ProgramRun(const std::string& program, const std::vector<std::string>& args);
    // Runs the program headless with folder as its working folder: a copy of the game's
    // folder (GameFolderCopy), which the program reads with --keepcwd.
    ProgramRun(const std::vector<std::string>& args, const std::string& folder);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Writes text to the program's standard input.
    void Send(const std::string& text);
    // Closes the program's standard input.
    void CloseInput();
    // Waits at most timeoutMs for the program to end; its exit status, or -1 when it was
    // still running (it is then killed) or died of a signal.
    int Wait(int timeoutMs = 60000);
    // Waits at most timeoutMs until the file at path holds a whole line (ended by a line
    // feed) containing text. True when it does; false at the deadline or as soon as the
    // program has ended without writing it. The file and its folders need not exist yet.
    bool WaitForLine(const std::string& path, const std::string& text, int timeoutMs = 30000);
    // WaitForLine on the game's log, and on the program's standard error (which a console
    // line can write to at once, e.g. io.stderr:write('mark\n')).
    bool WaitForLogLine(const std::string& text, int timeoutMs = 30000);
    bool WaitForErrorLine(const std::string& text, int timeoutMs = 30000);
    // WaitForLine on what the program (or its wrapper) wrote to standard output.
    bool WaitForOutputLine(const std::string& text, int timeoutMs = 30000);
    // Waits at most timeoutMs until the program is running a data file (lua/DataScript): the
    // state a stop signal meant for the file's own run must come in. A file runs under a
    // budget whose processor clock wakes it with SIGXCPU; that timer is listed in
    // /proc/<pid>/timers for exactly as long as the file runs. True when it was seen; false at
    // the deadline or once the program has ended. A test that means one file waits first for
    // the log line that comes just before that file's turn.
    bool WaitForDataFileRun(int timeoutMs = 30000);

    // The program's process id; -1 once it has been waited for.
    int GetPid() const { return m_Pid; }
    // Whether the program is still running (false once it has ended, reaped or not).
    bool IsRunning() const { return !HasEnded(); }
    // Sends the program a signal (nothing once it has been waited for).
    void Signal(int signalNumber);
    // How many files the program has open (entries of /proc/<pid>/fd); -1 when unknown.
    int CountOpenFiles() const;

    std::string Output() const;
    std::string Errors() const;

private:
    int m_Pid = -1;
    int m_PidFd = -1; // readable once the program has ended; -1 where the system has none
    int m_Input = -1;
    std::string m_OutPath;
    std::string m_ErrPath;

    // videoDriver null: the caller's SDL_VIDEODRIVER, else "dummy". folder: the program's
    // working folder; empty for the test's own.
    void Start(const std::string& program, const std::vector<std::string>& wrapper,
               const std::vector<std::string>& args, const char* videoDriver,
               const std::string& folder = std::string());
    // True once the program has ended (it is not reaped: Wait still reads its status).
    bool HasEnded() const;
    // Waits at most timeoutMs for the program to end without reaping it.
    void WaitForEnd(int timeoutMs) const;
};

// A copy of the program's folder as the game reads it with --keepcwd (the pack folder Assets
// and Site) at <home>/game; its path. A test changes the pack there before the game starts.
std::string GameFolderCopy(const std::string& home);
// Packs the copy's Assets into the package file the game reads without --nopkg
// (bumperlux.fun beside them) and removes the folder; false when the packing failed.
bool PackGameFolder(const std::string& folder);

// The game's log and configuration files, and the card of a slot (1..4), under the
// temporary home.
std::string GameLogPath();
std::string GameConfigPath();
std::string CardPath(int slot);
// The text of every crash report under the temporary home's support folder, each headed
// by its folder; "" when there is none. For failure messages.
std::string CrashReports();
// Asks the game for its screen and state through the console ("GameScreen Playing") until
// the answer starts with one of wanted (at most 300 asks, each waited for up to a second,
// and only while the program runs): the start it matched, else the last answer ("" when
// none came).
std::string AskStateUntil(ProgramRun& run, const std::vector<std::string>& wanted);
// Sends a console line, then asks the game for its current screen until it is `screen`
// (at most 240 asks of 250 ms each, and only while the program runs): true when it is.
bool ReachScreen(ProgramRun& run, const std::string& line, const std::string& screen);

} // namespace bbtest
