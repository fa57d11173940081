#pragma once
// Adds a folder or an archive (the game's package file) to the PhysFS search path and
// finds every file in the merged search path (see PhysFSManager). Files are named by their
// bare file names; a folder's own file replaces one of the same name from its subfolders,
// with a warning. Only files named exactly "metadata.cfg" are metadata files here.
#include "resources/ResourceScanner.h"

#include <string>

class PhysFSResourceScanner : public ResourceScanner
{
public:
    // Mounts path in front of the paths mounted before. A path that cannot be mounted (a
    // missing or damaged package) throws ResourceLoadError naming it.
    explicit PhysFSResourceScanner(const std::string& path);
    ~PhysFSResourceScanner() override;

    void Scan(ResourceInfoMap& outputList) override;
    // "PhysicsFS resource scanner: \"<path>\""
    std::string GetDescription() override;

private:
    std::string m_Path;
};
