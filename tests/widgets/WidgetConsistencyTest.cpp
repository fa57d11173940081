// Widget failures name the check that failed and where; a cell keeps the actor it is given
// again; a label's shadow and highlight copies stay in register with its own image.
#include "WidgetTestSupport.h"

#include "core/ClassManager.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "display/Font.h"
#include "geometry/Colors.h"
#include "scene/ActorGroup.h"
#include "widgets/Cell.h"
#include "widgets/Grid.h"
#include "widgets/Label.h"
#include "widgets/RadioButton.h"
#include "widgets/RadioButtonGrid.h"
#include "widgets/RadioButtonGroup.h"

#include <boost/make_shared.hpp>

#include <memory>

using namespace widgettest;

namespace {

class WidgetConsistencyTest : public WidgetTest
{
};

// The message and function of the engine exception the action raises.
struct Failure
{
    std::string message;
    std::string function;
};

template <typename F> Failure FailureOf(F action)
{
    try {
        action();
    } catch (const Exception& e) {
        return {e.what(), e.GetFunction()};
    }
    return {"", ""};
}

TEST_F(WidgetConsistencyTest, RadioButtonFailuresNameTheirCheck)
{
    Actor parent;
    auto* button = new RadioButton();
    parent.AddChild(button, "");

    // A second parent.
    Actor other;
    Failure failure = FailureOf([&] { other.AddChild(button, ""); });
    EXPECT_EQ("Assertion failed: (!m_HadParent)\nMessage: A radio button stays with its first "
              "parent; it cannot be moved to another.",
              failure.message);
    EXPECT_EQ("RadioButton::SetParent", failure.function);
    delete button; // taken off its first parent: ours to delete

    // A member that is not a radio button.
    RadioButtonGroup group;
    failure = FailureOf([&] { group.Add(&other); });
    EXPECT_EQ("Assertion failed: (dynamic_cast<RadioButton *>(radioButtonActor) != 0)\n"
              "Message: Cannot add a non-radio button to a RadioButtonGroup.",
              failure.message);
    EXPECT_EQ("RadioButtonGroup::Add", failure.function);

    // A group name that names another kind of group.
    ActorGroup plain;
    plain.ApplyStringProperty("name", "plain");
    parent.AddGroup(&plain);
    Dispatch();
    button = new RadioButton();
    parent.AddChild(button, "");
    failure = FailureOf([&] { button->ApplyStringProperty("radioButtonGroup", "plain"); });
    EXPECT_EQ("Assertion failed: (dynamic_cast<RadioButtonGroup *>(group) != 0)\n"
              "Message: The group with the name \"plain\" is not a RadioButtonGroup.",
              failure.message);
    EXPECT_EQ("RadioButton::ResolvePendingButtonGroup", failure.function);

    // A group announcement that does not come from the parent.
    GetPostedEventQueue().PostShared(MAKO_CHILDGROUPADDED, button, static_cast<Object*>(&other),
                                     boost::make_shared<int>(0));
    failure = FailureOf([&] { Dispatch(); });
    EXPECT_EQ("Assertion failed: (event->GetSender() == GetParent())", failure.message);
    EXPECT_EQ("RadioButton::OnChildGroupAdded", failure.function);

    // A grid entry that builds something other than a radio button.
    RadioButtonGrid grid;
    grid.SetGridSize(1, 1, 50, 20);
    failure = FailureOf([&] {
        grid.AddRadioButton(Table("{cellPosition = {1, 1}, buttonSpec = {class = 'Actor'}}"));
    });
    EXPECT_EQ("Assertion failed: (dynamic_cast<RadioButton *>(buttonObject) != 0)",
              failure.message);
    EXPECT_EQ("RadioButtonGrid::AddRadioButton", failure.function);
    failure = FailureOf([&] { grid.AddRadioButton(Table("{cellPosition = {1, 1}}")); });
    EXPECT_EQ("Assertion failed: (realButtonTemplate.IsTable())", failure.message);

    parent.DestroyChildren();
    m_Passes.DeleteDeadActors();
}

TEST_F(WidgetConsistencyTest, ACellKeepsTheActorItIsGivenAgain)
{
    Grid grid;
    grid.SetGridSize(2, 1, 100, 20);
    Cell* first = grid.GetCell(1, 1);
    Cell* second = grid.GetCell(2, 1);

    auto* actor = new Actor();
    actor->SetSize(10, 10);
    ASSERT_TRUE(grid.SetCellActor(actor, 1, 1));
    ASSERT_TRUE(grid.SetCellActor(actor, 1, 1)); // again: neither deleted nor lost
    EXPECT_EQ(actor, first->GetActor());
    EXPECT_EQ(first, actor->GetParent());
    EXPECT_TRUE(first->HasChild(actor, false));

    // Moved to another cell, it leaves the first one empty.
    ASSERT_TRUE(grid.SetCellActor(actor, 2, 1));
    EXPECT_EQ(nullptr, first->GetActor());
    EXPECT_EQ(actor, second->GetActor());
    EXPECT_FALSE(first->HasChild(actor, false));

    // A radio button given to its own cell again keeps its one parent.
    auto* radio = new RadioButton();
    ASSERT_TRUE(grid.SetCellActor(radio, 1, 1));
    EXPECT_EQ("", MessageOf([&] { grid.SetCellActor(radio, 1, 1); }));
    EXPECT_EQ(radio, first->GetActor());
    EXPECT_EQ(first, radio->GetParent());
}

TEST_F(WidgetConsistencyTest, LabelCopiesFollowTheLabelsLineLayout)
{
    // Two lines of different widths, right-aligned, with a text offset: the copy's lines
    // sit where the label's own lines sit, one pixel off.
    std::unique_ptr<Label> label(
        new Label("", new Font("DejaVuSans.ttf", 16, 0), HorizontalAlignment::Right));
    label->SetTextOffset(6, 3);
    label->SetShadowColor(Palette::Black);
    label->SetText("a\nmuch longer line", true);
    Label* shadow = label->GetShadow();
    ASSERT_NE(nullptr, shadow);
    EXPECT_EQ(HorizontalAlignment::Right, shadow->GetLineAlignment());
    EXPECT_EQ(label->GetWidth(), shadow->GetWidth());
    EXPECT_EQ(label->GetHeight(), shadow->GetHeight());

    // A later change of alignment or offset reaches the copy at the next rebuild.
    label->ApplyProperty("textAlignment", Table("'Left'"));
    EXPECT_EQ(HorizontalAlignment::Left, shadow->GetLineAlignment());
    label->ApplyProperty("textOffset", Table("{0, 0}"));
    label->UpdateImage();
    EXPECT_EQ(label->GetWidth(), shadow->GetWidth());
    EXPECT_EQ(label->GetHeight(), shadow->GetHeight());

    // A number given as the text shows its decimal text.
    label->ApplyProperty("text", Table("42"));
    EXPECT_EQ("42", label->GetText());
    EXPECT_EQ("42", shadow->GetText());
}

} // namespace
