// The in-game meters driven through a real controller: the marquee's timers, the hit
// meter's count and blink, the combo meter's windows, payouts and removals, and the letter
// tiles.
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/TimerManager.h"
#include "field/Brick.h"
#include "scene/SceneHost.h"
#include "screens/ComboMeter.h"
#include "screens/HitMeter.h"
#include "screens/Marquee.h"
#include "screens/PowerMeter.h"
#include "support/engine/FieldWorld.h"
#include "widgets/Label.h"

#include <memory>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

class MeterTest : public GameFixture
{
protected:
    MeterTest() { NewGame(); }

    Marquee* marquee() const { return logic->m_Marquee; }
    HitMeter* meter() const { return logic->m_HitMeter; }
    ComboMeter* combos() const { return logic->m_ComboMeter; }

    // Passes of 32 ms for at least that many milliseconds; the clock of real-time timers
    // moves with them.
    void Wait(int ms)
    {
        TimerManager* timers = SceneHost::GetTimerManager();
        for (int i = 0; i < (ms + 31) / 32; ++i) {
            timers->SetFrameTime(timers->GetFrameTime() + 32);
            passes.Step(1);
        }
    }

    void SetCombos(const std::string& table)
    {
        combos()->ApplyClassicProperty("combos", bbtest::EvalLua(table));
    }
    void Catch(const std::string& item) { logic->OnPaddleCombo(item, 100, 200); }

    // Which of the ten icons are lit, as a string of 0s and 1s.
    std::string Icons() const
    {
        std::string lit;
        for (int i = 1; i <= HitMeter::kIcons; ++i)
            lit += meter()->GetIconFrame(i) == 1 ? '1' : '0';
        return lit;
    }
};

} // namespace

// ---- Marquee ---------------------------------------------------------------------------------

TEST_F(MeterTest, TheMarqueeRunsAlongTheBottomOfThePlayLayerAndCentresItsText)
{
    Actor* parent = new Actor();
    parent->SetPosition(10, 20);
    parent->SetSize(640, 480);
    Marquee* strip = new Marquee();
    parent->AddChild(strip, "Marquee");
    EXPECT_EQ(26, strip->GetX());
    // Its lower edge one pixel inside the layer's, so that its letters keep off the window's edge.
    EXPECT_EQ(20 + 480 - 1 - Marquee::kHeight, strip->GetY());
    EXPECT_EQ(608, strip->GetWidth());
    EXPECT_EQ(Marquee::kHeight, strip->GetHeight());
    strip->SetMessage("Hello", 0);
    Label* label = strip->GetLabel();
    EXPECT_EQ(608 / 2 - label->GetWidth() / 2, label->GetX());
    EXPECT_GT(label->GetWidth(), 0);
    delete parent;
}

TEST_F(MeterTest, AnUntimedMessageOutlivesTheTimerOfAnEarlierTimedOne)
{
    logic->ShowMessage("Ball Locked!", 500);
    Wait(200);
    logic->ShowMessage("Stays", 0);
    EXPECT_EQ(0u, marquee()->GetHideTimer());
    Wait(1000);
    EXPECT_EQ("Stays", marquee()->GetMessage());
}

TEST_F(MeterTest, OnlyTheLastTimedMessagesTimerSurvivesAndCountsFromItsOwnStart)
{
    logic->ShowMessage("First", 500);
    Wait(320);
    logic->ShowMessage("Second", 500);
    Wait(320); // 640 ms after the first: its timer would have fired by now
    EXPECT_EQ("Second", marquee()->GetMessage());
    Wait(256);
    EXPECT_EQ("", marquee()->GetMessage());
    EXPECT_EQ(0u, marquee()->GetHideTimer());
}

// ---- Hit meter -------------------------------------------------------------------------------

TEST_F(MeterTest, PaddleHitsLightTheMeterUntilTheLimitStartsItAgain)
{
    for (int i = 0; i < 3; ++i)
        logic->CountPaddleHit();
    EXPECT_EQ(3, meter()->GetCount());
    EXPECT_EQ("1110000000", Icons());
    for (int i = 0; i < 7; ++i)
        logic->CountPaddleHit();
    EXPECT_EQ(0, meter()->GetCount()); // the tenth hit earned the reward
    EXPECT_EQ("0000000000", Icons());
    EXPECT_EQ(10, logic->m_PaddleHits);

    logic->m_Bonus = ArcadeGameLogic::kMaxPaddlePower;
    logic->CountPaddleHit();
    EXPECT_EQ(0, meter()->GetCount());
    EXPECT_EQ(10, logic->m_PaddleHits);
}

