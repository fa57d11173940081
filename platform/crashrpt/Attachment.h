#pragma once
// The one copier of a report's attachments, for the report an error asks for and for the
// one a crash signal writes: it runs in a signal handler, so it allocates nothing and calls
// only the system. An attachment is copied only when it is a plain file (a link is read
// through, as the game reads the player's files), opened without waiting (O_NONBLOCK, so a
// FIFO never holds it) and looked at on the open descriptor before anything is read; at most
// kMaxAttachmentBytes of it, and only until the report's deadline, which is asked before
// each open and each read. A copy is written under a temporary name (kPartSuffix) and given
// its own only when whole; one that cannot be made whole is removed, so what stands in a
// report folder under its name is whole, and the outcome says why. Not for users of the
// layer.
#include "crashrpt/CrashRpt.h"

#include <cstddef>
#include <ctime>

#include <sys/types.h>

namespace crashrpt {

// How long all the copies of one report may take, in milliseconds: the program that crashed
// ends within a few seconds whatever stands in an attachment's place.
constexpr long kCopyBudgetMs = 2000;

// What became of one attachment.
struct CopyOutcome
{
    enum Kind {
        COPIED,      // copied whole
        MISSING,     // there is no such file (ENOENT)
        NOT_PLAIN,   // a FIFO, a device, a folder or a socket stands there; mode says which
        TOO_LARGE,   // over kMaxAttachmentBytes
        OUT_OF_TIME, // the report's deadline came first
        FAILED,      // the system refused to open, read or write it; error says why
    };
    Kind kind = FAILED;
    int error = 0;   // the errno value for FAILED
    mode_t mode = 0; // the file's type and permissions, when it was opened
};

// The suffix of a report's file while it is written: nothing stands under its own name
// before it is whole.
constexpr const char* kPartSuffix = ".part";

// The most report folders kept below the report folder: a new report removes the oldest the
// reporter made beyond kKeptReports - 1.
constexpr int kKeptReports = 5;

// Whether reports may be made in folder: it must be a folder and no link (looked at with
// lstat, a trailing '/' left off, so no link is followed there). Folders above it are taken
// as the system resolves them. 0, or ELOOP for a link, ENOTDIR for anything else that is no
// folder, or the errno value of the look.
int CheckReportParent(const char* folder);

// A moment of the monotonic clock, kCopyBudgetMs from now.
timespec CopyDeadline();

// Copies the file at from to a new file at to (never through a link, never over anything),
// which gets the mode of the file it copies. buffer (size bytes) is the copier's to use.
// Unless the outcome is COPIED, nothing is left at to.
CopyOutcome CopyAttachment(const char* from, const char* to, const timespec& deadline, char* buffer,
                           std::size_t size);

// Why an attachment was not copied, as the report lists it after "not copied: "
// ("it is a FIFO, not a plain file", "No space left on device"). A text of the program's.
const char* ReasonText(const CopyOutcome& outcome);

} // namespace crashrpt
