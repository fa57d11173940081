#pragma once
// Grid: lays actors out in a table of equal cells. Each Cell is a child of the grid at a
// fixed position (margins before the first cell, spacing between cells) and holds at most
// one actor. Columns and rows count from 1. The grid's own size is columns x cell width by
// rows x cell height (margins and spacing not included).
//
// Scripts create grids as class "Grid" with the properties
//   margins  = {left, top} or {{left, top}, {spacingX, spacingY}}
//   cellSize = {{columns, rows}, {cellWidth, cellHeight}}
// (margins always take effect before the cells are built, whatever the table's order).
//
// Main thread only.
#include "geometry/Color.h"
#include "scene/Actor.h"

#include <string>
#include <vector>

class Cell;

class Grid : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    // The largest number of columns and of rows a grid takes.
    static constexpr int kMaxCells = 99;

    Grid();
    explicit Grid(const std::string& name);

    // Stores the margins; cells built later use them.
    void SetMargins(int left, int top, int spacingX, int spacingY);
    // Builds the cells, removing any cells of an earlier call (with their actors). Columns
    // and rows must lie in 0..kMaxCells; cell sizes, the grid's size and every cell's
    // position must fit the actor's 16-bit fields. A refused size leaves the grid as it was.
    void SetGridSize(int columns, int rows, int cellWidth, int cellHeight);
    // Font settings for captions of cell actors (radio-button grids use them).
    void SetFont(const std::string& fontFile, int fontSize, const Color& color);

    // Puts the actor into cell (column, row) (replacing and deleting the one there); false
    // when there is no such cell, and the actor is then left to the caller.
    virtual bool SetCellActor(Actor* actor, int column, int row);
    // Makes the actor a child of the grid in z-order.
    virtual void AddActor(Actor* actor);

    // The cell (column, row), null outside the grid.
    Cell* GetCell(int column, int row) const;
    int GetColumns() const { return m_Columns; }
    int GetRows() const { return m_Rows; }
    const std::string& GetFontFile() const MAKO_LIFETIMEBOUND { return m_FontFile; }
    int GetFontSize() const { return m_FontSize; }
    const Color& GetFontColor() const MAKO_LIFETIMEBOUND { return m_FontColor; }

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RemoveChild(Actor* child) override;

    static void RegisterProperties(Class& gridClass);

protected:
    // Every cell, column by column.
    const std::vector<Cell*>& GetCells() const MAKO_LIFETIMEBOUND { return m_Cells; }

private:
    // Refusals of sizes and positions the 16-bit fields of actors cannot hold.
    static void CheckCellExtent(const char* what, int extent);
    static void CheckGridExtent(const char* what, long long extent);
    static void CheckCellPlacement(const char* axis, int first, long long step, int count);

    int m_Columns = 0;
    int m_Rows = 0;
    int m_Left = 0;
    int m_Top = 0;
    int m_SpacingX = 0;
    int m_SpacingY = 0;
    std::string m_FontFile;
    int m_FontSize = 0;
    Color m_FontColor;
    // Index (column - 1) * m_Rows + (row - 1); null where a cell was taken away.
    std::vector<Cell*> m_Cells;
};
