#include "crashrpt/Attachment.h"

#include "win32/OwnFiles.h"

#include <cerrno>

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

// Writes all of length bytes; 0, or the errno value of the refusal.
int WriteAll(int fd, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t done = write(fd, bytes, length);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return done < 0 ? errno : EIO;
        bytes += done;
        length -= static_cast<std::size_t>(done);
    }
    return 0;
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
        if (const int error = WriteAll(out, buffer, static_cast<std::size_t>(got)))
            return Outcome(CopyOutcome::FAILED, error, mode);
    }
}

} // namespace

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
    else {
        const int out = ownfiles::OpenNewFile(to, O_WRONLY, 0600);
        if (out < 0) {
            outcome = Outcome(CopyOutcome::FAILED, errno, status.st_mode);
        } else {
            if (fchmod(out, status.st_mode & 0777) != 0)
                outcome = Outcome(CopyOutcome::FAILED, errno, status.st_mode);
            else
                outcome = Transfer(in, out, status.st_mode, deadline, buffer, size);
            if (close(out) != 0 && outcome.kind == CopyOutcome::COPIED)
                outcome = Outcome(CopyOutcome::FAILED, errno, status.st_mode);
            // No piece of a file is kept to be taken for the whole of it.
            if (outcome.kind != CopyOutcome::COPIED)
                unlink(to);
        }
    }
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
