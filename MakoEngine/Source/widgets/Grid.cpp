#include "widgets/Grid.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "geometry/Point.h"
#include "widgets/Cell.h"
#include "widgets/WidgetProperties.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cstdint>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Grid, "Grid", "Actor", &Grid::RegisterProperties,
                     &InstantiateObjectOfClass<Grid>);

Grid::Grid() = default;

Grid::Grid(const std::string& name)
{
    ApplyStringProperty("name", name);
}

void Grid::SetMargins(int left, int top, int spacingX, int spacingY)
{
    m_Left = left;
    m_Top = top;
    m_SpacingX = spacingX;
    m_SpacingY = spacingY;
}

void Grid::SetFont(const std::string& fontFile, int fontSize, const Color& color)
{
    m_FontFile = fontFile;
    m_FontSize = fontSize;
    m_FontColor = color;
}

void Grid::SetGridSize(int columns, int rows, int cellWidth, int cellHeight)
{
    MAKO_ASSERT_MSG(
        columns >= 0 && columns <= kMaxCells && rows >= 0 && rows <= kMaxCells,
        boost::str(boost::format("A grid has 0 to %1% columns and rows, not %2% x %3%.") %
                   kMaxCells % columns % rows));
    // Everything is checked before the old cells go, so a refused size changes nothing.
    CheckCellExtent("cell width", cellWidth);
    CheckCellExtent("cell height", cellHeight);
    CheckGridExtent("width", static_cast<long long>(columns) * cellWidth);
    CheckGridExtent("height", static_cast<long long>(rows) * cellHeight);
    CheckCellPlacement("x", m_Left, cellWidth + static_cast<long long>(m_SpacingX), columns);
    CheckCellPlacement("y", m_Top, cellHeight + static_cast<long long>(m_SpacingY), rows);
    // The cells of an earlier call go, with the actors they hold.
    const std::vector<Cell*> old = m_Cells;
    m_Cells.clear();
    for (Cell* cell : old)
        if (cell)
            DestroyChild(cell);

    m_Columns = columns;
    m_Rows = rows;
    SetSize(columns * cellWidth, rows * cellHeight);
    m_Cells.assign(static_cast<std::size_t>(columns) * rows, nullptr);
    for (int column = 1; column <= columns; ++column) {
        for (int row = 1; row <= rows; ++row) {
            Cell* cell = new Cell(cellWidth, cellHeight, HorizontalAlignment::Left);
            // In range: checked above.
            const int x = static_cast<int>(
                (cellWidth + static_cast<long long>(m_SpacingX)) * (column - 1) + m_Left);
            const int y = static_cast<int>(
                (cellHeight + static_cast<long long>(m_SpacingY)) * (row - 1) + m_Top);
            cell->SetPosition(x, y);
            m_Cells[(column - 1) * rows + (row - 1)] = cell;
            AddActor(cell);
        }
    }
}

void Grid::CheckCellExtent(const char* what, int extent)
{
    MAKO_ASSERT_MSG(extent >= 0 && extent <= kRectExtentMax,
                    boost::str(boost::format("A grid's %1% lies in 0..%2%, not %3%.") % what %
                               kRectExtentMax % extent));
}

void Grid::CheckGridExtent(const char* what, long long extent)
{
    MAKO_ASSERT_MSG(extent <= kRectExtentMax,
                    boost::str(boost::format("A grid's %1% (cells times cell size) lies in "
                                             "0..%2%, not %3%.") %
                               what % kRectExtentMax % extent));
}

void Grid::CheckCellPlacement(const char* axis, int first, long long step, int count)
{
    if (count <= 0)
        return;
    // Cell positions run linearly from the first cell to the last: both ends must fit.
    const long long last = first + step * (count - 1);
    for (const long long position : {static_cast<long long>(first), last})
        MAKO_ASSERT_MSG(position >= kRectCoordinateMin && position <= kRectCoordinateMax,
                        boost::str(boost::format("A grid's cells lie at %1% = %2%, outside "
                                                 "%3%..%4%.") %
                                   axis % position % kRectCoordinateMin % kRectCoordinateMax));
}

Cell* Grid::GetCell(int column, int row) const
{
    if (column < 1 || column > m_Columns || row < 1 || row > m_Rows)
        return nullptr;
    return m_Cells[(column - 1) * m_Rows + (row - 1)];
}

bool Grid::SetCellActor(Actor* actor, int column, int row)
{
    Cell* cell = GetCell(column, row);
    if (!cell)
        return false;
    cell->SetActor(actor);
    return true;
}

void Grid::AddActor(Actor* actor)
{
    AddChild(actor, "");
}

void Grid::RemoveChild(Actor* child)
{
    // A cell taken away from the grid is no longer one of its places.
    for (Cell*& cell : m_Cells)
        if (static_cast<Actor*>(cell) == child)
            cell = nullptr;
    Actor::RemoveChild(child);
}
