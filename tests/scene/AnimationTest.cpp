// Frame animations over image metadata: frames, nesting, delays, loops, the events that
// start and end them, and failures; the grid layout; flattened subtrees.
#include "SceneTestSupport.h"

#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "resources/MetadataRanges.h"
#include "scene/Animation.h"
#include "scene/FlattenedActor.h"
#include "scene/GridLayout.h"
#include "support/engine/LogCapture.h"

#include <functional>
#include <memory>

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

// An actor that shows frames of a 10-frame strip whose metadata holds `animations` and
// writes the frame after each pass and every MAKO_ANIMEVENT it hears.
class AnimatedActor : public Actor
{
public:
    explicit AnimatedActor(const std::string& animations)
        : AnimatedActor(SceneTest::Table("{Animations = " + animations + "}"))
    {
    }
    explicit AnimatedActor(const LuaObject& metadata)
    {
        ApplyStringProperty("name", "sprite");
        Image* strip = new Image(2, 2, 10, 0);
        strip->SetMetadata(&metadata);
        SetImage(strip, "strip");
    }
    bool OnAnimEvent(const Event& event) override
    {
        events.push_back(static_cast<Animation*>(EventData1(event)) == GetAnimation() ? "anim"
                                                                                      : "other");
        return true;
    }
    std::vector<std::string> events;
};

// The frames shown after each of `passes` passes, written only when they change.
std::vector<int> FramesOver(Actor& actor, int passes)
{
    bbtest::PassHarness harness(&actor);
    std::vector<int> frames{actor.GetFrame()};
    for (int i = 0; i < passes; ++i) {
        harness.Step();
        if (actor.GetFrame() != frames.back())
            frames.push_back(actor.GetFrame());
    }
    return frames;
}

} // namespace

TEST_F(SceneTest, AnimationsPlayTheirFramesAndReportStartAndEnd)
{
    AnimatedActor actor("{walk = {3, 4, 5}}");
    actor.PlayAnimation("walk");
    EXPECT_EQ(3, actor.GetFrame());
    EXPECT_EQ((std::vector<std::string>{"anim"}), actor.events);
    ASSERT_NE(nullptr, actor.GetAnimation());
    EXPECT_EQ(&actor, actor.GetAnimation()->GetParent());

    // 100 ms frames on 32 ms passes: the advances fall on passes 4, 7, 10.
    bbtest::PassHarness passes(&actor);
    passes.Step(3);
    EXPECT_EQ(3, actor.GetFrame());
    passes.Step();
    EXPECT_EQ(4, actor.GetFrame());
    passes.Step(3);
    EXPECT_EQ(5, actor.GetFrame());
    passes.Step(3);
    EXPECT_EQ(ANIM_STOPPED, actor.GetAnimation()->GetState());
    EXPECT_EQ((std::vector<std::string>{"anim", "anim"}), actor.events);
    passes.Step(10);
    EXPECT_EQ(5, actor.GetFrame());

    // Looped, it starts again at the first frame and reports each start.
    AnimatedActor looped("{walk = {3, 4, 5}}");
    looped.ApplyStringProperty("loopAnimation", "walk");
    // The restart begins a fresh interval: the next advance is 4 passes later.
    EXPECT_EQ((std::vector<int>{3, 4, 5, 3, 4}), FramesOver(looped, 14));
    EXPECT_EQ(2u, looped.events.size());

    // A new animation replaces the running one, which is destroyed.
    looped.PlayAnimation("walk");
    bbtest::PassHarness cleanup(&looped);
    cleanup.Step();
    EXPECT_EQ(1u, looped.GetChildren().size());
}

TEST_F(SceneTest, NestedAnimationsShowEveryFrameInOrder)
{
    AnimatedActor leading("{A = {1, 2}, run = {'A', 7}}");
    leading.PlayAnimation("run");
    EXPECT_EQ((std::vector<int>{1, 2, 7}), FramesOver(leading, 12));

    AnimatedActor middle("{B = {4, 5, 6}, run = {1, 'B', 9}}");
    middle.PlayAnimation("run");
    EXPECT_EQ((std::vector<int>{1, 4, 5, 6, 9}), FramesOver(middle, 20));
    EXPECT_EQ(ANIM_STOPPED, middle.GetAnimation()->GetState());
}

