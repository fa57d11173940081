#pragma once
// RadioButtonGrid: a Grid whose cells hold radio buttons, with an optional header label
// above the grid, filled in code or from a script list:
//   radioButtons = { {cellPosition = {column, row}, buttonSpec = {class = "RadioButton", ...}},
//                    ... }
//
// Scripts create such grids as class "RadioButtonGrid". Main thread only.
#include "geometry/Color.h"
#include "widgets/Grid.h"

#include <string>

class Label;
class RadioButton;

class RadioButtonGrid : public Grid
{
    MAKO_DECLARE_CLASS();

public:
    RadioButtonGrid();
    explicit RadioButtonGrid(const std::string& name);

    // A named grid at (x, y) with the z-order, margins and cells; the parent, when given,
    // hears the grid's posted events.
    static RadioButtonGrid* Make(const std::string& name, int x, int y, int zOrder, int columns,
                                 int rows, int cellWidth, int cellHeight, int left, int top,
                                 int spacingX, int spacingY, Actor* parent);

    // A label centred over the grid, its bottom on the grid's top edge.
    void SetHeader(const std::string& text, const std::string& fontFile, int fontSize,
                   const Color& color);
    Label* GetHeaderLabel() const { return m_HeaderLabel; }

    // A radio button with the grid's caption font put into cell (column, row); null (and
    // nothing made) when the grid has no such cell.
    RadioButton* AddRadioButton(int column, int row, const std::string& text,
                                const std::string& name, int shortcutKey, Actor* parent,
                                const std::string& imageName, const std::string& checkImageName,
                                int checkX, int checkY);
    // A radio button built from a script entry {cellPosition = {column, row}, buttonSpec =
    // parameter table}. A malformed entry or a cell outside the grid raises.
    RadioButton* AddRadioButton(const LuaPlus::LuaObject& radioButtonTemplate);

    // Checks the radio button of that name among the grid's descendants and unchecks the
    // buttons of every cell; an unknown name changes nothing.
    void SelectButton(const std::string& name);

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RemoveChild(Actor* child) override;

    static void RegisterProperties(Class& gridClass);

private:
    Label* m_HeaderLabel = nullptr;
};
