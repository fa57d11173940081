#pragma once
// Lists the resources of one source (the program's embedded files, a folder tree, the
// PhysFS search path) and gives each a FileReader. Scanners are owned by the resource
// manager and run by ResourceManager::ScanAll in the order they were added.
#include "resources/ResourceInfo.h"

#include <memory>
#include <string>
#include <unordered_map>

// The output of one scan: resource name -> entry (owned). Names are unique within a map.
using ResourceInfoMap = std::unordered_map<std::string, std::unique_ptr<ResourceInfo>>;

// A fresh, empty output map (100 buckets to start with).
ResourceInfoMap MakeResourceInfoMap();

class ResourceScanner
{
public:
    virtual ~ResourceScanner() = default;

    // Adds one unloaded entry per resource found under its resource name (its bare file
    // name).
    virtual void Scan(ResourceInfoMap& outputList) = 0;
    virtual std::string GetDescription() = 0;
    // Whether the files found are the program's own (its embedded files and its folders)
    // rather than the asset pack's: only those are ever run as the program's scripts.
    virtual bool HoldsProgramFiles() const { return false; }

    // Applies one metadata file to the entries of a scan: runs the file (Lua text calling
    // `Metadata { ["file name"] = { key = value, ... }, ... }`) in the current resource
    // manager's script state and gives each named entry of outputList its table. Every pack
    // format's scan applies its metadata here, and a file that fails never ends the scan:
    //  - a file that cannot be read or run (a script error, past its budget, a function
    //    left in its tables), or that replaces its table of entries, gives no entry
    //    metadata: the folder's pictures and sounds are read as plain files of one frame;
    //  - an entry named by anything but a string, holding anything but a table, or naming
    //    no file of the folder is left out, and the other entries are applied.
    // Either is said once, naming the file, through DataReport::WarnOfPack (so the level
    // check names it too); a stop asked for still ends the scan (WorkSpent), and the
    // program's own mistakes (a failed check) pass on.
    static void ProcessMetadataFile(ResourceInfo& metaInfo, ResourceInfoMap& outputList);

    // Whether a file name is a metadata file: it ends, case-sensitively, in "image.cfg",
    // "sound.cfg" or "metadata.cfg".
    static bool IsMetadataFile(const std::string& fileName);
};
