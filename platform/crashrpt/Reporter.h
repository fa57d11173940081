#pragma once
// The reporter behind a crashrpt::Handle, shared by the report writer (CrashRpt.cpp) and
// the crash signal handler (CrashSignals.cpp). Not for users of the layer.
#include "crashrpt/CrashRpt.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace crashrpt {

// The name of the report text in every report folder.
constexpr const char* kReportFileName = "Error Report.txt";

struct Reporter
{
    FileCallback fileCallback = nullptr;
    NoMailerCallback noMailer = nullptr;
    std::string recipient;
    std::string subject;
    std::string reportFolder;
    std::vector<std::pair<std::string, std::string>> files; // (path, description)
    // The name each attached file's copy gets in a report folder, parallel to files and
    // settled when the file is attached, so a crash handler need not work it out.
    std::vector<std::string> copyNames;
    std::set<std::string> taken; // names of copyNames and the report text
};

// Makes reporter the one whose report a crash signal writes (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT), keeping the handlers that were there before the first installed
// reporter. See CrashRpt.h.
void InstallSignalHandlers(Reporter* reporter);
// Puts the earlier handlers back when reporter is the one crash signals report to.
void RemoveSignalHandlers(Reporter* reporter);

} // namespace crashrpt
