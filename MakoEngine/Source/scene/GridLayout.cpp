#include "scene/GridLayout.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "scene/Actor.h"

#include <vector>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(GridLayout, "GridLayout", "LayoutManager", &GridLayout::RegisterProperties,
                     &InstantiateObjectOfClass<GridLayout>);

namespace {

// The offset of each of `count` cells: the first at 0, each next one after the size of
// the one before (the table's integer entry, else the default).
std::vector<int> CellOffsets(int count, const LuaObject& sizes, int defaultSize)
{
    std::vector<int> offsets;
    int offset = 0;
    for (int i = 1; i <= count; ++i) {
        // A count from data: each step is work on the file's values.
        LuaPlus::ChargeTableWalkStep();
        offsets.push_back(offset);
        LuaObject size = sizes.IsTable() ? sizes[i] : LuaObject();
        offset += size.IsNumber() ? size.GetInteger() : defaultSize;
    }
    return offsets;
}

} // namespace

GridLayout::GridLayout(const std::string& resourceName)
{
    m_ColumnWidths.AssignNewTable(GetGlobalLuaState());
    m_RowHeights.AssignNewTable(GetGlobalLuaState());
    if (!resourceName.empty())
        AcquireAndApplyResource(resourceName);
}

void GridLayout::LayoutContainer(Actor* container)
{
    const std::vector<int> columnOffsets =
        CellOffsets(m_Columns, m_ColumnWidths, m_DefaultColumnWidth);
    const std::vector<int> rowOffsets = CellOffsets(m_Rows, m_RowHeights, m_DefaultRowHeight);
    int column = 1;
    int row = 1;
    for (Actor* child : container->GetChildren()) {
        MAKO_ASSERT(column <= m_Columns);
        MAKO_ASSERT(row <= m_Rows);
        child->SetPosition(columnOffsets[column - 1], rowOffsets[row - 1]);
        if (m_Orientation == LeftToRight_TopToBottom) {
            if (++column > m_Columns) {
                column = 1;
                ++row;
            }
        } else if (m_Orientation == TopToBottom_LeftToRight) {
            if (++row > m_Rows) {
                row = 1;
                ++column;
            }
        } else {
            MAKO_ASSERT_MSG(m_Orientation == LeftToRight_TopToBottom,
                            "A grid layout holds an orientation it does not know.");
        }
    }
}
