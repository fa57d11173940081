// The artefact: its texts come from the Artifacts table, its picture fits a width and
// stands in for a missing work, it answers as a button, and on the play field it stays
// covered until the bricks over it are gone, then shows with its score and sparkles; a
// won level that hid one shows the artefact letter before the end-of-level letter.
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "core/ClassManager.h"
#include "display/Image.h"
#include "field/Brick.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "screens/Artefact.h"
#include "screens/ArtifactDialog.h"
#include "screens/Dialog.h"
#include "support/engine/InputEvents.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using gametest::GameFixture;
using leveltest::Constants;
using leveltest::Globals;

namespace {

// A field with two bricks over the artefact and one brick beside it.
const char* const kLevels = R"({
    Hidden = { fullName = "Hidden", backgroundName = "bkgSplash.jpg",
        artefact = { name = "artifactKite.jpg", position = { 200, 100 }, constrainWidth = 64,
                     score = 1500 },
        compiledBricks = {
            { resource = "ArtefactCoverBrick", position = { 6, 5 } },
            { resource = "ArtefactCoverBrick", position = { 7, 5 } },
            { resource = "RedBrick", position = { 12, 5 }, necessary = true } },
        paddleStarts = { { position = { 288, 416 }, ballStart = { paddleName = "Server" } } } } })";

class ArtefactTest : public GameFixture
{
protected:
    ArtefactTest()
        : globals{{"Levels", kLevels}}, constants{{"LevelOrder", "{ { 'Hidden' } }"},
                                                  {"EpisodeNames", "{ 'Cape' }"}}
    {
    }

    // The level in play with its ball served.
    void StartPlaying()
    {
        NewGame("{gameType = 'Adventure', levelName = 'Hidden', ballsLeft = 3}");
        logic->StartGame();
        ASSERT_LT(StepUntilState("WaitForSpawn", 200), 200) << "stuck in " << State();
        passes.Step(27);
        Click(true);
        Click(false);
        ASSERT_EQ("Playing", State());
    }
    Artefact* FieldArtefact() const { return dynamic_cast<Artefact*>(logic->GetArtefact()); }
    std::vector<Brick*> Bricks(const std::string& resource) const
    {
        std::vector<Brick*> found;
        for (Actor* actor : logic->GetBricks().GetMembers()) {
            LuaPlus::LuaObject uncover;
            actor->RetrieveProperty(uncover, "mustUncover");
            const bool cover = uncover.IsBoolean() && uncover.GetBoolean();
            if ((resource == "cover") == cover)
                found.push_back(static_cast<Brick*>(actor));
        }
        return found;
    }
    void Break(Brick* brick)
    {
        brick->Destroy(nullptr, logic, brick->GetX(), brick->GetY(), true);
        logic->CheckForLevelEnd(brick->GetX(), brick->GetY());
    }

    Globals globals;
    Constants constants;
    LevelManager manager;
};

} // namespace

TEST_F(ArtefactTest, TextsComeFromTheTableAndAnUnknownNameStandsForItsOwnTexts)
{
    Artefact known("artifactScream.jpg");
    EXPECT_EQ("The Echo in the Cellar", known.GetTitle());
    EXPECT_EQ("Tamsin Orrovey", known.GetArtist());
    EXPECT_NE(known.GetDescription(), known.GetArtefactName());
    // A name without an entry shows itself, and its picture is the missing work's.
    Artefact unknown("artifactNowhere.jpg");
    EXPECT_EQ("artifactNowhere.jpg", unknown.GetTitle());
    EXPECT_EQ("artifactNowhere.jpg", unknown.GetDescription());
    EXPECT_EQ("artifactGone.png", unknown.GetImageName());
}

TEST_F(ArtefactTest, AWidthLimitScalesOnlyWiderPicturesOnceAndKeepsTheirShape)
{
    Artefact art("artifactCondor.jpg");
    const int w = art.GetWidth();
    const int h = art.GetHeight();
    ASSERT_GT(w, 100);
    EXPECT_EQ(0, art.GetFrame()) << "made covered";

    art.SetConstrainWidth(w + 50.0);
    EXPECT_EQ(w, art.GetWidth());
    art.SetConstrainWidth(w / 2.0);
    EXPECT_EQ(w / 2, art.GetWidth());
    EXPECT_NEAR(h / 2.0, art.GetHeight(), 1.0);
    // Applied again (or re-applied by a new name), the picture is scaled from its own size.
    art.SetConstrainWidth(w / 2.0);
    EXPECT_EQ(w / 2, art.GetWidth());
    art.SetName("artifactKite.jpg");
    EXPECT_EQ(w / 2, art.GetWidth());
    EXPECT_EQ(1, art.GetFrame());
}