TEST_F(SceneTest, ADelayHoldsTheFrameBeforeTheNextOneShows)
{
    AnimatedActor actor("{wait = {1, {'delay', 500}, 2, 3}}");
    actor.PlayAnimation("wait");
    bbtest::PassHarness passes(&actor);
    passes.Step(4); // the first advance meets the delay
    EXPECT_EQ(1, actor.GetFrame());
    EXPECT_EQ(500, actor.GetAnimation()->GetCountdown());
    passes.Step(15); // 480 ms
    EXPECT_EQ(1, actor.GetFrame());
    passes.Step(1);
    EXPECT_EQ(2, actor.GetFrame());
    passes.Step(4);
    EXPECT_EQ(3, actor.GetFrame());

    // Unknown commands are passed over.
    AnimatedActor other("{odd = {1, {'sparkle'}, 2}}");
    other.PlayAnimation("odd");
    EXPECT_EQ((std::vector<int>{1, 2}), FramesOver(other, 8));

    // The frame after a command is the one the animation reports as shown.
    AnimatedActor reported("{odd = {1, {'sparkle'}, 2, 3}}");
    reported.PlayAnimation("odd");
    bbtest::PassHarness steps(&reported);
    steps.Step(4);
    EXPECT_EQ(2, reported.GetFrame());
    EXPECT_EQ(2, reported.GetAnimation()->CurrentFrame());
}

// A picture whose metadata lacks what an animation asks (no metadata, no animations, no
// list of that name, a nest too deep, an element of no kind, a frame past the picture) plays
// its first frame or the nearest frame in its place: nothing raises, the actor goes on
// ticking, and each problem is named once with the actor and the picture.
TEST_F(SceneTest, AnimationsThatCannotPlayShowAStandInNamedOnce)
{
    bbtest::LogCapture log;
    Actor plain;
    plain.ApplyStringProperty("name", "plainStandIn");
    plain.SetImage(new Image(2, 2, 1, 0), "");
    plain.PlayAnimation("walk");
    EXPECT_EQ(0, plain.GetFrame());
    FramesOver(plain, 10);

    AnimatedActor actor("{walk = {1}, self = {'self'}, loop = {1, 'loop'}, bad = {1, true, 3}, "
                        "far = {12}}");
    actor.ApplyStringProperty("name", "spriteStandIn");
    for (const char* name : {"run", "self", "far", "bad", "loop", "run"}) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW({
            actor.LoopAnimation(name);
            FramesOver(actor, 40);
        });
        EXPECT_TRUE(actor.GetFrame() >= 0 && actor.GetFrame() < 10) << actor.GetFrame();
    }
    // A missing name shows the first frame; a frame past the picture its last one.
    actor.LoopAnimation("run");
    EXPECT_EQ(0, actor.GetFrame());
    actor.PlayAnimation("far");
    EXPECT_EQ(9, actor.GetFrame());
    actor.PlayAnimation("bad");
    EXPECT_EQ((std::vector<int>{1, 3}), FramesOver(actor, 8));

    const std::string text = log.Text();
    for (const char* said :
         {"Actor \"plainStandIn\": the animation \"walk\" is asked of the image \"\", which has "
          "no metadata; its first frame is shown",
          "Actor \"spriteStandIn\": the animation \"run\" is asked of the image \"strip\", which "
          "has no animation of that name; its first frame is shown",
          "nests deeper than 32 levels; its first frame is shown",
          "frame 12 is out of range for the image \"strip\", which has 10 frames; frame 9 is "
          "shown",
          "the animation \"bad\" holds the boolean true, which is no frame, animation name or "
          "command; it is passed over"}) {
        const std::size_t at = text.find(said);
        EXPECT_NE(std::string::npos, at) << said << "\n" << text.substr(0, 3000);
        EXPECT_EQ(std::string::npos, text.find(said, at + 1)) << "said twice: " << said;
    }
}

namespace {

// A child that runs `step` at each tick, counting its ticks.
class SteppingChild : public Actor
{
public:
    explicit SteppingChild(std::function<void()> step) : m_Step(std::move(step)) {}
    void Tick() override
    {
        ++ticks;
        if (m_Step)
            m_Step();
        Actor::Tick();
    }
    int ticks = 0;

private:
    std::function<void()> m_Step;
};

} // namespace

