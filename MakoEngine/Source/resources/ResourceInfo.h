#pragma once
// One entry of the resource registry: where a named resource's bytes come from, its
// metadata, and the loaded resource once a loader made it. Created by scanners (and by
// script assignments to `Resources`), then owned by the resource manager.
#include "luaplus/LuaPlus.h"
#include "resources/ResourceType.h"

#include <memory>
#include <string>

class FileReader;
class Resource;

class ResourceInfo
{
public:
    // An unloaded entry (type RESOURCE_UNKNOWN, no resource, nil metadata) reading its
    // bytes at location `name` through reader (owned; null for script-made tables).
    ResourceInfo(const std::string& name, std::unique_ptr<FileReader> reader);
    // Destroys the loaded resource first, then the reader (a resource may point into the
    // reader's bytes), then drops the metadata reference.
    ~ResourceInfo();
    ResourceInfo(const ResourceInfo&) = delete;
    ResourceInfo& operator=(const ResourceInfo&) = delete;

    // The location handed to the reader: a file path, an embedded file's name, or "" for
    // a script-made table.
    std::string GetName() const { return m_Name; }
    const std::string& Name() const MAKO_LIFETIMEBOUND { return m_Name; }

    Resource* GetResource() const MAKO_LIFETIMEBOUND { return m_Resource.get(); }
    // Takes ownership of resource (replacing and destroying an earlier one).
    void SetResource(Resource* resource);
    int GetType() const { return m_Type; }
    void SetType(int type) { m_Type = type; }

    FileReader* GetReader() const MAKO_LIFETIMEBOUND { return m_Reader.get(); }

    // The metadata table of a metadata file (nil when none), and the name of the file that
    // gave it ("" when a script or a test set it), for messages about its keys.
    const LuaPlus::LuaObject& GetMetadata() const MAKO_LIFETIMEBOUND { return m_Metadata; }
    const std::string& GetMetadataFile() const MAKO_LIFETIMEBOUND { return m_MetadataFile; }
    void SetMetadata(const LuaPlus::LuaObject& metadata, const std::string& file = std::string())
    {
        m_Metadata = metadata;
        m_MetadataFile = file;
    }

    // Whether the entry is one of the program's own files (its embedded files, its folders),
    // set by the resource manager for the scanners that hold them; a file of the asset pack
    // and a script-made table are not. Only such a file is ever run as the program's script.
    bool IsProgramFile() const { return m_ProgramFile; }
    void SetProgramFile(bool programFile) { m_ProgramFile = programFile; }

    // Number of acquisitions; starts at 0 and only grows (diagnostics only).
    int GetAcquireCount() const { return m_AcquireCount; }
    void IncrementAcquireCount() { ++m_AcquireCount; }
    // When the entry was last acquired, as the resource manager counts its acquisitions (0:
    // never): what was used longest ago is let go first when the budget is full.
    unsigned long long GetLastUse() const { return m_LastUse; }
    void SetLastUse(unsigned long long use) { m_LastUse = use; }

private:
    std::unique_ptr<Resource> m_Resource;
    int m_Type = RESOURCE_UNKNOWN;
    std::unique_ptr<FileReader> m_Reader;
    std::string m_Name;
    LuaPlus::LuaObject m_Metadata;
    std::string m_MetadataFile;
    int m_AcquireCount = 0;
    unsigned long long m_LastUse = 0;
    bool m_ProgramFile = false;
};
