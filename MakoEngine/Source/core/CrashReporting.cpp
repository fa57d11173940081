#include "core/CrashReporting.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "win32/MessageBox.h"

#include <boost/format.hpp>
#include <strings.h>

#include <cstdio>

namespace {

struct CrashReporting
{
    crashrpt::Handle handle = nullptr;
    std::vector<std::pair<std::string, std::string>> files;
};

CrashReporting& TheCrashReporting()
{
    static CrashReporting* state = new CrashReporting(); // lives until the process ends
    return *state;
}

bool IsDisabledByCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] && strcasecmp(argv[i], "--disableCrashRpt") == 0)
            return true;
    }
    return false;
}

// The message as one line: its line breaks become spaces, and a very long one is cut.
std::string OneLine(const std::string& message)
{
    const std::size_t kLongest = 500;
    std::string line;
    for (char c : message) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
        if (c != ' ' || (!line.empty() && line.back() != ' '))
            line += c;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    if (line.size() > kLongest)
        line = line.substr(0, kLongest) + "...";
    return line.empty() ? "an error with no message" : line;
}

} // namespace

const char* const CRASH_REPORT_NO_MAILER_TEXT =
    "We were unable to automatically detect an application that could be\n"
    "used to send e-mail.  If you would still like to help us diagnose\n"
    "the cause of the error, we can save the error report to a location\n"
    "of your choosing.  This report can then be e-mailed to us manually.\n"
    "\n"
    "To save the report, press OK.  Otherwise, press Cancel to exit.\n";

void InstallCrashReporter(int argc, char** argv, const std::string& productName,
                          const std::string& reportFolder)
{
    CrashReporting& state = TheCrashReporting();
    if (state.handle || IsDisabledByCommandLine(argc, argv))
        return;
    std::string subject = boost::str(boost::format("Crash Report for %1%") % productName);
    state.handle = crashrpt::Install(&CrashReportCallback, "", subject, &CrashReportNoMailerPrompt,
                                     reportFolder);
    // A crash report cannot run the file callback, so the reporter holds the files as well.
    for (const auto& file : state.files)
        crashrpt::AddFile(state.handle, file.first, file.second);
}

void UninstallCrashReporter()
{
    crashrpt::Uninstall(TheCrashReporting().handle);
    TheCrashReporting().handle = nullptr;
    TheCrashReporting().files.clear();
}

void AddCrashReportFile(const std::string& path, const std::string& description)
{
    TheCrashReporting().files.emplace_back(path, description);
    if (TheCrashReporting().handle)
        crashrpt::AddFile(TheCrashReporting().handle, path, description);
}

const std::vector<std::pair<std::string, std::string>>& GetCrashReportFiles()
{
    return TheCrashReporting().files;
}

bool IsCrashReportingEnabled()
{
    return TheCrashReporting().handle != nullptr;
}

bool CrashReportCallback(crashrpt::Handle handle)
{
    for (const auto& file : TheCrashReporting().files)
        crashrpt::AddFile(handle, file.first, file.second);
    return true;
}

bool CrashReportNoMailerPrompt()
{
    Log("%s", CRASH_REPORT_NO_MAILER_TEXT);
    return MessageBoxA(nullptr, CRASH_REPORT_NO_MAILER_TEXT, "Notice",
                       MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

void Exception::Report() const
{
    std::string text = ToString();
    Log("%s\n", text.c_str());
    if (IsCrashReportingEnabled()) {
        // The report stands in for a message box the user would have read: the reason is
        // said on standard error too, in one line, before the line naming the report.
        std::fprintf(stderr, "Error: %s\n", OneLine(GetMessage()).c_str());
        crashrpt::GenerateErrorReport(TheCrashReporting().handle, text);
        return;
    }
    MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONHAND);
}
