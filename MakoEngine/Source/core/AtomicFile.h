#pragma once
// Writing and setting aside the files the user would miss (configuration, player cards).
// A file is written whole to a temporary file in the same folder and renamed over the old
// one, so a crash or a full disk never leaves half a file behind.
#include <string>

// Replaces the file at path with text. On failure the old file (if any) is untouched, the
// temporary file is removed, and Exception "Could not write file:\nfile = %1%\nerror = %2%"
// is raised with the path and the system's error text.
void WriteFileAtomically(const std::string& path, const std::string& text);

// Renames the file at path to path + ".bad" (replacing an older one) so that it is kept
// for the user but no longer read, and logs a warning naming both files and the reason.
// Returns whether the rename succeeded; a failure is logged, never raised.
bool KeepFileAside(const std::string& path, const std::string& reason);
