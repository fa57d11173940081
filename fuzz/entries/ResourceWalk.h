#pragma once
// What the game does with what a scan found: every entry's bytes read through its reader,
// every entry a loader takes loaded, and every image asked for its frames. Refusals
// (Exception) are normal outcomes and are skipped.
#include <string>
#include <vector>

class ResourceManager;

namespace fuzz {

// A resource manager over the PhysFS scan of path (a folder or a package) in its own
// script state, with the game's image loader. Scans in the constructor; scanned() tells
// whether the scan succeeded.
class ScannedResources
{
public:
    explicit ScannedResources(const std::string& path);
    ~ScannedResources();
    ScannedResources(const ScannedResources&) = delete;
    ScannedResources& operator=(const ScannedResources&) = delete;

    bool Scanned() const { return m_Scanned; }
    // Why the scan ended, when it did not succeed.
    const std::string& ScanFailure() const { return m_ScanFailure; }
    // The names registered, sorted.
    std::vector<std::string> Names() const;
    // Reads every entry's bytes, then loads every entry named in names that some loader
    // accepts, asking each image for its frames.
    void ReadAndLoad(const std::vector<std::string>& names);

private:
    struct Parts;
    Parts* m_Parts;
    bool m_Scanned = false;
    std::string m_ScanFailure;
};

} // namespace fuzz