TEST_F(ArtefactTest, AMissingWorkShowsTheEmptyFrameAtThePicturesOwnSize)
{
    auto made = std::unique_ptr<Object>(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{ class = 'Artefact', artefact = 'artifactLemur.jpg', missing = true }")));
    auto* art = dynamic_cast<Artefact*>(made.get());
    ASSERT_NE(nullptr, art);
    Artefact own("artifactLemur.jpg");
    EXPECT_TRUE(art->IsMissing());
    EXPECT_EQ("artifactGone.png", art->GetImageName());
    EXPECT_EQ(0, art->GetFrame());
    EXPECT_EQ(own.GetWidth(), art->GetWidth());
    EXPECT_EQ(own.GetHeight(), art->GetHeight());
    art->SetMissing(false);
    EXPECT_EQ("artifactLemur.jpg", art->GetImageName());
}

TEST_F(ArtefactTest, AButtonArtefactReportsItsPressAndClickAndPlaysItsClick)
{
    auto made = std::unique_ptr<Object>(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{ class = 'Artefact', artefact = 'artifactKite.jpg', isButton = true }")));
    auto* art = dynamic_cast<Artefact*>(made.get());
    ASSERT_NE(nullptr, art);
    ASSERT_TRUE(art->IsButton());
    EXPECT_EQ("Active", art->GetStateName());
    EXPECT_FALSE(art->GetHighlight()->IsVisible());

    art->OnEvent(MakeEvent(MAKO_MOUSEENTER, 0, static_cast<Object*>(art)));
    EXPECT_EQ("Highlighted", art->GetStateName());
    EXPECT_TRUE(art->GetHighlight()->IsVisible());
    const int x = art->GetX();
    Event down{};
    down.button.type = SDL_MOUSEBUTTONDOWN;
    down.button.button = SDL_BUTTON_LEFT;
    art->OnEvent(down);
    EXPECT_EQ("Pressed", art->GetStateName());
    EXPECT_EQ(x + 1, art->GetX());
    passes.Step();
    EXPECT_EQ(1, sounds.Count("click2.ogg")) << "its own press reaches it and clicks";

    Event up = down;
    up.button.type = SDL_MOUSEBUTTONUP;
    art->OnEvent(up);
    EXPECT_EQ("Highlighted", art->GetStateName());
    EXPECT_EQ(x, art->GetX());
    EXPECT_FALSE(art->IsPressed());

    // An inactive artefact is not pressed.
    art->Deactivate();
    art->OnEvent(down);
    EXPECT_EQ("Highlighted", art->GetStateName());

    // A press and a release where a fresh one lies click it, with no entry handled first.
    auto again = std::unique_ptr<Object>(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{ class = 'Artefact', artefact = 'artifactKite.jpg', isButton = true }")));
    auto* fresh = dynamic_cast<Artefact*>(again.get());
    ASSERT_NE(nullptr, fresh);
    EXPECT_TRUE(fresh->OnEvent(bbtest::MouseDown(2, 2)));
    EXPECT_EQ("Pressed", fresh->GetStateName());
    EXPECT_TRUE(fresh->OnEvent(bbtest::MouseUp(2, 2)));
    EXPECT_EQ("Highlighted", fresh->GetStateName());
    EXPECT_FALSE(fresh->IsPressed());
}

TEST_F(ArtefactTest, TheArtefactShowsOnceTheLastBrickOverItIsGoneWithItsScoreAndSparkles)
{
    StartPlaying();
    Artefact* art = FieldArtefact();
    ASSERT_NE(nullptr, art);
    EXPECT_EQ(layer, art->GetParent());
    EXPECT_EQ(64, art->GetWidth());
    EXPECT_TRUE(art->IsCovered());
    EXPECT_EQ(0, art->GetFrame());
    // It lies under the bricks on the field.
    const std::vector<Brick*> covers = Bricks("cover");
    ASSERT_EQ(2u, covers.size());
    EXPECT_LT(art->GetZOrder(), covers[0]->GetZOrder());

    const int score = logic->GetScore();
    const std::size_t texts = logic->GetFlyingTexts().GetMembers().size();
    const std::size_t emitters = logic->GetEmitters().GetMembers().size();
    Break(covers[0]);
    EXPECT_TRUE(art->IsCovered()) << "one brick still covers it";
    EXPECT_EQ(0, sounds.Count("Pickup_Magic34.ogg"));

    const int afterFirst = logic->GetScore();
    Break(covers[1]);
    EXPECT_FALSE(art->IsCovered());
    EXPECT_EQ(1, art->GetFrame());
    EXPECT_EQ(1, sounds.Count("Pickup_Magic34.ogg"));
    EXPECT_GE(logic->GetScore() - afterFirst, 1500);
    EXPECT_GT(afterFirst, score) << "the brick's own points";
    EXPECT_GE(logic->GetFlyingTexts().GetMembers().size(), texts + 1);
    EXPECT_GE(logic->GetEmitters().GetMembers().size(), emitters + 4);
    EXPECT_EQ("Playing", State()) << "the brick beside it is still required";

    // A later check does not reveal it again.
    logic->CheckForLevelEnd(0, 0);
    EXPECT_EQ(1, sounds.Count("Pickup_Magic34.ogg"));
}

TEST_F(ArtefactTest, UncoveringWithoutAScoreAddsNoTextAndNoPoints)
{
    StartPlaying();
    Artefact* art = FieldArtefact();
    ASSERT_NE(nullptr, art);
    art->SetScore(0);
    const int score = logic->GetScore();
    const std::size_t texts = logic->GetFlyingTexts().GetMembers().size();
    const std::size_t emitters = logic->GetEmitters().GetMembers().size();
    art->SetCovered(false, logic);
    EXPECT_EQ(score, logic->GetScore());
    EXPECT_EQ(texts, logic->GetFlyingTexts().GetMembers().size());
    EXPECT_EQ(emitters + 4, logic->GetEmitters().GetMembers().size());
    EXPECT_EQ(1, sounds.Count("Pickup_Magic34.ogg"));
}

TEST_F(ArtefactTest, WinningShowsTheArtefactLetterBeforeTheEndOfLevelLetter)
{
    StartPlaying();
    for (Brick* brick : Bricks("cover"))
        Break(brick);
    Break(Bricks("plain").front());
    ASSERT_EQ("LevelCompleted", State());
    ASSERT_LT(StepUntilState("ShowArtifactDialog", 300), 300) << "stuck in " << State();

    ASSERT_TRUE(screen->IsDialogVisible());
    auto* letter = dynamic_cast<ArtifactDialog*>(screen->GetTopDialog(""));
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Recovered!", letter->GetTitle()->GetText());
    auto* title = dynamic_cast<Label*>(letter->GetChild("artifactTitle"));
    auto* artist = dynamic_cast<Label*>(letter->GetChild("artifactArtist"));
    auto* picture = dynamic_cast<Artefact*>(letter->GetChild("artifactImage"));
    ASSERT_TRUE(title && artist && picture);
    EXPECT_EQ("A Hundred Kites over the Wall", title->GetText());
    EXPECT_EQ("Lin Weishan", artist->GetText());
    EXPECT_EQ("artifactKite.jpg", picture->GetArtefactName());
    EXPECT_EQ(1, picture->GetFrame());
    EXPECT_EQ(1, sounds.Count("Pickup_Secret03.ogg"));

    // The letter waits for its okay; then the end-of-level letter follows.
    passes.Step(20);
    EXPECT_EQ("ShowArtifactDialog", State());
    letter->OnEvent(
        MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(letter->GetChild("OkayButton"))));
    ASSERT_TRUE(letter->IsStopping());
    // The application hands the stop to the screen and so to the controller.
    screen->OnEvent(MakeEvent(MAKO_DIALOGSTOPPED, 0, static_cast<Object*>(letter)));
    EXPECT_NE("ShowArtifactDialog", State());
    EXPECT_NE("LevelCompleted", State());
}