TEST_F(MeterTest, AHitLimitBelowOneIsTakenAsOne)
{
    leveltest::Constants limit({{"HitCounterLimit", "0"}});
    NewGame();
    EXPECT_EQ(1, logic->m_HitCounterLimit);
    logic->CountPaddleHit(); // every hit earns the reward, without a division by zero
    EXPECT_EQ(0, meter()->GetCount());
}

TEST_F(MeterTest, AFullMeterBlinksEveryThirtyTicksAndAHeldOneStaysLit)
{
    for (int i = 0; i < 10; ++i)
        meter()->AddHit();
    std::vector<std::string> seen;
    for (int tick = 1; tick <= 31; ++tick) {
        meter()->Tick();
        if (tick == 1 || tick == 14 || tick == 15 || tick == 29 || tick == 31)
            seen.push_back(Icons());
    }
    EXPECT_EQ((std::vector<std::string>{"1111111111", "1111111111", "0000000000", "0000000000",
                                        "1111111111"}),
              seen);

    meter()->Reset();
    meter()->Fill();
    meter()->SetHoldWhenFull(true);
    for (int tick = 0; tick < 30; ++tick)
        meter()->Tick();
    EXPECT_TRUE(meter()->IsHeld());
    for (int tick = 0; tick < 20; ++tick)
        meter()->Tick();
    EXPECT_EQ("1111111111", Icons());
    meter()->AddHit(); // a held meter counts nothing
    EXPECT_EQ(10, meter()->GetCount());

    meter()->SetHoldWhenFull(false);
    EXPECT_FALSE(meter()->IsHeld());
    EXPECT_EQ("0000000000", Icons());
    meter()->Tick();
    EXPECT_EQ("1111111111", Icons()); // blinking again
}

// ---- Combo meter -----------------------------------------------------------------------------

TEST_F(MeterTest, ThreeDifferentLootCatchesInTimePayTheDefaultComboTwiceAtMost)
{
    bbtest::SoundLog sounds;
    const int before = logic->m_Score;
    Catch("BlingCoin");
    Catch("BlingCoin"); // the same item counts once
    Catch("ExtraBall"); // not a requirement, and the attempt goes on
    Wait(320);
    Catch("BlingRuby");
    Wait(800); // within 666 ms + 666 ms of the first catch
    Catch("BlingDiamond");
    EXPECT_EQ(before + 250, logic->m_Score);
    EXPECT_EQ("Triple Loot Trick! $250!", marquee()->GetMessage());
    EXPECT_EQ(1, sounds.Count("attention5.ogg"));
    ASSERT_EQ(1u, combos()->GetCombos().size());
    EXPECT_EQ(1, combos()->GetCombos()[0].completions);

    Wait(3100);
    EXPECT_EQ("", marquee()->GetMessage()); // shown for 3 s
    for (const char* item : {"BlingCoin", "BlingEmerald", "BlingRuby"})
        Catch(item);
    EXPECT_EQ(before + 500, logic->m_Score);
    EXPECT_TRUE(combos()->GetCombos().empty());
    for (const char* item : {"BlingCoin", "BlingEmerald", "BlingRuby"})
        Catch(item);
    EXPECT_EQ(before + 500, logic->m_Score);
}

TEST_F(MeterTest, AnExpiredWindowEndsTheAttempt)
{
    Catch("BlingCoin");
    EXPECT_NE(0u, combos()->GetCombos()[0].timer);
    Wait(700);
    EXPECT_EQ(0u, combos()->GetCombos()[0].timer);
    EXPECT_TRUE(combos()->GetCombos()[0].progress.empty());
    const int before = logic->m_Score;
    Catch("BlingEmerald");
    Catch("BlingRuby");
    EXPECT_EQ(before, logic->m_Score);
    EXPECT_EQ(2u, combos()->GetCombos()[0].progress.size());
}

TEST_F(MeterTest, AnOrderedComboTakesItsRequirementsCyclicallyAndRepeatsWithoutLimit)
{
    SetCombos("{{comboType = 'Powerups', numberRequired = 3, requirements = {'A', 'B'},"
              " inOrder = true, timeLimit = 30, rewardScore = 1500, rewardText = 'ABA'}}");
    bbtest::SoundLog sounds;
    const int before = logic->m_Score;
    for (int round = 0; round < 3; ++round)
        for (const char* item : {"B", "A", "A", "B", "A"})
            Catch(item);
    EXPECT_EQ(before + 3 * 1500, logic->m_Score);
    EXPECT_EQ(3, sounds.Count("Pickup_Magic33.ogg"));
    EXPECT_EQ(3, sounds.Count("claps.ogg"));
    EXPECT_EQ(1u, combos()->GetCombos().size());
}

