// Slides and fades stepped pass by pass, alignment, rotation offsets, shaders and the
// properties scripts set on actors.
#include "SceneTestSupport.h"
#include "support/engine/LogCapture.h"

#include "core/ClassManager.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "scene/ActorGroup.h"
#include "scene/GridLayout.h"

#include <memory>

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

std::unique_ptr<Actor> MakeActor(const std::string& table)
{
    return std::unique_ptr<Actor>(static_cast<Actor*>(
        ClassManager::GetInstance()->InstantiateObject(SceneTest::Table(table))));
}

} // namespace

TEST_F(SceneTest, SlidesStepEvery32MsAndLandOnTheTarget)
{
    Actor root;
    Actor* mover = new Actor();
    root.AddChild(mover, "");
    mover->SetPosition(0, 7);
    mover->SlideTo(100, 7, 320);
    bbtest::PassHarness passes(&root);
    std::vector<int> xs;
    for (int i = 0; i < 10; ++i) {
        passes.Step();
        xs.push_back(mover->GetX());
    }
    EXPECT_EQ((std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}), xs);
    EXPECT_TRUE(mover->IsSliding());
    EXPECT_EQ(0, passes.CountApplicationEvents(MAKO_SLIDECOMPLETE));
    passes.Step(); // the last step lands back on the target and completes
    EXPECT_EQ(100, mover->GetX());
    EXPECT_FALSE(mover->IsSliding());
    passes.Step();
    EXPECT_EQ(1, passes.CountApplicationEvents(MAKO_SLIDECOMPLETE));

    // Under one step: the first tick lands; no duration at all: lands at once.
    mover->SlideTo(-50, 3, 20);
    passes.Step();
    EXPECT_EQ(-50, mover->GetX());
    EXPECT_EQ(3, mover->GetY());
    mover->SlideTo(5, 6, 0);
    EXPECT_EQ(5, mover->GetX());
    EXPECT_EQ(6, mover->GetY());
    EXPECT_FALSE(mover->IsSliding());
    passes.Step();
    EXPECT_EQ(3, passes.CountApplicationEvents(MAKO_SLIDECOMPLETE));
}

TEST_F(SceneTest, FadeOutStepsTheAlphaThenHidesKillsAndDeletesTheActor)
{
    std::vector<std::string> log;
    Actor root;
    RecordingActor* fading = new RecordingActor("fading", &log);
    root.AddChild(fading, "");
    fading->FadeOut(300, true);
    EXPECT_EQ(SHADERTYPE_BLENDCOMBINEDALPHA, fading->GetShaderType());
    EXPECT_EQ(255, fading->GetAlpha());
    bbtest::PassHarness passes(&root);
    std::vector<int> alphas;
    for (int i = 0; i < 9; ++i) {
        passes.Step();
        alphas.push_back(fading->GetAlpha());
    }
    EXPECT_EQ((std::vector<int>{229, 204, 178, 153, 127, 102, 76, 50, 25}), alphas);
    EXPECT_TRUE(fading->IsVisible());
    // The fade's timer ends it on the pass its 300 ms are over; the actor goes after it.
    passes.Step();
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(0, RecordingActor::s_Live);
}

TEST_F(SceneTest, FadeInShowsTheActorAndEndsOpaque)
{
    Actor root;
    Actor* actor = new Actor(Color(255, 0, 0));
    actor->SetSize(4, 4);
    root.AddChild(actor, "");
    actor->SetVisible(false, false);
    actor->FadeIn(300);
    EXPECT_EQ(0, actor->GetAlpha());
    bbtest::PassHarness passes(&root, 4, 4);
    passes.Step();
    EXPECT_TRUE(actor->IsVisible());
    EXPECT_EQ(25, actor->GetAlpha());
    passes.Step();
    EXPECT_EQ(51, actor->GetAlpha());
    passes.Step(8);
    EXPECT_EQ(255, actor->GetAlpha());
    EXPECT_EQ(FADE_NONE, actor->GetFadeMode());
    EXPECT_EQ(0u, actor->GetFadeTimer());
    EXPECT_EQ(SHADERTYPE_BLENDPIXELALPHA, actor->GetShaderType());
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(1, 1));

    // A fade shorter than a step is complete at once and never wraps the alpha; a new
    // fade replaces a running one and StopFade ends it where it is.
    actor->FadeIn(10);
    passes.Step();
    EXPECT_EQ(255, actor->GetAlpha());
    actor->FadeOut(600, false);
    actor->FadeOut(300, false);
    passes.Step(3);
    EXPECT_EQ(178, actor->GetAlpha());
    actor->StopFade();
    passes.Step(20);
    EXPECT_EQ(178, actor->GetAlpha());
    EXPECT_TRUE(actor->IsVisible());
    EXPECT_FALSE(actor->IsDead());
}

