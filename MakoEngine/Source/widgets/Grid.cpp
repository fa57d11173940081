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
            const std::int16_t x =
                static_cast<std::int16_t>((cellWidth + m_SpacingX) * (column - 1) + m_Left);
            const std::int16_t y =
                static_cast<std::int16_t>((cellHeight + m_SpacingY) * (row - 1) + m_Top);
            cell->SetPosition(x, y);
            m_Cells[(column - 1) * rows + (row - 1)] = cell;
            AddActor(cell);
        }
    }
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