// A child whose tick meets an error of its data (a value read from its table that is not
// there) is left out of play, named once, and its siblings tick on; a failed check of the
// program's own passes on to the crash reporter.
TEST_F(SceneTest, AChildWhoseDataFailsIsLeftOutOfPlayAndItsSiblingsGoOn)
{
    bbtest::LogCapture log;
    Actor parent;
    auto* broken = new SteppingChild([] { SceneTest::Table("{}")["score"].GetNumber(); });
    auto* sound = new SteppingChild(nullptr);
    broken->ApplyStringProperty("name", "brokenChild");
    parent.AddChild(broken, "brokenChild");
    parent.AddChild(sound, "soundChild");
    for (int i = 0; i < 5; ++i)
        EXPECT_NO_THROW(parent.Tick());
    EXPECT_EQ(1, broken->ticks);
    EXPECT_EQ(5, sound->ticks);
    const std::string said = "Actor \"brokenChild\": LuaObject::GetNumber: expected a number, got "
                             "a nil value; it is left out of play";
    const std::size_t at = log.Text().find(said);
    EXPECT_NE(std::string::npos, at) << log.Text();
    EXPECT_EQ(std::string::npos, log.Text().find(said, at + 1));

    auto* mistaken = new SteppingChild([] { MAKO_ASSERT(1 + 1 == 3); });
    parent.AddChild(mistaken, "mistakenChild");
    EXPECT_THROW(parent.Tick(), Exception);
}

// Animations read from a metadata file, mended as the scanner and the picture's loader mend
// them: none names itself again when played or nests deeper than the player goes, each name
// left out for it is told, and every animation plays its frames.
TEST_F(SceneTest, AnimationsReadFromAFileNeverNestTooDeepWhenPlayed)
{
    std::string animations = "{spin1 = {'spin2'}, spin2 = {'spin1'}, spin3 = {'spin3'}, "
                             "loop = {1, 'loop'}, pair = {'spin1', 'spin3', 4}, "
                             "lost = {'nope', 5}, ";
    for (int i = 1; i < 40; ++i)
        animations += "deep" + std::to_string(i) + " = {'deep" + std::to_string(i + 1) + "', 2}, ";
    animations += "deep40 = {3}}";
    const LuaObject metadata =
        Table("{numFrames = 10, width = 2, height = 2, Animations = " + animations + "}");
    std::vector<std::string> lines = MetadataRanges::MendEntry(metadata);
    std::string problem;
    for (const std::string& line : MetadataRanges::FitFrames(metadata, 20, 2, problem))
        lines.push_back(line);
    std::string told;
    for (const std::string& line : lines)
        told += line + "\n";
    for (const char* cut :
         {"Animations.spin2[1] names Animations.spin1, which leads back to it",
          "Animations.spin3[1] names Animations.spin3, which leads back to it",
          "Animations.loop[2] names Animations.loop, which leads back to it",
          "Animations.deep8[1] names Animations.deep9, which nests animations deeper than 32",
          "Animations.lost[1] = \"nope\" is neither a frame number nor the name of an "
          "animation"})
        EXPECT_NE(std::string::npos, told.find(cut)) << cut << "\n" << told;
    EXPECT_EQ(std::string::npos, told.find("from 0 to -1")) << told;

    for (const char* name : {"spin1", "spin2", "spin3", "loop", "pair", "lost", "deep1", "deep9"}) {
        SCOPED_TRACE(name);
        AnimatedActor actor(metadata);
        EXPECT_EQ("", MessageOf([&] { actor.PlayAnimation(name); }));
        std::vector<int> frames;
        EXPECT_EQ("", MessageOf([&] { frames = FramesOver(actor, 400); }));
        for (int frame : frames)
            EXPECT_TRUE(frame >= 0 && frame < 10) << frame;
    }
}

