// Grids of cells and radio buttons: placement, bounds, rebuilding, groups and selection.
#include "WidgetTestSupport.h"

#include "core/ClassManager.h"
#include "scene/ActorGroup.h"
#include "widgets/Cell.h"
#include "widgets/Grid.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/RadioButtonGroup.h"

#include <memory>

using namespace widgettest;

namespace {

class GridTest : public WidgetTest
{
};

// An actor that counts how many of its kind are alive.
class CountedActor : public Actor
{
public:
    explicit CountedActor(int width) { SetSize(width, 10), ++s_Live; }
    ~CountedActor() override { --s_Live; }
    static int s_Live;
};
int CountedActor::s_Live = 0;

struct Placement
{
    int column, row, x, y;
};

TEST_F(GridTest, CellsArePlacedByMarginsAndSpacing)
{
    Grid grid;
    grid.SetMargins(10, 5, 4, 6);
    grid.SetGridSize(3, 2, 100, 40);
    EXPECT_EQ(300, grid.GetWidth());
    EXPECT_EQ(80, grid.GetHeight());
    const Placement table[] = {{1, 1, 10, 5},  {2, 1, 114, 5},  {3, 1, 218, 5},
                               {1, 2, 10, 51}, {2, 2, 114, 51}, {3, 2, 218, 51}};
    for (const Placement& p : table) {
        Cell* cell = grid.GetCell(p.column, p.row);
        ASSERT_NE(nullptr, cell);
        EXPECT_EQ(p.x, cell->GetX()) << p.column << "," << p.row;
        EXPECT_EQ(p.y, cell->GetY()) << p.column << "," << p.row;
        EXPECT_EQ(100, cell->GetWidth());
    }
    EXPECT_EQ(6u, grid.GetChildren().size());

    // Outside the grid nothing changes and the actor stays the caller's.
    CountedActor outside(5);
    for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 3}, {-1, -1}, {200, 200}})
        EXPECT_FALSE(grid.SetCellActor(&outside, c, r));
    EXPECT_EQ(nullptr, outside.GetParent());

    // Cells align their actor horizontally; replacing the actor deletes the old one.
    const int before = CountedActor::s_Live;
    EXPECT_TRUE(grid.SetCellActor(new CountedActor(30), 2, 2));
    EXPECT_EQ(0, grid.GetCell(2, 2)->GetActor()->GetX()); // grid cells are left-aligned
    EXPECT_TRUE(grid.SetCellActor(new CountedActor(40), 2, 2));
    EXPECT_EQ(before + 1, CountedActor::s_Live);
    Cell centred(100, 40, HorizontalAlignment::Center);
    centred.SetActor(new CountedActor(30));
    EXPECT_EQ(35, centred.GetActor()->GetX());
    Cell right(100, 40, HorizontalAlignment::Right);
    right.SetActor(new CountedActor(30));
    EXPECT_EQ(70, right.GetActor()->GetX());
}

TEST_F(GridTest, RebuildingRemovesTheOldCellsAndSizesAreChecked)
{
    Grid grid;
    grid.SetGridSize(2, 2, 10, 10);
    grid.SetCellActor(new CountedActor(5), 1, 1);
    const int live = CountedActor::s_Live;
    grid.SetGridSize(1, 3, 20, 20);
    m_Passes.DeleteDeadActors();
    EXPECT_EQ(live - 1, CountedActor::s_Live);
    EXPECT_EQ(3u, grid.GetChildren().size());
    EXPECT_EQ(nullptr, grid.GetCell(2, 1));
    ASSERT_NE(nullptr, grid.GetCell(1, 3));
    EXPECT_EQ(40, grid.GetCell(1, 3)->GetY());

    EXPECT_NE("", MessageOf([&] { grid.SetGridSize(100, 1, 5, 5); }));
    EXPECT_NE("", MessageOf([&] { grid.SetGridSize(1, -1, 5, 5); }));
    EXPECT_NE("", MessageOf([&] {
                  std::unique_ptr<Object> bad(ClassManager::GetInstance()->InstantiateObject(
                      Table("{class = 'Grid', cellSize = {{500, 500}, {1, 1}}}")));
              }));
}

