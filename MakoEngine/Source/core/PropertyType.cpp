#include "core/PropertyType.h"

#include "core/Exception.h"

#include <boost/format.hpp>

#include <algorithm>
#include <vector>

namespace {

// Records in order of registration; made on first use (static definitions register).
std::vector<PropertyType>& RegisteredTypes()
{
    static std::vector<PropertyType>* types = new std::vector<PropertyType>;
    return *types;
}

// Indexed by id; empty entries (id 0) for ids nobody registered.
std::vector<PropertyType>& TypeTable()
{
    static std::vector<PropertyType>* table = new std::vector<PropertyType>;
    return *table;
}

// How many registered records the table was built from.
std::size_t gIndexedCount = 0;

} // namespace

void RegisterPropertyType(int id, PropertyToLua toLua, PropertyFromLua fromLua)
{
    MAKO_ASSERT(id > 0 && toLua != nullptr && fromLua != nullptr);
    RegisteredTypes().push_back(PropertyType{id, toLua, fromLua});
}

void BuildPropertyTypeTable()
{
    const std::vector<PropertyType>& types = RegisteredTypes();
    int highest = 0;
    for (const PropertyType& type : types)
        highest = std::max(highest, type.id);
    std::vector<PropertyType>& table = TypeTable();
    table.assign(static_cast<std::size_t>(highest) + 1, PropertyType{});
    for (const PropertyType& type : types)
        table[static_cast<std::size_t>(type.id)] = type;
    gIndexedCount = types.size();
}

const PropertyType& GetPropertyType(int id)
{
    if (gIndexedCount != RegisteredTypes().size())
        BuildPropertyTypeTable();
    const std::vector<PropertyType>& table = TypeTable();
    MAKO_ASSERT_MSG(id > 0 && static_cast<std::size_t>(id) < table.size() &&
                        table[static_cast<std::size_t>(id)].id == id,
                    boost::str(boost::format("No property type is registered with id %1%.") % id));
    return table[static_cast<std::size_t>(id)];
}
