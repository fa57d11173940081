#pragma once
// The start of every log capture of the tests.
#include "core/Log.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace bbtest {

// Points the log at path, emptied, for a capture of what is written from now on. A test
// program has no log file, so the log keeps its lines in memory for the next file it is
// pointed at: they are written out first (its folder is made when missing) and dropped with the
// file's old contents, so an earlier test's lines never show in a later test's capture.
inline void StartLogCapture(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder);
    if (TryStartLogFile(path) != 0)
        SetLogFilePath(path);
    std::ofstream(path, std::ios::trunc);
}

} // namespace bbtest