TEST_F(SceneTest, GridLayoutFillsCellsInOrder)
{
    GridLayout grid;
    grid.ApplyProperties(Table("{columns = 3, rows = 2, columnWidths = {10, 20}, "
                               "defaultColumnWidth = 5, defaultRowHeight = 8}"));
    Actor container;
    std::vector<Actor*> cells;
    for (int i = 0; i < 6; ++i) {
        cells.push_back(new Actor());
        container.AddChild(cells.back(), "");
    }
    grid.LayoutContainer(&container);
    const std::vector<std::pair<int, int>> rowWise = {{0, 0}, {10, 0}, {30, 0},
                                                      {0, 8}, {10, 8}, {30, 8}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(rowWise[i], std::make_pair(cells[i]->GetX(), cells[i]->GetY())) << i;

    grid.ApplyStringProperty("orientation", "TopToBottom_LeftToRight");
    EXPECT_EQ("TopToBottom_LeftToRight", grid.RetrieveStringProperty("orientation"));
    grid.LayoutContainer(&container);
    EXPECT_EQ(std::make_pair(0, 8), std::make_pair(cells[1]->GetX(), cells[1]->GetY()));
    EXPECT_EQ(std::make_pair(10, 0), std::make_pair(cells[2]->GetX(), cells[2]->GetY()));
    EXPECT_EQ("\"Diagonal\" is not a grid orientation; the orientations are "
              "LeftToRight_TopToBottom and TopToBottom_LeftToRight.",
              MessageOf([&] { grid.ApplyStringProperty("orientation", "Diagonal"); }));

    container.AddChild(new Actor(), "");
    EXPECT_EQ("Assertion failed: (column <= m_Columns)",
              MessageOf([&] { grid.LayoutContainer(&container); }));
    grid.ApplyStringProperty("orientation", "LeftToRight_TopToBottom");
    EXPECT_EQ("Assertion failed: (row <= m_Rows)",
              MessageOf([&] { grid.LayoutContainer(&container); }));
    GridLayout none;
    Actor empty;
    none.LayoutContainer(&empty);
    EXPECT_EQ("Assertion failed: (column <= m_Columns)",
              MessageOf([&] { none.LayoutContainer(&container); }));
}

TEST_F(SceneTest, FlattenedSubtreesRedrawOnlyWhenAsked)
{
    Actor root;
    Actor* layer = new Actor();
    root.AddChild(layer, "");
    Actor* tile = Actor::CreateColorRect(Color(255, 0, 0), 2, 2, 3, 3, 0, nullptr);
    layer->AddChild(tile, "");
    layer->SetPosition(4, 0); // the cache shows the same wherever the layer stands
    layer->Flatten(true, true, 0, 0);
    EXPECT_EQ(5, layer->GetFlattenedActor()->GetWidth());
    bbtest::PassHarness passes(&root, 16, 16);
    passes.Step();
    // Pictures blended onto the transparent test canvas keep its alpha: compare colours.
    EXPECT_EQ(Argb(0, 255, 0, 0), passes.Pixel(6, 2) & 0xFFFFFF);
    EXPECT_EQ(0u, passes.Pixel(2, 2));

    tile->SetColor(Color(0, 0, 255));
    passes.Step();
    EXPECT_EQ(Argb(0, 255, 0, 0), passes.Pixel(6, 2) & 0xFFFFFF) << "the cache holds";
    layer->ReFlatten();
    passes.Step();
    EXPECT_EQ(Argb(0, 0, 0, 255), passes.Pixel(6, 2) & 0xFFFFFF);

    Actor bare;
    EXPECT_EQ("Assertion failed: (m_FlattenedActor)", MessageOf([&] { bare.ReFlatten(); }));
    bare.Flatten(false, true, 10, 10);
    EXPECT_EQ(0, bare.GetFlattenedActor()->GetWidth());
    passes.SetRoot(&bare);
    passes.Step(); // an empty cache draws nothing
    EXPECT_EQ(nullptr, bare.GetFlattenedActor()->GetCanvas());
}

TEST_F(SceneTest, FlattenedLayerDrawnAsACopyCoversWhatLiesBelow)
{
    // A green backdrop, then two flattened 8 x 8 layers holding one red tile each: the
    // one drawn as a copy replaces the backdrop with its whole cache, clear pixels too;
    // the blended one lets the backdrop show around its tile.
    Actor root;
    root.AddChild(Actor::CreateColorRect(Color(0, 255, 0), 0, 0, 16, 8, 0, nullptr), "");
    LuaObject copy;
    copy.AssignInteger(GetGlobalLuaState(), SHADERTYPE_COPY);
    for (int x : {0, 8}) {
        Actor* layer = new Actor();
        layer->SetPosition(x, 0);
        layer->SetZOrder(1);
        layer->AddChild(Actor::CreateColorRect(Color(255, 0, 0), 2, 2, 3, 3, 0, nullptr), "");
        layer->Flatten(false, false, 8, 8);
        if (x == 0)
            layer->SetShaderType(copy);
        root.AddChild(layer, "");
    }
    bbtest::PassHarness passes(&root, 16, 8);
    passes.Step();
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(3, 3));
    EXPECT_EQ(0u, passes.Pixel(0, 0)) << "the copy's clear pixels replace the backdrop";
    EXPECT_EQ(Argb(0, 255, 0, 0), passes.Pixel(11, 3) & 0xFFFFFF);
    EXPECT_EQ(Argb(0, 0, 255, 0), passes.Pixel(8, 0) & 0xFFFFFF) << "blending keeps it";
}

} // namespace scenetest
