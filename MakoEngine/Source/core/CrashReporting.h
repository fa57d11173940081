#pragma once
// Crash reporting: the engine's use of the crash reporter. The reporter is installed
// once, first thing in the program entry, and stays installed; the files a report should
// carry (player cards, configuration, log) are attached as start-up learns their paths.
// Exception::Report hands an error to the reporter when it is installed, else shows it in
// a message box (standard error) after logging it. Main thread only.
//
// The installed reporter also writes a report when the program dies of a crash signal
// (a fault or an abort), with a backtrace and the files attached so far.
#include "crashrpt/CrashRpt.h"

#include <string>
#include <utility>
#include <vector>

// Installs the reporter unless an argument after the program path is "--disableCrashRpt"
// (any case). productName makes the report subject "Crash Report for <productName>";
// reports are written below reportFolder (the user's "Technical Support Files" folder).
// A second call while installed does nothing.
void InstallCrashReporter(int argc, char** argv, const std::string& productName,
                          const std::string& reportFolder);

// Removes the reporter (errors are then shown in a message box) and empties the
// attachment list, so a reporter installed later attaches only what is added after this.
// For tests and the very end of the program.
void UninstallCrashReporter();

// Appends (path, description) to the attachment list; only UninstallCrashReporter empties
// it.
void AddCrashReportFile(const std::string& path, const std::string& description);

// The attachment list in order of attaching.
const std::vector<std::pair<std::string, std::string>>& GetCrashReportFiles();

// True while the reporter is installed.
bool IsCrashReportingEnabled();

// Called by the reporter when it writes a report: attaches every file of the list, in
// order. Returns true.
bool CrashReportCallback(crashrpt::Handle handle);

// Called by the reporter when no mail program can take the report: asks in a "Notice"
// box (OK, Cancel) whether to save it. Returns true when OK was chosen.
bool CrashReportNoMailerPrompt();

// The question CrashReportNoMailerPrompt asks.
extern const char* const CRASH_REPORT_NO_MAILER_TEXT;
