#pragma once
// What a folder holds, entry by entry, to tell what a run made or changed: each entry below
// the folder (by its relative path) with what it is, a link's text, a file's bytes, a FIFO
// or a folder. Nothing is followed or opened but plain files, so a FIFO never stalls it.
#include "support/TempHome.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace bbtest {

inline std::map<std::string, std::string> TreeOf(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).string();
        const fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status))
            tree[name] = "link to " + fs::read_symlink(it->path()).string();
        else if (fs::is_regular_file(status))
            tree[name] = "file " + ReadFile(it->path().string());
        else if (fs::is_fifo(status))
            tree[name] = "FIFO";
        else
            tree[name] = fs::is_directory(status) ? "folder" : "other";
    }
    return tree;
}

// The entries of before and after that differ (made, changed or gone).
inline std::vector<std::string> Differences(const std::map<std::string, std::string>& before,
                                            const std::map<std::string, std::string>& after)
{
    std::vector<std::string> changed;
    for (const auto& entry : after) {
        const auto was = before.find(entry.first);
        if (was == before.end() || was->second != entry.second)
            changed.push_back(entry.first);
    }
    for (const auto& entry : before)
        if (!after.count(entry.first))
            changed.push_back(entry.first);
    return changed;
}

// The names of the entries right in folder (none followed).
inline std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace bbtest
