#pragma once
// The crash reporter. Once installed it collects the files a report should carry and,
// when the program reports an error, writes a report folder: the error text with the
// list of attachments in "Error Report.txt", and a copy of every attached file that
// exists. The folder is made below the report folder given at installation, named after
// the moment of the report ("Error Report 2026-03-01 14-05-09", with " (2)" and so on when
// that name is taken). Nothing is sent anywhere; where the report went is written to
// standard error. A report is whole or not there: each of its files gets its name only when
// whole, and a report whose text cannot be written is removed, standard error saying so.
// The report folder must be a folder, not a link. Only the newest few reports are kept:
// installing a reporter and each report remove the oldest the reporter made beyond them.
//
// An installed reporter also catches the signals of a crash (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT): it writes a report folder the same way, with the signal and a
// backtrace as its text and copies of the files attached so far (the file callback is not
// called then; further crash signals wait until it is written), and hands the signal on to the
// handler that was there before the first reporter was installed (normally the default action,
// which ends the program). While several reporters live, the one installed last handles crashes;
// uninstalling it puts the earlier handlers back.
#include <cstddef>
#include <string>

namespace crashrpt {

// The most a copy of an attached file may hold: the largest card or configuration the game
// reads (the engine holds its own limit to this one). A file over it, such as a log grown
// past it, is listed as too large rather than copied in part.
constexpr std::size_t kMaxAttachmentBytes = std::size_t(16) << 20;

struct Reporter;
using Handle = Reporter*;

// Called when a report is generated, before it is written, so the program can attach its
// files (through AddFile). Receives the handle; returns true to go on with the report.
using FileCallback = bool (*)(Handle handle);
// Called when the report cannot be handed to a mail program; returns true when the user
// wants the report saved. This reporter always saves, so it never calls it.
using NoMailerCallback = bool (*)();

// Makes a reporter. recipient and subject head the report text; reportFolder is where
// report folders are made (created when the first report is written). Never fails here:
// problems writing a report are found when it is generated. Release it with Uninstall.
Handle Install(FileCallback fileCallback, const std::string& recipient, const std::string& subject,
               NoMailerCallback noMailer, const std::string& reportFolder);

// Releases a reporter made by Install; null is ignored.
void Uninstall(Handle handle);

// Attaches a file to the reports of handle. The same path attached twice is kept once
// (the first description stays). The file need not exist yet; it is read when a report is
// written.
void AddFile(Handle handle, const std::string& path, const std::string& description);

// Writes a report with errorText (may be empty) and returns the full path of its folder,
// or "" when the folder could not be made or the report text could not be written whole
// (the file and the reason go to standard error, and the folder is removed). A file that
// is missing, or cannot be copied (no half copy is kept), is listed as such; the report is
// still written.
std::string GenerateErrorReport(Handle handle, const std::string& errorText);

} // namespace crashrpt
