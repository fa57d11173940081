#include "win32/FileMapping.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct KernelObject
{
    int fd;
    uint64_t size; // mappings only
};

namespace {

std::map<const void*, size_t>& Views()
{
    static std::map<const void*, size_t>* views = new std::map<const void*, size_t>();
    return *views;
}

} // namespace

uint32_t GetFileAttributesA(const char* path)
{
    struct stat info;
    if (!path) {
        errno = EINVAL;
        return INVALID_FILE_ATTRIBUTES;
    }
    if (stat(path, &info) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

KERNEL_HANDLE CreateFileA(const char* path)
{
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return new KernelObject{fd, 0};
}

uint32_t GetFileSize(KERNEL_HANDLE file)
{
    struct stat info;
    if (!file) {
        errno = EBADF;
        return INVALID_FILE_SIZE;
    }
    if (fstat(file->fd, &info) != 0)
        return INVALID_FILE_SIZE;
    if (static_cast<uint64_t>(info.st_size) >= INVALID_FILE_SIZE) {
        errno = EFBIG;
        return INVALID_FILE_SIZE;
    }
    return static_cast<uint32_t>(info.st_size);
}

KERNEL_HANDLE CreateFileMappingA(KERNEL_HANDLE file)
{
    struct stat info;
    if (!file) {
        errno = EBADF;
        return nullptr;
    }
    if (fstat(file->fd, &info) != 0)
        return nullptr;
    if (!S_ISREG(info.st_mode)) {
        errno = ENODEV;
        return nullptr;
    }
    int fd = fcntl(file->fd, F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    return new KernelObject{fd, static_cast<uint64_t>(info.st_size)};
}

const void* MapViewOfFile(KERNEL_HANDLE mapping)
{
    if (!mapping) {
        errno = EBADF;
        return nullptr;
    }
    if (mapping->size == 0) {
        // An empty file cannot be mapped: its view is a block of its own that holds none
        // of the file's (zero) bytes.
        const void* view = new unsigned char[1]();
        Views()[view] = 0;
        return view;
    }
    void* view = mmap(nullptr, mapping->size, PROT_READ, MAP_PRIVATE, mapping->fd, 0);
    if (view == MAP_FAILED)
        return nullptr;
    Views()[view] = mapping->size;
    return view;
}

bool UnmapViewOfFile(const void* view)
{
    auto found = Views().find(view);
    if (found == Views().end()) {
        errno = EINVAL;
        return false;
    }
    if (found->second == 0)
        delete[] static_cast<const unsigned char*>(view);
    else if (munmap(const_cast<void*>(view), found->second) != 0)
        return false;
    Views().erase(found);
    return true;
}

bool CloseHandle(KERNEL_HANDLE handle)
{
    if (!handle) {
        errno = EBADF;
        return false;
    }
    int result = close(handle->fd);
    delete handle;
    return result == 0;
}

int GetMappedViewCount()
{
    return static_cast<int>(Views().size());
}
