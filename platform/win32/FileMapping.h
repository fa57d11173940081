#pragma once
// Read-only file mapping: open a file, map all of it into memory, unmap and close, in the
// steps (and with the call names) the engine's mapped file reader uses, and the attribute
// query its folder scanner makes. Built over open, stat and mmap. Every failing call
// returns its failure value and leaves the reason in errno. Main thread only.
#include <cstdint>

struct KernelObject;
// A handle of an open file or of a file mapping; null is "no handle".
using KERNEL_HANDLE = KernelObject*;

const uint32_t INVALID_FILE_SIZE = 0xFFFFFFFFu;
// What GetFileAttributesA answers for a path that cannot be queried: every bit set.
const uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
// Attribute bits: the path is a folder; the path is an ordinary file.
const uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x00000010u;
const uint32_t FILE_ATTRIBUTE_NORMAL = 0x00000080u;

// FILE_ATTRIBUTE_DIRECTORY for a folder (links followed), FILE_ATTRIBUTE_NORMAL for
// anything else that exists; INVALID_FILE_ATTRIBUTES when the path is missing or cannot be
// examined.
uint32_t GetFileAttributesA(const char* path);

// Opens an existing file for reading (others may read it too); null on failure.
KERNEL_HANDLE CreateFileA(const char* path);
// The file's size in bytes; INVALID_FILE_SIZE on failure, or for a file of 4 GiB or more
// (errno = EFBIG).
uint32_t GetFileSize(KERNEL_HANDLE file);
// A read-only mapping object of the whole file (a regular file only: others fail with
// ENODEV); it stays usable after the file handle is closed. Null on failure.
KERNEL_HANDLE CreateFileMappingA(KERNEL_HANDLE file);
// Maps the whole mapping for reading and returns its first byte; null on failure. An
// empty file gives a valid pointer to no bytes.
const void* MapViewOfFile(KERNEL_HANDLE mapping);
// Unmaps a view returned by MapViewOfFile; false for anything else (errno = EINVAL).
bool UnmapViewOfFile(const void* view);
// Closes a file or mapping handle; false for null (errno = EBADF) or when closing fails.
bool CloseHandle(KERNEL_HANDLE handle);

// How many views are mapped right now (for tests).
int GetMappedViewCount();
