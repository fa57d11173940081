#pragma once
// What objects need of the resource manager, in one place: acquiring a resource by name
// and reading the type and, for table resources, the table of what was acquired.
//
// PENDING (resource manager): until the resource manager exists, a resource is the table
// stored under its name in the script table `Resources` (read as scripts read it,
// Resources[name]), and only table resources are known. When the resource manager is
// built, these three functions become ResourceManager::Acquire, ResourceInfo::GetType and
// TableResource's table; nothing else in the object model changes.
#include "luaplus/LuaPlus.h"

#include <string>

class Resource;
class ResourceInfo;

namespace ResourceAccess {

// The resource type code of table resources (RESOURCE_TABLE).
const int kTableResourceType = 3;

struct Acquired
{
    Resource* resource = nullptr;
    ResourceInfo* info = nullptr;
};

// Acquires the named resource. An unknown name raises ResourceNotFoundException
// "Could not find resource info with name = <name>".
Acquired Acquire(const std::string& name);
// The resource type code of an acquired resource's info.
int GetType(const ResourceInfo* info);
// The table of a table resource.
LuaPlus::LuaObject GetTable(const Resource* resource);

} // namespace ResourceAccess
