#pragma once
// A virtual X server (Xvfb) for one test, on a display number the server picks itself and
// reports when it is ready (-displayfd): two test runs on one machine, or two tests of
// one run, never pick the same display. Stopped and reaped when the object dies.
#include <string>

namespace bbtest {

class XvfbServer
{
public:
    // Whether Xvfb is installed.
    static bool IsInstalled();

    // Starts the server with one screen of the given geometry ("1024x768x24"), its output in
    // logPath, and waits (at most timeoutMs) until it takes connections.
    XvfbServer(const std::string& screen, const std::string& logPath, int timeoutMs = 30000);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The display to connect to (":N"); "" when the server did not start.
    const std::string& GetDisplay() const { return m_Display; }

private:
    int m_Pid = -1;
    std::string m_Display;
};

} // namespace bbtest
