#include "core/ResourceAccess.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"

#include <boost/format.hpp>

#include <map>
#include <memory>

using LuaPlus::LuaObject;

// PENDING (resource manager): the interim records below stand for ResourceInfo and
// TableResource. Acquire hands out the address of an interim record under both names;
// GetType and GetTable turn it back. They never leave this file.
namespace {

struct InterimResource
{
    int type = 0; // a table: kTableResourceType; anything else: unknown (0)
    LuaObject table;
};

// One record per name, kept for the process (as loaded resources are), refreshed on each
// acquisition so a script that replaces Resources[name] is seen.
std::map<std::string, std::unique_ptr<InterimResource>>& InterimRecords()
{
    static auto* records = new std::map<std::string, std::unique_ptr<InterimResource>>;
    return *records;
}

} // namespace

namespace ResourceAccess {

Acquired Acquire(const std::string& name)
{
    LuaObject resources = GetGlobalLuaState()->GetGlobal("Resources");
    LuaObject value;
    if (resources.IsTable())
        value = resources[name];
    if (value.IsNil())
        throw ResourceNotFoundException(
            MAKO_WHERE,
            boost::str(boost::format("Could not find resource info with name = %1%") % name), name);

    std::unique_ptr<InterimResource>& record = InterimRecords()[name];
    if (!record)
        record.reset(new InterimResource);
    record->type = value.IsTable() ? kTableResourceType : 0;
    record->table = value.IsTable() ? value : LuaObject();

    Acquired acquired;
    acquired.resource = reinterpret_cast<Resource*>(record.get());
    acquired.info = reinterpret_cast<ResourceInfo*>(record.get());
    return acquired;
}

int GetType(const ResourceInfo* info)
{
    MAKO_ASSERT(info != nullptr);
    return reinterpret_cast<const InterimResource*>(info)->type;
}

LuaObject GetTable(const Resource* resource)
{
    MAKO_ASSERT(resource != nullptr);
    const InterimResource* record = reinterpret_cast<const InterimResource*>(resource);
    MAKO_ASSERT(record->type == kTableResourceType);
    return record->table;
}

} // namespace ResourceAccess