TEST_F(GridTest, CellSizesAndPlacesBeyondSixteenBitsAreRefused)
{
    Grid grid;
    grid.SetGridSize(2, 1, 30, 10);
    EXPECT_EQ("Assertion failed: (extent >= 0 && extent <= kRectExtentMax)\nMessage: A grid's "
              "cell width lies in 0..65535, not 70000.",
              MessageOf([&] { grid.SetGridSize(1, 1, 70000, 10); }));
    EXPECT_EQ("Assertion failed: (extent >= 0 && extent <= kRectExtentMax)\nMessage: A grid's "
              "cell height lies in 0..65535, not -1.",
              MessageOf([&] { grid.SetGridSize(1, 1, 10, -1); }));
    // Each cell fits, the whole grid does not.
    EXPECT_EQ("Assertion failed: (extent <= kRectExtentMax)\nMessage: A grid's width (cells "
              "times cell size) lies in 0..65535, not 99000.",
              MessageOf([&] { grid.SetGridSize(99, 1, 1000, 10); }));
    // The last cell would lie past the 16-bit position range.
    grid.SetMargins(0, 0, 33000, 0);
    EXPECT_EQ("Assertion failed: (position >= kRectCoordinateMin && position <= "
              "kRectCoordinateMax)\nMessage: A grid's cells lie at x = 33010, outside "
              "-32768..32767.",
              MessageOf([&] { grid.SetGridSize(2, 1, 10, 10); }));
    grid.SetMargins(0, -40000, 0, 0);
    EXPECT_NE(std::string::npos,
              MessageOf([&] { grid.SetGridSize(1, 1, 10, 10); }).find("y = -40000"));
    // A refused size leaves the cells of the last one.
    EXPECT_EQ(60, grid.GetWidth());
    ASSERT_NE(nullptr, grid.GetCell(2, 1));
    EXPECT_EQ(30, grid.GetCell(2, 1)->GetX());
    EXPECT_NE("", MessageOf([] { Cell cell(65536, 1, HorizontalAlignment::Left); }));

    // From scripts the grid's properties name what they lack.
    EXPECT_EQ("The point \"cellSize\" needs a number for "
              "\"y\".",
              MessageOf([&] {
                  std::unique_ptr<Object> bad(ClassManager::GetInstance()->InstantiateObject(
                      Table("{class = 'Grid', cellSize = {{2, 1}, {50}}}")));
              }));
    EXPECT_NE(std::string::npos,
              MessageOf([&] {
                  std::unique_ptr<Object> bad(ClassManager::GetInstance()->InstantiateObject(
                      Table("{class = 'Grid', cellSize = {{2, 1}, {50, 70000}}}")));
              }).find("cell height lies in 0..65535, not 70000."));
}

TEST_F(GridTest, ActorPositionsAndSizesFromScriptsAreCheckedAndNamed)
{
    // Grids are actors: their position and size go through the actor's properties.
    auto make = [](const std::string& entries) {
        std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
            Table("{class = 'Grid', " + entries + "}")));
        return object;
    };
    std::unique_ptr<Object> object = make("position = {x = 5, y = -6}, size = {w = 70, h = 8}");
    auto* grid = dynamic_cast<Grid*>(object.get());
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(5, grid->GetX());
    EXPECT_EQ(-6, grid->GetY());
    EXPECT_EQ(70, grid->GetWidth());
    EXPECT_EQ(8, grid->GetHeight());

    EXPECT_EQ("The point \"position\" needs a number for "
              "\"y\".",
              MessageOf([&] { make("position = {x = 10}"); }));
    EXPECT_EQ("The size \"size\" needs a number for \"w\".",
              MessageOf([&] { make("size = {w = 'x'}"); }));
    EXPECT_EQ("The size \"size\" needs \"w\" in 0..65535, "
              "not -1.",
              MessageOf([&] { make("size = {-1, 70000}"); }));
    EXPECT_EQ("The point \"position\" needs \"x\" in "
              "-32768..32767, not 40000.",
              MessageOf([&] { make("position = {40000, 0}"); }));

    // A size read back from an actor applies again unchanged.
    LuaPlus::LuaObject size;
    grid->RetrieveProperty(size, "size");
    grid->ApplyProperty("size", size);
    EXPECT_EQ(70, grid->GetWidth());
    EXPECT_EQ(8, grid->GetHeight());
}

TEST_F(GridTest, ScriptMarginsApplyBeforeCellsWhateverTheOrder)
{
    for (const char* table :
         {"{class = 'Grid', cellSize = {{2, 1}, {50, 20}}, margins = {{3, "
          "4}, {5, 6}}}",
          "{margins = {3, 4}, class = 'Grid', cellSize = {{2, 1}, {50, 20}}}"}) {
        std::unique_ptr<Object> object(
            ClassManager::GetInstance()->InstantiateObject(Table(table)));
        auto* grid = dynamic_cast<Grid*>(object.get());
        ASSERT_NE(nullptr, grid);
        ASSERT_NE(nullptr, grid->GetCell(2, 1));
        EXPECT_EQ(3, grid->GetCell(1, 1)->GetX());
        EXPECT_EQ(4, grid->GetCell(1, 1)->GetY());
        EXPECT_TRUE(grid->GetCell(2, 1)->GetX() == 58 || grid->GetCell(2, 1)->GetX() == 53);
    }
}

