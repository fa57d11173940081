#pragma once
// A layout that places the children of a container in the cells of a grid, in list
// order: row by row (LeftToRight_TopToBottom) or column by column
// (TopToBottom_LeftToRight). Column widths and row heights come from the tables
// "columnWidths" and "rowHeights" (integer entries by 1-based index), else from the
// defaults. Children are moved only, never resized or realigned.
#include "core/PropertyType.h"
#include "scene/LayoutManager.h"

#include <cstdint>
#include <string>

enum GridOrientation : std::int32_t {
    LeftToRight_TopToBottom = 1,
    TopToBottom_LeftToRight = 2,
};

// The property type of GridOrientation members; its script form is the exact name.
const int PROPERTY_GRIDORIENTATION = 20;
template <> struct PropertyMemberType<PROPERTY_GRIDORIENTATION>
{
    using Type = GridOrientation;
};

class GridLayout : public LayoutManager
{
    MAKO_DECLARE_CLASS();

public:
    // The defaults; a non-empty name is then applied as a resource.
    explicit GridLayout(const std::string& resourceName = "");

    // More children than cells fails "column <= m_Columns" or "row <= m_Rows".
    void LayoutContainer(Actor* container) override;

    static void RegisterProperties(Class& gridClass);

    std::int32_t m_Columns = 0;
    LuaPlus::LuaObject m_ColumnWidths;
    std::int32_t m_DefaultColumnWidth = 0;
    std::int32_t m_DefaultRowHeight = 0;
    GridOrientation m_Orientation = LeftToRight_TopToBottom;
    LuaPlus::LuaObject m_RowHeights;
    std::int32_t m_Rows = 0;
};
