#pragma once
// What the object model asks of the resources when it applies a named resource to an
// object (the "resource" and "resources" properties): the resource itself, and the table
// of properties a table resource holds. The resource layer, above the object model,
// implements it and installs it when the program starts (resources/ManagerResourceAccess);
// the object model names resources only through this and forward declarations.
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <string>

class Resource;
class ResourceInfo;

class ResourceAccess
{
public:
    virtual ~ResourceAccess() = default;

    // The named resource of the current resource manager, its description in *info; no
    // manager, or an unknown name, raises.
    virtual Resource* Acquire(const std::string& name, ResourceInfo** info) = 0;
    // The table of properties a table resource holds; null for any other resource (and for
    // none). *type is the resource's kind (a ResourceType; 0 when unknown).
    virtual LuaPlus::LuaObject* GetPropertyTable(Resource* resource, ResourceInfo* info,
                                                 int* type) = 0;
};

// The installed access; raises (a failed check) when none is installed.
ResourceAccess& GetResourceAccess();
// Installs access (null uninstalls) and returns the one installed before; the caller
// keeps ownership.
ResourceAccess* SetResourceAccess(ResourceAccess* access);
