// The actor tree: z-ordered children drawn bottom-up and offered events top-down,
// insertion rules, look-ups, coordinates, extents and overlap tests, drawn off-screen.
#include "SceneTestSupport.h"

#include "display/Image.h"
#include "scene/Border.h"
#include "scene/GridLayout.h"

#include <memory>

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

// A colour rectangle named after its colour.
Actor* Rect(const char* name, const Color& color, int x, int y, int w, int h, int zorder)
{
    Actor* actor = Actor::CreateColorRect(color, x, y, w, h, zorder, nullptr);
    actor->ApplyStringProperty("name", name);
    return actor;
}

std::vector<std::string> ChildNames(const Actor& actor)
{
    std::vector<std::string> names;
    for (const Actor* child : actor.GetChildren())
        names.push_back(child->GetName());
    return names;
}

} // namespace

TEST_F(SceneTest, OverlappingChildrenDrawInZOrderAndTakeEventsFromTheTopDown)
{
    std::vector<std::string> log;
    Actor root(Color(0, 0, 0));
    root.SetSize(16, 16);
    RecordingActor* a = new RecordingActor("a", &log, 5);
    RecordingActor* b = new RecordingActor("b", &log, 1);
    RecordingActor* c = new RecordingActor("c", &log, 5);
    RecordingActor* d = new RecordingActor("d", &log, 3);
    const Color colors[] = {Color(255, 0, 0), Color(0, 255, 0), Color(0, 0, 255),
                            Color(255, 255, 0)};
    RecordingActor* all[] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        all[i]->SetColor(colors[i]);
        all[i]->SetSize(8, 8);
        root.AddChild(all[i], "");
    }
    EXPECT_EQ((std::vector<std::string>{"b", "d", "a", "c"}), ChildNames(root));

    bbtest::PassHarness passes(&root, 16, 16);
    passes.Step();
    EXPECT_EQ(Argb(255, 0, 0, 255), passes.Pixel(4, 4)); // c: the later of the two fives
    EXPECT_EQ(Argb(255, 0, 0, 0), passes.Pixel(12, 12)); // the root's own fill

    log.clear();
    EXPECT_FALSE(root.OnEvent(ClickEvent()));
    EXPECT_EQ((std::vector<std::string>{"c:click", "a:click", "d:click", "b:click"}), log);

    // The first consumer ends the walk; a later change of "zorder" does not move a child.
    log.clear();
    a->onClick = [] { return true; };
    EXPECT_TRUE(root.OnEvent(ClickEvent()));
    EXPECT_EQ((std::vector<std::string>{"c:click", "a:click"}), log);
    b->ApplyIntProperty("zorder", 99);
    EXPECT_EQ((std::vector<std::string>{"b", "d", "a", "c"}), ChildNames(root));
}

TEST_F(SceneTest, ChildrenBehindAreDrawnUnderTheActorAndHiddenOrUnrenderedChildrenNotAtAll)
{
    Actor root(Color(255, 0, 0));
    root.SetSize(8, 8);
    Actor* child = Rect("child", Color(0, 255, 0), 0, 0, 4, 4, 0);
    root.AddChild(child, "");
    bbtest::PassHarness passes(&root, 8, 8);
    passes.Step();
    EXPECT_EQ(Argb(255, 0, 255, 0), passes.Pixel(1, 1));
    root.SetChildrenBehind(true);
    passes.Step();
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(1, 1));

    root.SetChildrenBehind(false);
    child->SetFlags(ACTORFLAG_NO_RENDER);
    passes.Step();
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(1, 1));
    child->SetFlags(0);
    root.ApplyBoolProperty("visible", false); // recursive
    EXPECT_FALSE(child->IsVisible());
    passes.Step();
    EXPECT_EQ(0u, passes.Pixel(1, 1));
}

TEST_F(SceneTest, UnsortedActorsKeepInsertionOrderAndChildrenInheritFlags)
{
    Actor root;
    root.SetFlags(ACTORFLAG_UNSORTED | ACTORFLAG_TICK_WHILE_PAUSED | 0x100);
    root.AddChild(Rect("high", Palette::White, 0, 0, 1, 1, 9), "");
    root.AddChild(Rect("low", Palette::White, 0, 0, 1, 1, 1), "");
    EXPECT_EQ((std::vector<std::string>{"high", "low"}), ChildNames(root));
    // Every bit but the render and unsorted bits passes on.
    EXPECT_EQ(ACTORFLAG_TICK_WHILE_PAUSED | 0x100u, root.GetChildren().front()->GetFlags());

    // A child taken by another actor leaves its first parent.
    Actor other;
    Actor* moved = root.GetChildren().front();
    other.AddChild(moved, "");
    EXPECT_EQ(&other, moved->GetParent());
    EXPECT_EQ((std::vector<std::string>{"low"}), ChildNames(root));
    EXPECT_EQ(nullptr, root.GetChild("high", true));
}

TEST_F(SceneTest, LookUpsSkipDeadChildrenAndSearchDepthFirst)
{
    Actor root;
    Actor* first = Rect("first", Palette::White, 0, 0, 1, 1, 0);
    Actor* deep = Rect("target", Palette::White, 0, 0, 1, 1, 0);
    Actor* second = Rect("target", Palette::White, 0, 0, 1, 1, 1);
    root.AddChild(first, "");
    root.AddChild(second, "");
    first->AddChild(deep, "");
    EXPECT_EQ(second, root.GetChild("target", false));
    EXPECT_EQ(deep, root.GetChild("target", true));
    EXPECT_TRUE(root.HasChild(deep, true));
    EXPECT_FALSE(root.HasChild(deep, false));

    deep->Kill();
    EXPECT_EQ(second, root.GetChild("target", true));
    second->Kill();
    EXPECT_EQ(nullptr, root.GetChild("target", true));
}

