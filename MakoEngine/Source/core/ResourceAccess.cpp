#include "core/ResourceAccess.h"

#include "core/Exception.h"

namespace {

ResourceAccess*& Installed()
{
    static ResourceAccess* access = nullptr;
    return access;
}

} // namespace

ResourceAccess& GetResourceAccess()
{
    MAKO_ASSERT_MSG(Installed() != nullptr, "No resource access is installed.");
    return *Installed();
}

ResourceAccess* SetResourceAccess(ResourceAccess* access)
{
    ResourceAccess* previous = Installed();
    Installed() = access;
    return previous;
}
