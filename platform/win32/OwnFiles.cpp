#include "win32/OwnFiles.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ownfiles {

namespace {

// Makes the folder at path unless a folder stands there (looked at first, so that nothing
// is asked to be made where a folder is): 0, or the errno value.
int MakeOrFind(const char* path, bool& madeIt)
{
    madeIt = false;
    struct stat status;
    if (::stat(path, &status) == 0 && S_ISDIR(status.st_mode))
        return 0;
    if (::mkdir(path, kFolderMode) == 0) {
        madeIt = true;
        return 0;
    }
    // Made meanwhile by another copy of the game.
    const int error = errno;
    if (::stat(path, &status) == 0 && S_ISDIR(status.st_mode))
        return 0;
    return error;
}

void CopyPath(const char* from, std::size_t length, char* to)
{
    for (std::size_t i = 0; i < length; ++i)
        to[i] = from[i];
    to[length] = '\0';
}

} // namespace

int MakeFolders(const char* path, void (*made)(const char* folder, void* context), void* context,
                char* failed)
{
    std::size_t length = 0;
    while (path[length] != '\0')
        ++length;
    if (length == 0)
        return ENOENT;
    if (length >= kMaxPath)
        return ENAMETOOLONG;
    char prefix[kMaxPath];
    for (std::size_t i = 0; i < length; ++i) {
        if (path[i] != '/' && i + 1 != length)
            continue;
        CopyPath(path, i + 1, prefix);
        bool madeIt = false;
        if (const int error = MakeOrFind(prefix, madeIt)) {
            if (failed)
                CopyPath(prefix, i + 1, failed);
            return error;
        }
        if (madeIt && made)
            made(prefix, context);
    }
    return 0;
}

int MakeNewFolder(const char* path)
{
    return ::mkdir(path, kFolderMode) == 0 ? 0 : errno;
}

int OpenNewFile(const char* path, int access, mode_t mode)
{
    return ::open(path, access | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

int PlaceNewFile(const char* temporary, const char* path)
{
    if (::renameat2(AT_FDCWD, temporary, AT_FDCWD, path, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without the exclusive rename: a second name is never made over
    // anything either.
    if (::link(temporary, path) == 0) {
        ::unlink(temporary);
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    // Nor second names (FAT): a look, then the rename.
    struct stat status;
    if (::lstat(path, &status) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(temporary, path) == 0 ? 0 : errno;
}

int WriteAll(int fd, const void* bytes, std::size_t length)
{
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        const ssize_t done = ::write(fd, next, length);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return done < 0 ? errno : EIO;
        next += done;
        length -= static_cast<std::size_t>(done);
    }
    return 0;
}

} // namespace ownfiles