TEST_F(SceneTest, AlignmentPlacesTheActorInsideItsParent)
{
    Actor parent;
    parent.SetSize(100, 50);
    auto child = std::unique_ptr<Actor>(new Actor());
    child->SetSize(10, 10);
    Actor* c = child.release();
    c->SetAlignment(BottomRight);
    parent.AddChild(c, ""); // aligns on joining
    EXPECT_EQ(90, c->GetX());
    EXPECT_EQ(40, c->GetY());
    c->SetAlignmentOffset(-5, 2);
    EXPECT_EQ(85, c->GetX());
    EXPECT_EQ(42, c->GetY());
    // "position" does not realign; "size" does; alignTo picks another point of the parent.
    c->ApplyProperty("position", Table("{x = 1, y = 1}"));
    EXPECT_EQ(1, c->GetX());
    c->ApplyProperty("size", Table("{20, 20}"));
    EXPECT_EQ(75, c->GetX());
    EXPECT_EQ(32, c->GetY());
    c->ApplyStringProperty("alignTo", "Center");
    EXPECT_EQ(25, c->GetX());
    EXPECT_EQ(7, c->GetY());
    // Children realign with their parent.
    Actor* grandchild = new Actor();
    grandchild->SetSize(2, 2);
    grandchild->SetAlignment(Center);
    c->AddChild(grandchild, "");
    EXPECT_EQ(9, grandchild->GetX());
    c->ApplyProperty("size", Table("{40, 40}"));
    EXPECT_EQ(19, grandchild->GetX());
}

TEST_F(SceneTest, RotationOffsetsAddTheAlignmentAndThePivot)
{
    Actor parent;
    parent.SetSize(40, 40);
    Actor* actor = new Actor();
    actor->SetImage(new Image(10, 20, 1, 0, Color(255, 255, 255)), "");
    parent.AddChild(actor, "");
    actor->ApplyStringProperty("rotationAlignment", "Center");
    actor->SetAlignment(Center);
    actor->ApplyProperty("rotation", Table("90"));
    ASSERT_NE(nullptr, actor->GetRotatedImage());
    EXPECT_EQ(Point<int>(20, 10), actor->GetRotatedImage()->GetFrameSize());
    // Centre of 10 x 20 less centre of 20 x 10, once for each: (-5, 5) twice.
    EXPECT_EQ(Point<int>(-10, 10), actor->GetRotationOffset());
    EXPECT_EQ(actor->GetRotatedImage(), actor->GetCurrentImage());
    actor->SetRotation(0.0, -1, false);
    EXPECT_EQ(nullptr, actor->GetRotatedImage());
    EXPECT_EQ(Center, static_cast<RectAlignment>(3));

    // Unrotated, the offset is gone: a colour fill that follows lands on the actor's own
    // rectangle, not where the rotated picture was.
    EXPECT_EQ(Point<int>(0, 0), actor->GetRotationOffset());
    actor->ApplyProperty("color", Table("'Red'"));
    bbtest::PassHarness passes(&parent);
    passes.Step();
    EXPECT_EQ(Point<int>(15, 10), Point<int>(actor->GetX(), actor->GetY()));
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(15, 10));
    EXPECT_EQ(Argb(255, 255, 0, 0), passes.Pixel(24, 29));
    EXPECT_EQ(0u, passes.Pixel(14, 10));
    EXPECT_EQ(0u, passes.Pixel(15, 30));
}