TEST_F(SceneTest, CoordinatesExtentsAndOverlapFollowTheTree)
{
    Actor root;
    root.SetPosition(100, 100); // the root's own position never counts
    Actor* panel = Rect("panel", Palette::White, 10, 20, 30, 30, 0);
    Actor* item = Rect("item", Palette::White, 5, 6, 4, 4, 0);
    root.AddChild(panel, "");
    panel->AddChild(item, "");
    EXPECT_EQ(Point<int>(16, 27), item->LocalToGlobal(1, 1));
    EXPECT_EQ(Point<int>(1, 1), item->GlobalToLocal(16, 27));
    EXPECT_TRUE(RectEquals(MakeRect(15, 26, 4, 4), item->GetScreenRect()));

    // Extent: own rectangle at 0, 0, children where they stand, images counted too.
    item->SetPosition(40, 2);
    EXPECT_EQ(Point<int>(44, 30), panel->GetExtent());
    Actor empty;
    EXPECT_EQ(Point<int>(0, 0), empty.GetExtent());
    Actor pictured;
    pictured.SetImage(new Image(12, 7, 1, 0), "");
    pictured.SetSize(3, 3);
    EXPECT_EQ(Point<int>(12, 7), pictured.GetExtent());

    // Overlap in screen coordinates: touching edges count.
    const SDL_Rect r = panel->GetScreenRect(); // 10, 20, 30, 30
    EXPECT_TRUE(panel->Intersects(Point<int>(r.x + r.w, r.y), Point<int>(5, 5)));
    EXPECT_TRUE(panel->Intersects(Point<int>(0, 0), Point<int>(10, 20)));
    EXPECT_FALSE(panel->Intersects(Point<int>(r.x + r.w + 1, r.y), Point<int>(5, 5)));
    EXPECT_FALSE(panel->Intersects(Point<int>(0, 0), Point<int>(9, 30)));

    Actor* centred = Rect("centred", Palette::White, 0, 0, 10, 4, 0);
    root.AddChild(centred, "");
    centred->CenterOn(panel);
    EXPECT_EQ(20, centred->GetX());
    EXPECT_EQ(33, centred->GetY());
}

TEST_F(SceneTest, InheritedPropertiesComeFromTheNearestAncestorThatHasThem)
{
    Actor root;
    Actor* middle = new Actor();
    Actor* leaf = new Actor();
    root.AddChild(middle, "");
    middle->AddChild(leaf, "");
    root.ApplyStringProperty("theme", "dark");
    EXPECT_EQ("dark", leaf->RetrieveInheritedProperty("theme").ToString());
    middle->ApplyStringProperty("theme", "light");
    EXPECT_EQ("light", leaf->RetrieveInheritedProperty("theme").ToString());
    EXPECT_TRUE(leaf->RetrieveInheritedProperty("nothing").IsNil());
}

TEST_F(SceneTest, ReceiversGetPostedEventsOnTheNextEventPhase)
{
    std::vector<std::string> log;
    Actor sender;
    RecordingActor listener("listener", &log);
    sender.AddEventReceiver(&listener);
    sender.AddEventReceiver(&listener);
    EXPECT_TRUE(sender.HasEventReceivers());
    sender.PostEvent(SDL_MOUSEBUTTONDOWN, nullptr);
    EXPECT_TRUE(log.empty());
    bbtest::PassHarness passes;
    passes.DispatchPostedEvents();
    EXPECT_EQ((std::vector<std::string>{"listener:click"}), log);
}

TEST_F(SceneTest, BorderOutlinesItsParentWhereverTheParentStands)
{
    Actor root;
    Actor* box = Rect("box", Color(0, 0, 255), 4, 4, 6, 6, 0);
    root.AddChild(box, "");
    box->AddChild(new Border(Color(255, 255, 255)), "");
    bbtest::PassHarness passes(&root, 16, 16);
    passes.Step();
    EXPECT_EQ(Argb(255, 255, 255, 255), passes.Pixel(4, 4));
    EXPECT_EQ(Argb(255, 255, 255, 255), passes.Pixel(10, 10)); // outlines end at x + w
    EXPECT_EQ(Argb(255, 0, 0, 255), passes.Pixel(9, 9));
    EXPECT_EQ(0u, passes.Pixel(0, 0));

    Border lonely(Palette::White);
    passes.SetRoot(&lonely);
    passes.Step();
    EXPECT_EQ(0u, passes.Pixel(0, 0));
}

TEST_F(SceneTest, LayoutRunsWhenAChildIsAppendedOrRemovedButNotWhenInserted)
{
    GridLayout grid;
    grid.m_Columns = 3;
    grid.m_Rows = 1;
    grid.m_DefaultColumnWidth = 10;
    Actor row;
    row.SetLayoutManager(&grid);
    Actor* a = Rect("a", Palette::White, 99, 99, 1, 1, 5);
    row.AddChild(a, "");
    EXPECT_EQ(0, a->GetX());
    Actor* b = Rect("b", Palette::White, 99, 99, 1, 1, 1); // inserted before a: no layout
    row.AddChild(b, "");
    EXPECT_EQ(99, b->GetX());
    EXPECT_EQ(0, a->GetX());
    row.RemoveChild(b);
    delete b;
    Actor* c = Rect("c", Palette::White, 99, 99, 1, 1, 7);
    row.AddChild(c, "");
    EXPECT_EQ(10, c->GetX());
    row.SetLayoutManager(nullptr);
}

} // namespace scenetest
