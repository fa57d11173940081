#include "core/FileWriter.h"

#include "core/AtomicFile.h"
#include "win32/OwnFiles.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A stream over the descriptor fd (-1: a failure, errno set), which it then owns; null with
// errno set, the descriptor closed, when it cannot be made.
std::FILE* StreamOf(int fd, const char* mode)
{
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, mode);
    if (!file) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
}

FileWriter::PlaceProbe g_PlaceProbe = nullptr;

// Between a file's name and the six letters or digits of its temporary files
// (IsTemporaryFileNameOf knows them).
const char kWriterTemporarySuffix[] = ".tmp.";

// Writes all of bytes to fd; false (errno set) when the system refuses part of it.
bool WriteAll(int fd, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes a rename in folder durable. A folder that cannot be opened or synced (some file
// systems refuse) is no failure of the write, which is already done.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Six letters or digits, drawn anew at each call.
std::string RandomTail()
{
    static std::mt19937 generator(std::random_device{}() ^ static_cast<unsigned>(::getpid()));
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string tail;
    for (int i = 0; i < 6; ++i)
        tail += kLetters[generator() % (sizeof kLetters - 1)];
    return tail;
}

// Makes a new file named after base with a fresh tail, never through a link and never over
// anything (O_EXCL): its descriptor, or -1 with errno set. A new file's permissions are the
// umask's (0666 & ~umask). name gets its path.
int MakeNewFile(const std::string& base, int access, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + RandomTail();
        const int fd = ownfiles::OpenNewFile(name.c_str(), access, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes bytes to a new temporary file beside target and syncs it; its permissions are those
// of replaced when given (the file it is to replace), else the umask's. 0, or the errno value
// of the failure (no temporary file is left then). name gets its path.
int WriteTemporary(const std::string& target, const std::string& bytes, const struct stat* replaced,
                   std::string& name)
{
    const int fd = MakeNewFile(target + kWriterTemporarySuffix, O_WRONLY, name);
    if (fd < 0)
        return errno;
    bool ok = (!replaced || ::fchmod(fd, replaced->st_mode & 0777) == 0) && WriteAll(fd, bytes) &&
              ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok)
        return 0;
    ::unlink(name.c_str());
    return error != 0 ? error : EIO;
}

// A descriptor closed when it goes (-1: none).
struct Held
{
    explicit Held(int descriptor) : fd(descriptor) {}
    ~Held()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    const int fd;
};

FileWriter::Result Failure(int error, const std::string& reason)
{
    FileWriter::Result result;
    result.error = error;
    result.reason = reason.empty() ? std::strerror(error) : reason;
    return result;
}

// Why the game may not write its output over what status says stands at path; error 0 when it
// may (a plain file of this user with no other name, and place allows replacing it).
FileWriter::Result WhyNotReplace(const std::string& path, const struct stat& status,
                                 FileWriter::Place place)
{
    const char* const kLeft = ", and the game leaves what it did not make as it is";
    if (S_ISLNK(status.st_mode)) {
        std::vector<char> text(4096);
        const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
        const std::string target(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
        return Failure(ELOOP, "it is a link to \"" + target +
                                  "\"; the game never writes its own files through a link or "
                                  "over one");
    }
    if (S_ISDIR(status.st_mode))
        return Failure(EISDIR, "");
    if (!S_ISREG(status.st_mode))
        return Failure(EEXIST, std::string("it is no plain file") + kLeft);
    if (status.st_uid != ::geteuid())
        return Failure(EPERM, std::string("it belongs to another user") + kLeft);
    if (status.st_nlink > 1)
        return Failure(EMLINK, std::string("it is a second name of another file") + kLeft);
    if (place == FileWriter::NEW_ONLY)
        return Failure(EEXIST, "a file stands there already");
    return FileWriter::Result();
}

// Renames temporary to path, where nothing stood: never over what was put there meanwhile.
FileWriter::Result PlaceNew(const std::string& temporary, const std::string& path)
{
    const int error = ownfiles::PlaceNewFile(temporary.c_str(), path.c_str());
    if (error == 0)
        return FileWriter::Result();
    return Failure(error, error == EEXIST ? "something was put at its place meanwhile" : "");
}

// Renames temporary over path, where the file whose status is old stood (the caller holds it
// open, so its identity is its own): only when it still stands there. The two are swapped at
// once and the old one looked at afterwards, so nothing put there meanwhile is ever replaced.
FileWriter::Result ReplaceOwn(const std::string& temporary, const std::string& path,
                              const struct stat& old)
{
    const auto same = [&old](const std::string& at) {
        struct stat now;
        return ::lstat(at.c_str(), &now) == 0 && now.st_dev == old.st_dev &&
               now.st_ino == old.st_ino;
    };
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) == 0) {
        if (same(temporary)) {
            ::unlink(temporary.c_str());
            return FileWriter::Result();
        }
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE);
        return Failure(EEXIST, "something else was put at its place meanwhile");
    }
    if (errno != EINVAL && errno != ENOSYS)
        return Failure(errno, "");
    if (!same(path))
        return Failure(EEXIST, "something else was put at its place meanwhile");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return Failure(errno, "");
    return FileWriter::Result();
}

} // namespace

