#pragma once
// The developer's Lua shell on the text console. Lines typed into the console (or piped
// into it, so a script can drive the game) run in the engine's Lua state; whatever a line
// returns is handed to the script function print. A line whose last non-blank character
// is a backslash continues on the next line. A line that fails (a script error, a failed
// check in a native function) has its error written to the log, and the shell goes on
// with the next line. The standard output is flushed after every line, so what a line
// prints reaches a pipe at once.
//
// The application makes one shell during start-up, after the configuration, and calls
// Update once per main-loop pass; it passes the console's descriptor (STDIN_FILENO) when
// the console is enabled ("--console", property enableConsole), and -1 otherwise, so the
// standard input of a game started without it is never read. Main thread only.
#include "luaplus/LuaPlus.h"
#include "win32/ConsoleInput.h"

#include <memory>
#include <string>

class Shell
{
public:
    // state is borrowed and must outlive the shell; inputFd is borrowed, -1 for none.
    explicit Shell(LuaPlus::LuaState* state, int inputFd = -1);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Takes whatever waits on the console without blocking and handles it as typed keys.
    // When the input ends, a last line without a line end is run, and the console is no
    // longer read.
    void Update();

    // Handles bytes as typed keys: a line feed ends the line (carriage returns are
    // ignored), backspace (8) or delete (127) drops the line's last character, anything
    // else is added to the line.
    void HandleInput(const std::string& bytes);

    // Cuts a continued line before its trailing backslash and adds one blank. The line's
    // last non-blank character must be a backslash (else assertion failure "false").
    void TrimLine();

    // Runs the current line as a Lua chunk and prints its results with the script
    // function print, in one call. Errors are raised to the caller with the Lua stack as
    // it was.
    void EvaluateLine();

    // The line typed so far.
    const std::string& GetLine() const MAKO_LIFETIMEBOUND { return m_Line; }

private:
    void HandleKey(char key);
    void EndLine();

    LuaPlus::LuaState* m_LuaState;
    std::string m_Line;
    std::unique_ptr<ConsoleInput> m_Input; // null when there is no console to read
};
