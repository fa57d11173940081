#include "core/ResourceAccess.h"

#include "core/Exception.h"

namespace {

ResourceAccess*& InstalledAccess()
{
    static ResourceAccess* access = nullptr;
    return access;
}

} // namespace

ResourceAccess& GetResourceAccess()
{
    MAKO_ASSERT_MSG(InstalledAccess() != nullptr, "No resource access is installed.");
    return *InstalledAccess();
}

ResourceAccess* SetResourceAccess(ResourceAccess* access)
{
    ResourceAccess* previous = InstalledAccess();
    InstalledAccess() = access;
    return previous;
}
