// GridLayout: the properties scripts set and read, and the property type of its
// orientation.
#include "scene/GridLayout.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <string>

using LuaPlus::LuaObject;

namespace {

void GridOrientationToLua(LuaObject& out, const void* member)
{
    const GridOrientation value = *static_cast<const GridOrientation*>(member);
    MAKO_ASSERT(value == LeftToRight_TopToBottom || value == TopToBottom_LeftToRight);
    out.AssignString(GetGlobalLuaState(), value == LeftToRight_TopToBottom
                                              ? "LeftToRight_TopToBottom"
                                              : "TopToBottom_LeftToRight");
}

void GridOrientationFromLua(const LuaObject& value, void* member, const std::string&)
{
    const std::string name = ReadStringFromObject(value);
    GridOrientation result = LeftToRight_TopToBottom;
    if (name == "LeftToRight_TopToBottom")
        result = LeftToRight_TopToBottom;
    else if (name == "TopToBottom_LeftToRight")
        result = TopToBottom_LeftToRight;
    else
        MAKO_THROW(ApplyPropertyError, "\"" + name +
                                           "\" is not a grid orientation; the orientations are "
                                           "LeftToRight_TopToBottom and TopToBottom_LeftToRight.");
    *static_cast<GridOrientation*>(member) = result;
}

struct GridOrientationTypeRegistrar
{
    GridOrientationTypeRegistrar()
    {
        RegisterPropertyType(PROPERTY_GRIDORIENTATION, &GridOrientationToLua,
                             &GridOrientationFromLua);
    }
} gGridOrientationType;

} // namespace

void GridLayout::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_INT>(c, &GridLayout::m_Columns, "columns");
    RegisterMemberProperty<PROPERTY_LUAOBJECT>(c, &GridLayout::m_ColumnWidths, "columnWidths");
    RegisterMemberProperty<PROPERTY_INT>(c, &GridLayout::m_DefaultColumnWidth,
                                         "defaultColumnWidth");
    RegisterMemberProperty<PROPERTY_INT>(c, &GridLayout::m_DefaultRowHeight, "defaultRowHeight");
    RegisterMemberProperty<PROPERTY_GRIDORIENTATION>(c, &GridLayout::m_Orientation, "orientation");
    RegisterMemberProperty<PROPERTY_LUAOBJECT>(c, &GridLayout::m_RowHeights, "rowHeights");
    RegisterMemberProperty<PROPERTY_INT>(c, &GridLayout::m_Rows, "rows");
}