TEST_F(GridTest, RadioButtonsJoinTheirGroupAndCheckOnPress)
{
    Actor parent;
    RadioButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = new RadioButton();
        buttons[i]->ApplyStringProperty("radioButtonGroup", "skill");
        buttons[i]->SetPosition(0, 30 * i);
        parent.AddChild(buttons[i], "");
        EXPECT_EQ("skill", buttons[i]->GetPendingGroupName());
    }
    // The group arrives later; the buttons hear of it and join.
    RadioButtonGroup group;
    group.ApplyStringProperty("name", "skill");
    parent.AddGroup(&group);
    Dispatch();
    for (RadioButton* b : buttons) {
        EXPECT_EQ(&group, b->GetGroup());
        EXPECT_EQ("", b->GetPendingGroupName());
        EXPECT_FALSE(b->IsChecked());
    }

    // Pressing checks on the press; pressing again and dragging out keeps it checked.
    auto press = [&](RadioButton* b) {
        b->OnEvent(MouseMotion(b->GetX() + 2, b->GetY() + 2));
        Dispatch();
        b->OnEvent(MouseDown(b->GetX() + 2, b->GetY() + 2));
        Dispatch();
    };
    press(buttons[1]);
    EXPECT_TRUE(buttons[1]->IsChecked());
    EXPECT_FALSE(buttons[0]->IsChecked());
    buttons[1]->OnEvent(MouseMotion(200, 200));
    Dispatch();
    buttons[1]->OnEvent(MouseUp(200, 200));
    press(buttons[1]);
    EXPECT_TRUE(buttons[1]->IsChecked());
    press(buttons[2]);
    EXPECT_TRUE(buttons[2]->IsChecked());
    EXPECT_FALSE(buttons[1]->IsChecked());

    // A second parent, a foreign group name and a non-radio member fail.
    Actor other;
    EXPECT_NE("", MessageOf([&] { other.AddChild(buttons[0], ""); }));
    EXPECT_EQ(nullptr, buttons[0]->GetParent()); // taken off its first parent: ours to delete
    delete buttons[0];
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     group.Add(&other);
                                 }).find("Cannot add a non-radio button to a RadioButtonGroup."));
    ActorGroup plain;
    plain.ApplyStringProperty("name", "plain");
    parent.AddGroup(&plain);
    Dispatch();
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     buttons[2]->ApplyStringProperty("radioButtonGroup", "plain");
                                 }).find("is not a RadioButtonGroup"));
    parent.DestroyChildren();
    m_Passes.DeleteDeadActors();
}

TEST_F(GridTest, RadioButtonGridFromAScriptList)
{
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
        Table("{class = 'RadioButtonGrid', name = 'options', margins = {2, 2}, cellSize = {{2, "
              "2}, {60, 30}}, radioButtons = {"
              "{cellPosition = {1, 1}, buttonSpec = {class = 'RadioButton', name = 'easy'}},"
              "{cellPosition = {2, 1}, buttonSpec = {class = 'RadioButton', name = 'hard'}},"
              "{cellPosition = {1, 2}, buttonSpec = {class = 'RadioButton', name = 'wild'}}}}")));
    auto* grid = dynamic_cast<RadioButtonGrid*>(object.get());
    ASSERT_NE(nullptr, grid);
    const std::pair<const char*, std::pair<int, int>> expected[] = {
        {"easy", {1, 1}}, {"hard", {2, 1}}, {"wild", {1, 2}}};
    for (const auto& [name, cell] : expected) {
        Actor* actor = grid->GetCell(cell.first, cell.second)->GetActor();
        ASSERT_NE(nullptr, actor) << name;
        EXPECT_EQ(name, actor->GetName());
    }
    EXPECT_EQ(nullptr, grid->GetCell(2, 2)->GetActor());

    auto checked = [&](const char* name) {
        return static_cast<RadioButton*>(grid->GetChild(name, true))->IsChecked();
    };
    grid->SelectButton("hard");
    EXPECT_TRUE(checked("hard"));
    grid->SelectButton("nobody");
    EXPECT_TRUE(checked("hard"));
    grid->SelectButton("wild");
    EXPECT_TRUE(checked("wild"));
    EXPECT_FALSE(checked("hard"));

    // Entries that name no cell of the grid or build something else are refused.
    EXPECT_NE(std::string::npos,
              MessageOf([&] {
                  grid->AddRadioButton(Table("{cellPosition = {3, 1}, buttonSpec = {class = "
                                             "'RadioButton'}}"));
              }).find("has no cell (3, 1)"));
    EXPECT_NE("", MessageOf([&] {
                  grid->AddRadioButton(
                      Table("{cellPosition = {2, 2}, buttonSpec = {class = 'Actor'}}"));
              }));
    EXPECT_NE("", MessageOf([&] { grid->AddRadioButton(Table("{buttonSpec = {}}")); }));

    // In code: a captioned button in a cell, and a header above the grid.
    grid->SetFont("DejaVuSans.ttf", 12, Palette::Black);
    RadioButton* made = grid->AddRadioButton(2, 2, "big", "big", SDLK_b, nullptr, "Button.png",
                                             "boxCheck.png", 2, 2);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(made, grid->GetCell(2, 2)->GetActor());
    EXPECT_EQ('B', made->GetKeyTipChar());
    EXPECT_EQ(nullptr,
              grid->AddRadioButton(9, 9, "x", "x", 0, nullptr, "Button.png", "boxCheck.png", 2, 2));
    grid->SetHeader("Skill", "DejaVuSans.ttf", 14, Palette::White);
    Actor* header = grid->GetHeaderLabel();
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(-header->GetHeight(), header->GetY());
    EXPECT_EQ(grid->GetWidth() / 2 - header->GetWidth() / 2, header->GetX());
}

} // namespace
