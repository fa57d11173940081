#include "widgets/RadioButtonGrid.h"

#include "widgets/ButtonCaption.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "display/Font.h"
#include "geometry/Point.h"
#include "widgets/Cell.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"

#include <boost/format.hpp>

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(RadioButtonGrid, "RadioButtonGrid", "Grid",
                     &RadioButtonGrid::RegisterProperties,
                     &InstantiateObjectOfClass<RadioButtonGrid>);

RadioButtonGrid::RadioButtonGrid() = default;

RadioButtonGrid::RadioButtonGrid(const std::string& name) : Grid(name) {}

RadioButtonGrid* RadioButtonGrid::Make(const std::string& name, int x, int y, int zOrder,
                                       int columns, int rows, int cellWidth, int cellHeight,
                                       int left, int top, int spacingX, int spacingY, Actor* parent)
{
    std::unique_ptr<RadioButtonGrid> grid(new RadioButtonGrid(name));
    grid->SetPosition(x, y);
    grid->SetZOrder(zOrder);
    grid->SetMargins(left, top, spacingX, spacingY);
    grid->SetGridSize(columns, rows, cellWidth, cellHeight);
    if (parent)
        grid->AddEventReceiver(parent);
    return grid.release();
}

void RadioButtonGrid::SetHeader(const std::string& text, const std::string& fontFile, int fontSize,
                                const Color& color)
{
    if (m_HeaderLabel) {
        DestroyChild(m_HeaderLabel);
        m_HeaderLabel = nullptr;
    }
    std::unique_ptr<Font> font(new Font(fontFile, fontSize, 0));
    std::unique_ptr<Label> label(
        new Label(text, font.release(), color, HorizontalAlignment::Center));
    label->SetPosition(GetWidth() / 2 - label->GetWidth() / 2, -label->GetHeight());
    label->ApplyStringProperty("name", "headerLabel");
    AddActor(label.get());
    m_HeaderLabel = label.release();
}

void RadioButtonGrid::RemoveChild(Actor* child)
{
    if (child == m_HeaderLabel)
        m_HeaderLabel = nullptr;
    Grid::RemoveChild(child);
}

RadioButton* RadioButtonGrid::AddRadioButton(int column, int row, const std::string& text,
                                             const std::string& name, int shortcutKey,
                                             Actor* parent, const std::string& imageName,
                                             const std::string& checkImageName, int checkX,
                                             int checkY)
{
    if (!GetCell(column, row))
        return nullptr;
    std::unique_ptr<RadioButton> button(
        RadioButton::Make(imageName, text, GetFontFile(), GetFontSize(), 0, 0, name, parent));
    button->SetShortcutKey(shortcutKey);
    button->SetCheckImage(checkImageName, checkX, checkY);
    if (Label* caption = button->GetLabel()) {
        // Centred between the check box and the plate's right end, drawn smaller when the
        // room is short (plates that do not say where their ends are keep the old place).
        const std::pair<int, int> ends = CaptionInsets(*button);
        const Actor* box = button->GetCheckMark();
        const int left = box ? box->GetX() + box->GetWidth() + 2 : 0;
        const int room = button->GetWidth() - ends.second - left;
        if (ends.second > 0 && room > 0)
            caption->SetWidthLimit(room);
        caption->SetText(text, true);
        const int x = ends.second > 0 && room > 0
                          ? left + room / 2 - caption->GetWidth() / 2
                          : button->GetWidth() / 2 - caption->GetWidth() / 2 + 10;
        caption->SetPosition(x, button->GetHeight() / 2 - caption->GetHeight() / 2);
    }
    SetCellActor(button.get(), column, row);
    return button.release();
}

RadioButton* RadioButtonGrid::AddRadioButton(const LuaObject& radioButtonTemplate)
{
    MAKO_ASSERT(radioButtonTemplate.IsTable());
    MAKO_ASSERT(Point<int>::IsPoint(radioButtonTemplate["cellPosition"]));
    const Point<int> cell(radioButtonTemplate["cellPosition"]);
    LuaObject realButtonTemplate = radioButtonTemplate["buttonSpec"];
    MAKO_ASSERT(realButtonTemplate.IsTable());
    Object* buttonObject = ClassManager::GetInstance()->InstantiateObject(realButtonTemplate);
    std::unique_ptr<Object> owned(buttonObject);
    // The expression below is the text of the failure, spelled as it reads.
    // clang-format off
    MAKO_ASSERT(dynamic_cast<RadioButton *>(buttonObject) != 0);
    // clang-format on
    auto* button = static_cast<RadioButton*>(buttonObject);
    MAKO_ASSERT_MSG(SetCellActor(button, cell.x, cell.y),
                    boost::str(boost::format("The grid \"%1%\" has no cell (%2%, %3%).") %
                               GetName() % cell.x % cell.y));
    owned.release();
    return button;
}

void RadioButtonGrid::SelectButton(const std::string& name)
{
    auto* found = dynamic_cast<RadioButton*>(GetChild(name, true));
    if (!found)
        return;
    for (Cell* cell : GetCells())
        if (cell)
            if (auto* button = dynamic_cast<RadioButton*>(cell->GetActor()))
                button->SetChecked(false);
    found->SetChecked(true);
}
