#include "crashrpt/Attachment.h"

#include "win32/OwnFiles.h"

#include <cerrno>
#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace crashrpt {

namespace {

bool Passed(const timespec& deadline)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec > deadline.tv_sec ||
           (now.tv_sec == deadline.tv_sec && now.tv_nsec >= deadline.tv_nsec);
}

CopyOutcome Outcome(CopyOutcome::Kind kind, int error = 0, mode_t mode = 0)
{
    CopyOutcome outcome;
    outcome.kind = kind;
    outcome.error = error;
    outcome.mode = mode;
    return outcome;
}

// Reads the plain file in into the new file out, until its end: at most kMaxAttachmentBytes
// and until deadline.
CopyOutcome Transfer(int in, int out, mode_t mode, const timespec& deadline, char* buffer,
                     std::size_t size)
{
    std::size_t total = 0;
    for (;;) {
        if (Passed(deadline))
            return Outcome(CopyOutcome::OUT_OF_TIME, 0, mode);
        const ssize_t got = read(in, buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Outcome(CopyOutcome::FAILED, errno, mode);
        if (got == 0)
            return Outcome(CopyOutcome::COPIED, 0, mode);
        total += static_cast<std::size_t>(got);
        // A file that grew past the bound while it was read is as large as one that was.
        if (total > kMaxAttachmentBytes)
            return Outcome(CopyOutcome::TOO_LARGE, 0, mode);
        if (const int error = ownfiles::WriteAll(out, buffer, static_cast<std::size_t>(got)))
            return Outcome(CopyOutcome::FAILED, error, mode);
    }
}

// Copies the plain file in (status) to a new file under a temporary name beside to, then gives
// it the name to.
CopyOutcome CopyPlainFile(int in, const struct stat& status, const char* to,
                          const timespec& deadline, char* buffer, std::size_t size)
{
    const mode_t mode = status.st_mode;
    char temporary[ownfiles::kMaxPath];
    std::size_t length = 0;
    for (const char* part : {to, kPartSuffix})
        for (; *part && length + 1 < sizeof temporary; ++part)
            temporary[length++] = *part;
    temporary[length] = '\0';
    if (length + 1 == sizeof temporary)
        return Outcome(CopyOutcome::FAILED, ENAMETOOLONG, mode);
    // What is over the bound already is not read: the budget is kept for the other files.
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxAttachmentBytes)
        return Outcome(CopyOutcome::TOO_LARGE, 0, mode);
    // An open may take long (a slow disk): the budget is asked before each one.
    if (Passed(deadline))
        return Outcome(CopyOutcome::OUT_OF_TIME, 0, mode);
    const int out = ownfiles::OpenNewFile(temporary, O_WRONLY, 0600);
    if (out < 0)
        return Outcome(CopyOutcome::FAILED, errno, mode);
    CopyOutcome outcome;
    if (fchmod(out, mode & 0777) != 0)
        outcome = Outcome(CopyOutcome::FAILED, errno, mode);
    else
        outcome = Transfer(in, out, mode, deadline, buffer, size);
    // A copy the system could not finish (a failing close) is no copy.
    if (close(out) != 0 && outcome.kind == CopyOutcome::COPIED)
        outcome = Outcome(CopyOutcome::FAILED, errno, mode);
    if (outcome.kind == CopyOutcome::COPIED) {
        if (const int error = ownfiles::PlaceNewFile(temporary, to))
            outcome = Outcome(CopyOutcome::FAILED, error, mode);
    }
    // No piece of a file is kept to be taken for the whole of it.
    if (outcome.kind != CopyOutcome::COPIED)
        unlink(temporary);
    return outcome;
}

} // namespace

int CheckReportParent(const char* folder)
{
    char path[ownfiles::kMaxPath];
    std::size_t length = 0;
    while (folder[length] != '\0' && length + 1 < sizeof path)
        path[length] = folder[length], ++length;
    while (length > 1 && path[length - 1] == '/')
        --length;
    path[length] = '\0';
    struct stat status
    {
    };
    if (lstat(path, &status) != 0)
        return errno;
    if (S_ISLNK(status.st_mode))
        return ELOOP;
    return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

timespec CopyDeadline()
{
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += kCopyBudgetMs / 1000;
    deadline.tv_nsec += (kCopyBudgetMs % 1000) * 1000000;
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_nsec -= 1000000000;
        ++deadline.tv_sec;
    }
    return deadline;
}

CopyOutcome CopyAttachment(const char* from, const char* to, const timespec& deadline, char* buffer,
                           std::size_t size)
{
    if (Passed(deadline))
        return Outcome(CopyOutcome::OUT_OF_TIME);
    // Opening waits for nothing: not for a FIFO's writer, nor for a terminal to become this
    // program's own.
    const int in = open(from, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (in < 0)
        return Outcome(errno == ENOENT ? CopyOutcome::MISSING : CopyOutcome::FAILED, errno);
    struct stat status
    {
    };
    CopyOutcome outcome;
    if (fstat(in, &status) != 0)
        outcome = Outcome(CopyOutcome::FAILED, errno);
    else if (!S_ISREG(status.st_mode))
        outcome = Outcome(CopyOutcome::NOT_PLAIN, 0, status.st_mode);
    else
        outcome = CopyPlainFile(in, status, to, deadline, buffer, size);
    close(in);
    return outcome;
}

const char* ReasonText(const CopyOutcome& outcome)
{
    switch (outcome.kind) {
    case CopyOutcome::COPIED:
        return "it was copied";
    case CopyOutcome::MISSING:
        return "No such file or directory";
    case CopyOutcome::NOT_PLAIN:
        if (S_ISFIFO(outcome.mode))
            return "it is a FIFO, not a plain file";
        if (S_ISDIR(outcome.mode))
            return "it is a folder, not a plain file";
        if (S_ISCHR(outcome.mode) || S_ISBLK(outcome.mode))
            return "it is a device, not a plain file";
        if (S_ISSOCK(outcome.mode))
            return "it is a socket, not a plain file";
        return "it is not a plain file";
    case CopyOutcome::TOO_LARGE:
        static_assert(kMaxAttachmentBytes == std::size_t(16) << 20, "the text names the bound");
        return "it is larger than the 16 MiB a report copies";
    case CopyOutcome::OUT_OF_TIME:
        return "the report ran out of time";
    case CopyOutcome::FAILED:
        break;
    }
    // strerror may allocate or load a locale: the common refusals, as strerror says them.
    switch (outcome.error) {
    case ENOSPC:
        return "No space left on device";
    case EFBIG:
        return "File too large";
    case EDQUOT:
        return "Disk quota exceeded";
    case EACCES:
        return "Permission denied";
    case EPERM:
        return "Operation not permitted";
    case EIO:
        return "Input/output error";
    case ELOOP:
        return "Too many levels of symbolic links";
    case ENOTDIR:
        return "Not a directory";
    case ENAMETOOLONG:
        return "File name too long";
    case EEXIST:
        return "File exists";
    case EROFS:
        return "Read-only file system";
    case ENXIO:
        return "No such device or address";
    case EAGAIN:
        return "Resource temporarily unavailable";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return "the system refused it";
    }
}

} // namespace crashrpt
