// The object model's access to resources (core/ResourceAccess) through the current
// resource manager, installed when the program starts.
#include "core/Exception.h"
#include "core/ResourceAccess.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "resources/TableResource.h"

#include <boost/format.hpp>

namespace {

class ManagerResourceAccess : public ResourceAccess
{
public:
    ManagerResourceAccess() { SetResourceAccess(this); }
    ~ManagerResourceAccess() override
    {
        ResourceAccess* installed = SetResourceAccess(nullptr);
        if (installed != this)
            SetResourceAccess(installed);
    }

    Resource* Acquire(const std::string& name, ResourceInfo** info) override
    {
        ResourceManager* manager = GetResourceManager();
        MAKO_ASSERT_MSG(manager != 0, boost::str(boost::format("No resource manager exists to "
                                                               "acquire \"%1%\".") %
                                                 name));
        return manager->Acquire(name, info);
    }

    LuaPlus::LuaObject* GetPropertyTable(Resource* resource, ResourceInfo* info, int* type) override
    {
        *type = info ? info->GetType() : RESOURCE_UNKNOWN;
        if (*type != RESOURCE_TABLE || !resource)
            return nullptr;
        return static_cast<TableResource*>(resource)->GetTable();
    }
};

ManagerResourceAccess gAccess;

} // namespace
