#pragma once
// Runs the real program (build folder's bumperlux) as a child process: its standard input
// is a pipe the test writes to, its output goes to files. HOME and the XDG folders are
// whatever the calling test set (TempHome).
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

    std::string Output() const;
    std::string Errors() const;

private:
    int m_Pid = -1;
    int m_Input = -1;
    std::string m_OutPath;
    std::string m_ErrPath;

    // videoDriver null: the caller's SDL_VIDEODRIVER, else "dummy".
    void Start(const std::vector<std::string>& wrapper, const std::vector<std::string>& args,
               const char* videoDriver);
};

// The game's log and configuration files under the temporary home.
std::string GameLogPath();
std::string GameConfigPath();

} // namespace bbtest
