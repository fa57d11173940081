#pragma once
// Finds every file below a folder on disk (recursively) and names each by its bare file
// name; a file found later (deeper, or in a folder that sorts later) replaces an earlier
// one of the same name. A folder holding a file "DO_NOT_SCAN" is skipped with everything
// below it. Metadata files ("...image.cfg", "...sound.cfg", "...metadata.cfg") are not
// resources: each is applied to the files found so far, at most one per folder.
//
// Folder entries are visited in byte order of their names, so scans are the same on every
// machine. Paths may be written with '\' or '/'.
#include "resources/ResourceScanner.h"

#include <string>

class WindowsDirectoryResourceScanner : public ResourceScanner
{
public:
    // root: the folder to scan. When optional, a missing root is skipped with a log line;
    // otherwise scanning a missing root throws "Could not scan directory for metadata"
    // naming it, and a root that is no folder fails an assertion.
    explicit WindowsDirectoryResourceScanner(const std::string& root, bool optional = false);

    void Scan(ResourceInfoMap& outputList) override;
    // "Windows directory resource scanner for \"<root>\"" (root as normalised: '/'
    // separators, ending in '/').
    std::string GetDescription() override;
    bool HoldsProgramFiles() const override { return true; }

    const std::string& GetRoot() const MAKO_LIFETIMEBOUND { return m_Root; }

private:
    void DoRecursiveScan(const std::string& dirName, ResourceInfoMap& outputList);

    std::string m_Root;
    bool m_Optional;
};
