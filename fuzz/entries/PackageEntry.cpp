// A package file (a zip archive, possibly damaged) mounted as the game mounts its package:
// scanned (its metadata files run), every entry read, every picture loaded.
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "entries/ResourceWalk.h"

namespace fuzz {

void RunPackage(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    const std::string path = ScratchFolder() + "package.fun";
    WriteScratchFile(path, data, size);
    ScannedResources resources(path);
    if (!resources.Scanned())
        return;
    resources.ReadAndLoad(resources.Names());
}

} // namespace fuzz
