#pragma once
// The trace of the DirectDraw wrapper (CDXScreen, CDXSurface). One global log object,
// built before the program's main code runs, sends each line to the targets whose bits
// are set. At construction the target is the file "cdxYYYYMMDDhhmmss.log" (local time) in
// the documents folder (never the program's folder, which may be read-only); the application routes
// the trace into the engine log when it opens its own log (callback, target CDXLOG_CALLBACK only).
// Lines carry the milliseconds since the log was built. Main thread only.
#include <cstdint>
#include <ctime>
#include <string>

class CDXScreen;

enum CDXLogTarget : std::uint32_t {
    CDXLOG_FILE = 1,
    CDXLOG_STDOUT = 2,
    CDXLOG_STDERR = 4,
    CDXLOG_COM1 = 8, // serial and parallel ports: there are none here; lines are dropped
    CDXLOG_COM2 = 16,
    CDXLOG_LPT1 = 32,
    CDXLOG_LPT2 = 64,
    CDXLOG_SCREEN = 128, // the last five lines, kept for drawing on the front buffer
    CDXLOG_DEBUGGER = 0x200,
    CDXLOG_CALLBACK = 0x400,
};

class CDXLog
{
public:
    using Callback = void (*)(const char* line);
    static const int kScreenLines = 5;
    static const int kLineLength = 256;

    static CDXLog& Get();

    void SetTargets(std::uint32_t targets) { m_Targets = targets; }
    std::uint32_t GetTargets() const { return m_Targets; }
    void SetCallback(Callback callback) { m_Callback = callback; }
    // Level 2 lets the verbose lines through.
    void SetLevel(int level) { m_Level = level; }
    int GetLevel() const { return m_Level; }
    // The screen whose front buffer the on-screen output would draw on (not owned).
    void SetScreen(CDXScreen* screen) { m_Screen = screen; }
    const std::string& GetFileName() const MAKO_LIFETIMEBOUND { return m_FileName; }

    // Sends the text unchanged to every target set.
    void Write(const char* text);
    // "CDX: <ms>: <text>\n"; formatted lines are cut to 256 characters.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // As Log, only at level 2.
    void LogVerbose(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The on-screen ring: slot i of the last five lines (oldest overwritten).
    const char* GetScreenLine(int slot) const MAKO_LIFETIMEBOUND { return m_ScreenLines[slot]; }

    // "cdx%.4d%.2d%.2d%.2d%.2d%.2d.log" for the local time.
    static std::string MakeFileName(const std::tm& localTime);

private:
    CDXLog();
    void WriteScreen(const char* text);
    // Appends text to the log file. The first failure (a full disk, a read-only folder) is
    // said once on standard error and ends the file target: later lines go only to the
    // other targets, so a refused file never costs a retry per line.
    void AppendToFile(const char* text);
    std::uint32_t MillisecondsSinceStart() const;

    CDXScreen* m_Screen = nullptr;
    std::uint32_t m_Targets = CDXLOG_FILE;
    int m_Level = 1;
    std::uint64_t m_StartTick = 0;
    std::string m_FileName;
    Callback m_Callback = nullptr;
    char m_ScreenLines[kScreenLines][kLineLength] = {};
    int m_NextScreenLine = 0;
    bool m_FileFailed = false;
};