FileWriter::Result FileWriter::WriteOutput(const std::string& path, const std::string& bytes,
                                           Place place)
{
    if (const int fault = GetInjectedWriteFault())
        return Failure(fault, "");
    // What stands at the place is held open (never through a link) until the write is done, so
    // that no file made meanwhile can take its identity: the replacement's look afterwards
    // tells it from anything put there since.
    const Held held(::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat old;
    const bool replacing = held.fd >= 0 && ::fstat(held.fd, &old) == 0;
    if (!replacing && errno != ENOENT)
        return Failure(errno, "");
    if (replacing) {
        Result refused = WhyNotReplace(path, old, place);
        if (!refused.Ok())
            return refused;
    }
    std::string temporary;
    if (const int error = WriteTemporary(path, bytes, replacing ? &old : nullptr, temporary))
        return Failure(error, "");
    if (g_PlaceProbe)
        g_PlaceProbe(path);
    Result result = replacing ? ReplaceOwn(temporary, path, old) : PlaceNew(temporary, path);
    if (!result.Ok()) {
        ::unlink(temporary.c_str());
        return result;
    }
    SyncFolder(FolderOf(path));
    return result;
}

int FileWriter::AppendOutput(const std::string& path, bool create, bool empty)
{
    return AppendOutput(path.c_str(), create, empty);
}

int FileWriter::AppendOutput(const char* path, bool create, bool empty)
{
    const int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                      (create ? O_CREAT : 0);
    const int fd = ::open(path, flags, 0666);
    if (fd < 0)
        return -1;
    struct stat status;
    int error = ::fstat(fd, &status) != 0 ? errno : 0;
    if (error == 0 && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)))
        error = EINVAL;
    else if (error == 0 && S_ISREG(status.st_mode) && status.st_nlink > 1)
        error = EMLINK;
    else if (error == 0 && empty && S_ISREG(status.st_mode) && ::ftruncate(fd, 0) != 0)
        error = errno;
    if (error == 0)
        return fd;
    ::close(fd);
    errno = error;
    return -1;
}

void FileWriter::SetPlaceProbe(PlaceProbe probe)
{
    g_PlaceProbe = probe;
}

std::FILE* FileWriter::OpenScratchFile(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // A file system without nameless files: a new file, its name removed at once.
        std::string name;
        fd = MakeNewFile(folder + (folder.empty() || folder.back() == '/' ? "" : "/") +
                             "scratch.tmp.",
                         O_RDWR, name);
        if (fd >= 0)
            ::unlink(name.c_str());
    }
    return StreamOf(fd, "w+");
}

std::FILE* FileWriter::AppendOutputStream(const std::string& path, bool create, bool empty)
{
    return StreamOf(AppendOutput(path, create, empty), "a");
}

int FileWriter::ReplaceFollowed(const std::string& target, const std::string& bytes,
                                const std::function<int()>& beforeRename)
{
    struct stat old;
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return EISDIR;
    std::string temporary;
    const bool keepMode = replacing && S_ISREG(old.st_mode);
    if (const int error = WriteTemporary(target, bytes, keepMode ? &old : nullptr, temporary))
        return error;
    int error = beforeRename ? beforeRename() : 0;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(FolderOf(target));
    return 0;
}