TEST_F(MeterTest, ARemovedComboDoesNotHideTheNextOneFromTheSameCatch)
{
    SetCombos("{{comboType = 'Powerups', numberRequired = 1, requirements = {'X'},"
              " timeLimit = 1, rewardScore = 10, repetitions = 1, rewardText = 'one'},"
              " {comboType = 'Powerups', numberRequired = 1, requirements = {'X'},"
              " timeLimit = 1, rewardScore = 500, repetitions = 1.5, rewardText = 'two'}}");
    ASSERT_EQ(-1, combos()->GetCombos()[1].repetitions); // not an integer: no limit
    const int before = logic->m_Score;
    Catch("X");
    EXPECT_EQ(before + 510, logic->m_Score);
    ASSERT_EQ(1u, combos()->GetCombos().size());
    EXPECT_EQ("two", combos()->GetCombos()[0].rewardText);
}

TEST_F(MeterTest, MalformedCombosAreRefusedNamingTheCombo)
{
    const std::string base = "comboType = 'Colors', timeLimit = 1, rewardScore = 1";
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"{{" + base + ", numberRequired = 0, rewardText = 'zero'}}", "\"zero\""},
        {"{{" + base + ", numberRequired = 2, inOrder = true, rewardText = 'bare'}}", "\"bare\""},
        {"{{" + base + ", numberRequired = 2}}", "rewardText"},
        {"{{comboType = 'Shapes', numberRequired = 2, rewardText = 'odd'}}", "\"odd\""},
        {"{7}", "comboValue.IsTable()"},
    };
    for (const auto& entry : bad) {
        try {
            SetCombos(entry.first);
            ADD_FAILURE() << "accepted " << entry.first;
        } catch (const Exception& e) {
            EXPECT_NE(std::string::npos, e.GetMessage().find(entry.second)) << e.GetMessage();
        }
    }
}

TEST_F(MeterTest, BrickCombosCountDestroyingOrOtherHitsAsTheyAsk)
{
    SetCombos("{{comboType = 'Colors', numberRequired = 2, timeLimit = 10, rewardScore = 7,"
              " rewardText = 'colours'},"
              " {comboType = 'Colors', numberRequired = 2, timeLimit = 10, rewardScore = 100,"
              " mustDestroy = false, rewardText = 'knocks'}}");
    std::unique_ptr<Object> red(
        ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua("{class = 'Brick'}")));
    std::unique_ptr<Object> blue(
        ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua("{class = 'Brick'}")));
    Brick* redBrick = static_cast<Brick*>(red.get());
    Brick* blueBrick = static_cast<Brick*>(blue.get());
    redBrick->SetScriptField("textureOnly", bbtest::EvalLua("'Red'"));
    blueBrick->SetScriptField("textureOnly", bbtest::EvalLua("'Blue'"));

    const int before = logic->m_Score;
    logic->OnBrickCombo(redBrick, 0, 0, 0);
    logic->OnBrickCombo(redBrick, 1, 0, 0);
    EXPECT_EQ(before, logic->m_Score);
    logic->OnBrickCombo(blueBrick, 1, 0, 0);
    EXPECT_EQ(before + 7, logic->m_Score);
    logic->OnBrickCombo(blueBrick, 0, 0, 0);
    EXPECT_EQ(before + 107, logic->m_Score);
}

// ---- Letter power meter ----------------------------------------------------------------------

TEST_F(MeterTest, LettersLightTheirOwnTileAndTheRowIsCompleteOnlyWithAllEight)
{
    PowerMeter& letters = *logic->m_PowerMeter;
    EXPECT_EQ("1B.Off.png", letters.GetTile(0)->GetImageName());
    letters.SetLetter('E', true);
    EXPECT_EQ("3E.On.png", letters.GetTile(2)->GetImageName());
    EXPECT_EQ("2R.Off.png", letters.GetTile(1)->GetImageName());
    letters.SetLetter('E', true);
    EXPECT_TRUE(letters.IsLit('E'));
    for (char c : std::string("BREAKOU"))
        letters.SetLetter(c, true);
    EXPECT_FALSE(letters.AllLettersLit());
    letters.SetLetter('T', true);
    EXPECT_TRUE(letters.AllLettersLit());
    EXPECT_EQ("8T.On.png", letters.GetTile(7)->GetImageName());
    letters.Reset();
    EXPECT_FALSE(letters.IsLit('B'));
    EXPECT_EQ("8T.Off.png", letters.GetTile(7)->GetImageName());

    EXPECT_THROW(letters.SetLetter('b', true), Exception);
    EXPECT_THROW(PowerMeter::IdxToChar(8), Exception);
    EXPECT_EQ('K', PowerMeter::IdxToChar(PowerMeter::CharToIdx('K')));
}
