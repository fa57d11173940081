#pragma once
// Version information of program files. On this platform a program carries no version
// block in its file; the block is built into this layer from the build's version number, and
// it belongs to the running program: a file has version information exactly when it is the
// running program's own executable (by resolved path). The block holds one translation,
// US English with the Unicode code page (0x0409, 0x04b0), and the texts "FileVersion" and
// "ProductVersion" ("<major>.<minor>.<patch>.0") and "ProductName".
//
// Failures set errno: ENOENT for a file that does not exist, ENODATA for a file without
// version information, EINVAL for bad arguments.

// Size in bytes of the file's version block, 0 when it has none. handle is set to 0.
unsigned GetFileVersionInfoSizeA(const char* fileName, unsigned* handle);

// Copies the file's version block into data (size bytes, at least the size answered above).
// Returns nonzero on success.
int GetFileVersionInfoA(const char* fileName, unsigned handle, unsigned size, void* data);

// Finds a value in a block copied by GetFileVersionInfoA. subBlock is
// "\\VarFileInfo\\Translation" (value: the translation table, pairs of 16-bit language and
// code page) or "\\StringFileInfo\\<language and code page as 8 hex digits>\\<name>" (value:
// the zero-terminated text; length in characters, terminator included). value points into
// block. Returns nonzero when found.
int VerQueryValueA(const void* block, const char* subBlock, void** value, unsigned* length);
