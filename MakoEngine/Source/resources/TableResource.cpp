#include "resources/TableResource.h"

#include "core/Exception.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"

#include <boost/format.hpp>

TableResource::TableResource(LuaPlus::LuaObject* table) : m_Table(table)
{
    MAKO_ASSERT(table != 0);
    MAKO_ASSERT(table->IsTable());
}

TableResource::~TableResource() = default;

LuaPlus::LuaObject* TableResource::GetTableFromResource(const std::string& name,
                                                        bool nullIfNotTable)
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT_MSG(manager != 0, "There is no resource manager.");
    ResourceInfo* resInfo = manager->FindInfo(name);
    if (resInfo->GetType() != RESOURCE_TABLE) {
        if (nullIfNotTable)
            return nullptr;
        MAKO_ASSERT_MSG(resInfo->GetType() == RESOURCE_TABLE,
                        boost::format("The resource, \"%1%\", is not a table.") % name);
    }
    return static_cast<TableResource*>(resInfo->GetResource())->GetTable();
}