TEST_F(SceneTest, ColourSizeFrameAndShaderPropertiesCheckTheirValues)
{
    std::unique_ptr<Actor> actor = MakeActor("{class = 'Actor', size = {8, 6}, color = 'Red'}");
    EXPECT_EQ(DRAWMODE_COLOR, actor->GetDrawMode());
    EXPECT_EQ(Palette::Red, actor->GetColor());
    actor->SetImage(new Image(3, 3, 4, 0), "strip");
    EXPECT_EQ(3, actor->GetWidth());
    actor->ApplyBoolProperty("color", true); // changes nothing
    EXPECT_EQ(DRAWMODE_HAS_IMAGE | DRAWMODE_DEFAULT, actor->GetDrawMode());
    actor->ApplyProperty("color", Table("{0, 0, 255}")); // the image goes, the size stays
    EXPECT_EQ(nullptr, actor->GetImage());
    EXPECT_EQ(3, actor->GetWidth());
    EXPECT_EQ(DRAWMODE_COLOR, actor->GetDrawMode());
    actor->ApplyBoolProperty("color", false);
    EXPECT_EQ(0u, actor->GetDrawMode() & DRAWMODE_COLORFILL);

    // A frame is brought within the picture when it is set, not when it is drawn: the
    // nearest frame the picture holds, named once; so is a new picture of fewer frames.
    actor->SetImage(new Image(3, 3, 4, 0), "strip");
    actor->ApplyIntProperty("frame", 3);
    EXPECT_EQ(3, actor->GetFrame());
    actor->ApplyIntProperty("frame", 4);
    EXPECT_EQ(3, actor->GetFrame());
    actor->ApplyIntProperty("frame", -1);
    EXPECT_EQ(0, actor->GetFrame());
    actor->SetFrame(2);
    actor->SetImage(new Image(3, 3, 1, 0), "one");
    EXPECT_EQ("one", actor->GetImageName());
    EXPECT_EQ(0, actor->GetFrame());

    actor->ApplyStringProperty("shaderType", "SHADERTYPE_COPY");
    EXPECT_EQ(SHADERTYPE_COPY, actor->GetShaderType());
    actor->ApplyIntProperty("shaderType", 3);
    EXPECT_EQ(3, actor->GetShaderType());
    EXPECT_EQ("Unknown shaderTypeString: SHADERTYPE_FAST\nThe shader types are "
              "SHADERTYPE_RESERVED, SHADERTYPE_COPY, SHADERTYPE_BLENDPIXELALPHA, "
              "SHADERTYPE_BLENDCONSTANTALPHA and SHADERTYPE_BLENDCOMBINEDALPHA.",
              MessageOf([&] { actor->ApplyStringProperty("shaderType", "SHADERTYPE_FAST"); }));
    EXPECT_EQ("shaderTypeObject has the unusable type: boolean\nActor: \"shaderType\" needs a "
              "shader type name or number, not the boolean true.",
              MessageOf([&] { actor->ApplyBoolProperty("shaderType", true); }));
    LuaPlus::LuaObject table;
    table.AssignNewTable(GetGlobalLuaState());
    EXPECT_EQ(0u, MessageOf([&] {
                      actor->SetShaderType(table);
                  }).find("shaderTypeObject has the unusable type: table"));
    actor->ApplyIntProperty("alpha", 0x1FF);
    EXPECT_EQ(255, actor->GetAlpha());
    EXPECT_EQ(255, actor->GetImage()->GetAlpha());
    actor->ApplyBoolProperty("useCombinedAlpha", true);
    EXPECT_NE(0u, actor->GetDrawMode() & DRAWMODE_COMBINED_ALPHA);
    // Turning colour fill off keeps the combined-alpha choice, whichever came first.
    actor->ApplyBoolProperty("color", false);
    EXPECT_NE(0u, actor->GetDrawMode() & DRAWMODE_COMBINED_ALPHA);
    std::unique_ptr<Actor> both =
        MakeActor("{class = 'Actor', color = false, useCombinedAlpha = true}");
    EXPECT_EQ(DRAWMODE_DEFAULT | DRAWMODE_COMBINED_ALPHA, both->GetDrawMode());

    LuaObject back;
    back.AssignNewTable(GetGlobalLuaState());
    actor->RetrieveProperties(back);
    EXPECT_EQ("one", back["image"].ToString());
    EXPECT_EQ(0, back["zorder"].GetInteger());
    EXPECT_TRUE(back["color"].IsNil());
}

TEST_F(SceneTest, ChildrenAndGroupsComeFromTablesNamedByTheirKeys)
{
    Run("_testGrid = nil");
    std::unique_ptr<Actor> panel = MakeActor(
        "{class = 'Actor', size = {30, 10},"
        " children = { OkButton = {class = 'Actor', zorder = 2},"
        "              {class = 'Actor', zorder = 1, alignment = 'TopRight', size = {4, 4}} },"
        " groups = { Buttons = {class = 'ActorGroup'} } }");
    ASSERT_EQ(2u, panel->GetChildren().size());
    Actor* first = panel->GetChildren().front();
    EXPECT_EQ("", first->GetName());
    EXPECT_EQ(26, first->GetX()); // aligned against the panel
    EXPECT_EQ(panel->GetChild("OkButton", false), panel->GetChildren().back());
    ASSERT_NE(nullptr, panel->FindGroup("Buttons", false));

    // An entry that makes something else is left out, named once; the children stay.
    {
        bbtest::LogCapture log;
        panel->ApplyProperty("children", Table("{ {class = 'ActorGroup'} }"));
        EXPECT_NE(std::string::npos,
                  log.Text().find("\"children\" takes actors, not an object of class ActorGroup; "
                                  "it is left out"))
            << log.Text();
    }
    EXPECT_EQ(2u, panel->GetChildren().size());

    // "layoutManager" lays the children out at once.
    GridLayout grid;
    grid.ApplyProperties(Table("{columns = 2, rows = 1, columnWidths = {7}, "
                               "defaultColumnWidth = 3}"));
    panel->ApplyProperty("layoutManager", grid.GetLuaObject());
    EXPECT_EQ(0, first->GetX());
    EXPECT_EQ(7, panel->GetChildren().back()->GetX());
    panel->SetLayoutManager(nullptr);
}

TEST_F(SceneTest, ImageResourcesBecomeTheActorsPicture)
{
    Image* strip = new Image(6, 4, 2, 0, Color(0, 255, 0));
    bbtest::AddImageResource("scene-strip.png", strip);
    std::unique_ptr<Actor> actor = MakeActor("{class = 'Actor', image = 'scene-strip.png', "
                                             "frame = 1, position = {x = 2, y = 3}}");
    EXPECT_EQ("scene-strip.png", actor->GetImageName());
    EXPECT_EQ(6, actor->GetWidth());
    EXPECT_EQ(1, actor->GetFrame());
    std::unique_ptr<Actor> fromResource(Actor::CreateFromResource("scene-strip.png"));
    EXPECT_EQ(4, fromResource->GetHeight());

    Actor root;
    root.AddChild(actor.release(), "");
    bbtest::PassHarness passes(&root, 10, 10);
    passes.Step();
    EXPECT_EQ(Argb(0, 0, 255, 0), passes.Pixel(2, 3) & 0xFFFFFF);
    EXPECT_EQ(0u, passes.Pixel(1, 3));

    Run("Resources.SceneNotAnImage = {size = {1, 1}}");
    EXPECT_NE(std::string::npos, MessageOf([] { Actor::NewImageFromResource("SceneNotAnImage"); })
                                     .find("no such picture \"SceneNotAnImage\" (the resource of "
                                           "that name is a table resource)"));
}

} // namespace scenetest
