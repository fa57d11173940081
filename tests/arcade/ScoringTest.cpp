// What play earns: power-up effects, paddle power with its music and tempo, prompts, and
// the heads-up labels with the play clock.
#include "GameApp.h"
#include "GameFixture.h"
#include "LevelTestSupport.h"

#include "core/ClassManager.h"
#include "field/Ball.h"
#include "field/FlyingText.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/PowerupKind.h"
#include "field/Shield.h"
#include "logic/PowerupEffect.h"
#include "physics/PhysicsBody.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/HitMeter.h"
#include "screens/Marquee.h"
#include "screens/PowerMeter.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

template <typename T> T* Instantiate(const std::string& table)
{
    Object* made = ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua(table));
    T* typed = dynamic_cast<T*>(made);
    if (!typed)
        delete made;
    return typed;
}

class ScoringTest : public GameFixture
{
protected:
    ScoringTest() { NewGame(); }

    Powerup* Drop(const std::string& kind, int score = -1)
    {
        Powerup* powerup = Instantiate<Powerup>("{class = '" + kind + "'}");
        EXPECT_NE(nullptr, powerup) << kind;
        if (!powerup)
            return nullptr;
        if (score >= 0)
            powerup->SetScore(score);
        powerup->SetPosition(300, 200);
        logic->AddPowerup(powerup);
        return powerup;
    }
    Ball* ActiveBall(double vx, double vy)
    {
        Ball* ball = new Ball(320, 240, vx, vy, true);
        logic->AddBall(ball);
        return ball;
    }
    Paddle* AddPaddle()
    {
        Paddle* paddle = new Paddle(false, false);
        paddle->SetPosition(288, 440);
        logic->AddPaddle(paddle);
        return paddle;
    }
    std::vector<std::string> FlyingTexts()
    {
        std::vector<std::string> texts;
        for (Actor* actor : logic->GetFlyingTexts().GetMembers())
            if (auto* text = dynamic_cast<FlyingText*>(actor))
                texts.push_back(text->GetLabel()->GetText());
        return texts;
    }
    std::vector<Ball*> Balls()
    {
        std::vector<Ball*> balls;
        for (Actor* actor : logic->GetBalls().GetMembers())
            balls.push_back(static_cast<Ball*>(actor));
        return balls;
    }
};

using Texts = std::vector<std::string>;

} // namespace

// ---- Power-up effects ---------------------------------------------------------------------------

TEST_F(ScoringTest, ACaughtCoinPopsJinglesFliesItsValueAndCountsAsLoot)
{
    Paddle* paddle = AddPaddle();
    Powerup* coin = Drop("BlingCoin");
    ASSERT_EQ(100, coin->GetScore());
    sounds.Clear();
    logic->CollectPowerup(coin, paddle);
    EXPECT_EQ((Texts{"pop2.ogg", "coins.ogg"}), sounds.Names());
    EXPECT_EQ(Texts{"100"}, FlyingTexts()); // a value text, no message
    EXPECT_EQ(1, logic->m_LootCaught);
    EXPECT_EQ(Texts{"BlingCoin"}, paddle->GetCaughtLoot());
    passes.Step();
    EXPECT_EQ("Loot: 100", logic->m_ScoreLabel->GetText());

    // Handed out by the level: the same, but no paddle keeps it.
    logic->CollectPowerup(Drop("BlingCoin"), nullptr);
    EXPECT_EQ(2, logic->m_LootCaught);
    EXPECT_EQ(1u, paddle->GetCaughtLoot().size());

    logic->AddScore(12300);
    passes.Step();
    EXPECT_EQ("Loot: 12,500", logic->m_ScoreLabel->GetText());
}

TEST_F(ScoringTest, MessagesFlyOnlyForACatchAndASecretWithoutValueAddsNothing)
{
    Paddle* paddle = AddPaddle();
    logic->CollectPowerup(Drop("Secret", 0), paddle);
    EXPECT_EQ(Texts{"Found Secret!"}, FlyingTexts());
    EXPECT_EQ(1, logic->m_SecretFound);
    EXPECT_EQ(0, logic->GetScore());

    logic->GetFlyingTexts().KillAll();
    logic->CollectPowerup(Drop("ExpandPaddle"), nullptr); // the level's gift: the first paddle
    EXPECT_TRUE(FlyingTexts().empty());
    EXPECT_EQ(4, paddle->GetSizeIndex());
    logic->CollectPowerup(Drop("ContractPaddle"), paddle);
    logic->CollectPowerup(Drop("ContractPaddle"), paddle);
    EXPECT_EQ(2, paddle->GetSizeIndex());
    EXPECT_EQ((Texts{"Shrink!", "Shrink!"}), FlyingTexts());

    paddle->SetLaser(true);
    paddle->SetCatch(true);
    leveltest::Globals size({{"paddleInitialSizeOverride", "5"}});
    logic->CollectPowerup(Drop("NormalPaddle"), paddle);
    EXPECT_FALSE(paddle->GetLaser());
    EXPECT_FALSE(paddle->GetCatch());
    EXPECT_EQ(5, paddle->GetSizeIndex());
    EXPECT_DOUBLE_EQ(PaddleSizes[5], paddle->GetTargetWidth());
}

TEST_F(ScoringTest, PaddleEffectsWithoutAnyPaddleOnlySoundAndNameThemselves)
{
    sounds.Clear();
    logic->CollectPowerup(Drop("NormalPaddle"), nullptr);
    logic->CollectPowerup(Drop("Laser"), nullptr);
    EXPECT_EQ((Texts{"pop2.ogg", "caughtNormal.ogg", "pop2.ogg"}), sounds.Names());
}

TEST_F(ScoringTest, BallEffectsTouchOnlyBallsInPlay)
{
    Ball* active = ActiveBall(0, -200);
    Ball* resting = new Ball(100, 100, 0, 0, false);
    logic->AddBall(resting);
    logic->CollectPowerup(Drop("Breakthru"), nullptr);
    EXPECT_EQ("Breakthru", active->GetCorona());
    EXPECT_EQ("None", resting->GetCorona());

    logic->CollectPowerup(Drop("HeavyBall"), nullptr);
    EXPECT_EQ("Lead", active->GetSubstance());
    EXPECT_EQ(3, active->GetSizeIndex());
    logic->CollectPowerup(Drop("HeavyBall"), nullptr); // already lead: no growth
    EXPECT_EQ(3, active->GetSizeIndex());

    logic->CollectPowerup(Drop("NormalBall"), nullptr);
    EXPECT_EQ(2, active->GetSizeIndex());
    EXPECT_EQ("None", active->GetSubstance());
    EXPECT_EQ("None", active->GetCorona());
    EXPECT_EQ(2, resting->GetSizeIndex());
}

TEST_F(ScoringTest, FasterAndSlowerStepTheSpeedLevelWithinTenOnlyWithABallInPlay)
{
    logic->CollectPowerup(Drop("Faster"), nullptr);
    EXPECT_EQ(0, logic->m_Speed); // no ball in play
    ActiveBall(0, -200);
    for (int i = 0; i < 11; ++i)
        logic->CollectPowerup(Drop("Faster"), nullptr);
    EXPECT_EQ(10, logic->m_Speed);
    for (int i = 0; i < 21; ++i)
        logic->CollectPowerup(Drop("Slower"), nullptr);
    EXPECT_EQ(-10, logic->m_Speed);
}

TEST_F(ScoringTest, ASplitTurnsEachBallInPlayIntoThreeThirtyDegreesApart)
{
    ActiveBall(0, -200);
    ActiveBall(150, 0);
    logic->CollectPowerup(Drop("Split"), nullptr);
    const std::vector<Ball*> balls = Balls();
    ASSERT_EQ(6u, balls.size());
    auto angleOf = [](Ball* ball) {
        const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
        return std::atan2(v.y, v.x) * 180.0 / M_PI;
    };
    // Each parent, then its two new balls at -30 and +30 degrees.
    EXPECT_NEAR(-90.0, angleOf(balls[0]), 0.01);
    EXPECT_NEAR(0.0, angleOf(balls[1]), 0.01);
    EXPECT_NEAR(-120.0, angleOf(balls[2]), 0.01);
    EXPECT_NEAR(-60.0, angleOf(balls[3]), 0.01);
    EXPECT_NEAR(-30.0, angleOf(balls[4]), 0.01);
    EXPECT_NEAR(30.0, angleOf(balls[5]), 0.01);
}

TEST_F(ScoringTest, EveryLetterLightsItsOwnTileAndAllEightEarnTheArcadeBonus)
{
    PowerMeter* meter = logic->m_PowerMeter.get();
    ASSERT_NE(nullptr, meter);
    const int last = PowerMeter::kLetters - 1;
    for (int i = 0; i < last; ++i) {
        const char letter = PowerMeter::IdxToChar(i);
        logic->CollectPowerup(Drop(std::string("Letter") + letter), nullptr);
        EXPECT_TRUE(meter->IsLit(letter)) << letter;
    }
    EXPECT_FALSE(meter->IsLit(PowerMeter::IdxToChar(last)));
    logic->CollectPowerup(Drop(std::string("Letter") + PowerMeter::IdxToChar(last)), nullptr);
    EXPECT_FALSE(meter->AllLettersLit()); // the full word was paid out and starts again
    EXPECT_EQ("ARCADE bonus awarded!", logic->m_Marquee->GetMessage());
}

TEST_F(ScoringTest, ShieldsRiseAndPowerUpsOfPaddlePowerMoveTheLevel)
{
    Shield* shield = new Shield("Bottom");
    logic->AddShield(shield);
    const int before = shield->GetLevel();
    logic->CollectPowerup(Drop("IncreaseShield"), nullptr);
    EXPECT_EQ(before + 1, shield->GetLevel());

    logic->CollectPowerup(Drop("IncreasePaddlePower"), nullptr);
    EXPECT_EQ(1, logic->m_Bonus);
    EXPECT_EQ("Paddle Power Up!", logic->m_Marquee->GetMessage());
    logic->CollectPowerup(Drop("DecreasePaddlePower"), nullptr);
    logic->CollectPowerup(Drop("DecreasePaddlePower"), nullptr);
    EXPECT_EQ(0, logic->m_Bonus);
    EXPECT_EQ(1, sounds.Count("caughtPowerDown.ogg"));
}

// Each registered kind finds its own row (no earlier row takes it), and each row names a
// registered kind once: a kind added without an effect, or a row left behind, fails here.
TEST_F(ScoringTest, EveryKindHasItsOwnEffectRowAndEveryRowIsAKind)
{
    for (const PowerupKind::Traits& kind : PowerupKind::GetKinds()) {
        std::unique_ptr<Powerup> made(
            Instantiate<Powerup>(std::string("{class = '") + kind.name + "'}"));
        ASSERT_NE(nullptr, made) << kind.name;
        const PowerupEffect* effect = PowerupEffect::Find(made->GetClass());
        ASSERT_NE(nullptr, effect) << kind.name << " has no effect";
        EXPECT_STREQ(kind.name, effect->kind);
    }
    std::vector<std::string> rows;
    for (const PowerupEffect& effect : PowerupEffect::GetAll()) {
        EXPECT_NE(nullptr, PowerupKind::FindKind(effect.kind)) << effect.kind;
        rows.push_back(effect.kind);
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows.end(), std::adjacent_find(rows.begin(), rows.end()));
    EXPECT_EQ(PowerupKind::GetKinds().size(), rows.size());
    EXPECT_EQ(nullptr, PowerupEffect::Find(nullptr));
}

namespace {

// What catching each kind must sound and say, written here from the game's rules rather
// than read from the table under test: the sounds the power-up plays after the pop (in
// order), the message a catching paddle flies, and whether the sounds wait for a paddle.
struct ExpectedCatch
{
    const char* kind;
    const char* message;
    std::vector<std::string> sounds;
    bool soundsOnlyWhenCaught;
};

const std::vector<ExpectedCatch>& ExpectedCatches()
{
    static const std::vector<ExpectedCatch> rows = {
        {"IncreaseShield", "Shield!", {}, false},
        {"Breakthru", "Breakthru Ball!", {}, false},
        {"ExtraBall", "Extra Ball!", {"score8.ogg"}, false},
        {"BlingCoin", nullptr, {"coins.ogg"}, false},
        {"GoldBrickPowerup", nullptr, {"collectGold.ogg"}, false},
        {"Secret", "Found Secret!", {"Pickup_Secret03.ogg"}, false},
        {"BlingDiamond", nullptr, {"magic2.ogg"}, false},
        {"BlingEmerald", nullptr, {"magic1.ogg"}, false},
        {"BlingRuby", nullptr, {"magic1.ogg"}, false},
        {"LetterB", "B!", {}, false},
        {"LetterR", "R!", {}, false},
        {"LetterE", "E!", {}, false},
        {"LetterA", "A!", {}, false},
        {"LetterK", "K!", {}, false},
        {"LetterO", "O!", {}, false},
        {"LetterU", "U!", {}, false},
        {"LetterT", "T!", {}, false},
        {"GlueBall", "Glue Ball!", {}, false},
        {"Lightning", "Lightning Ball!", {}, false},
        {"RubberBall", "Rubber Ball!", {}, false},
        {"HeavyBall", "Lead Ball!", {}, false},
        {"LightBall", "Beach Ball!", {}, false},
        {"BigBall", "Bigger Ball!", {"caughtBig.ogg"}, false},
        {"SmallBall", "Smaller Ball!", {"caughtSmall.ogg"}, false},
        {"NormalBall", "Normal Ball!", {"caughtNormal.ogg"}, false},
        {"Faster", "Faster!", {"caughtFaster.ogg"}, false},
        {"Slower", "Slower!", {"caughtSlower.ogg"}, false},
        {"Split", "Splitter!", {"caughtSplit.ogg"}, false},
        {"ExpandPaddle", "Expand!", {"caughtExpand.ogg"}, false},
        {"ContractPaddle", "Shrink!", {"caughtShrink.ogg"}, false},
        {"NormalPaddle", "Normal Paddle!", {"caughtNormal.ogg"}, false},
        {"PaddleCatch", "Ball Catcher!", {"paddleCatch.ogg", "Spring.ogg"}, true},
        {"IncreasePaddlePower", "Power Up!", {}, false},
        {"DecreasePaddlePower", "Power Down!", {}, false},
        {"Laser", "Laser!", {}, false},
    };
    return rows;
}

// Every sound some kind plays when caught: a kind that should be silent plays none of them.
std::vector<std::string> CatchSounds()
{
    std::vector<std::string> all;
    for (const ExpectedCatch& row : ExpectedCatches())
        all.insert(all.end(), row.sounds.begin(), row.sounds.end());
    return all;
}

} // namespace

// Caught by a paddle, every kind plays the pop, then its sounds last and in order, and flies
// its message last; granted by the level it flies no message, and the catcher's sounds stay
// silent. The game knows no kind this list leaves out.
TEST_F(ScoringTest, EveryKindSoundsAndNamesItselfAsTheGameRulesSay)
{
    Paddle* paddle = AddPaddle();
    ActiveBall(0, -200);
    const std::vector<std::string> catchSounds = CatchSounds();
    for (const ExpectedCatch& want : ExpectedCatches()) {
        for (Paddle* catcher : {paddle, static_cast<Paddle*>(nullptr)}) {
            const std::string kind = want.kind + std::string(catcher ? " caught" : " granted");
            logic->GetFlyingTexts().KillAll();
            sounds.Clear();
            logic->CollectPowerup(Drop(want.kind), catcher);
            const Texts heard = sounds.Names();
            ASSERT_FALSE(heard.empty()) << kind;
            EXPECT_EQ("pop2.ogg", heard.front()) << kind;
            const bool sounded = catcher || !want.soundsOnlyWhenCaught;
            if (sounded && !want.sounds.empty()) {
                ASSERT_GE(heard.size(), want.sounds.size() + 1) << kind;
                EXPECT_EQ(want.sounds, Texts(heard.end() - want.sounds.size(), heard.end()))
                    << kind;
            } else {
                for (const std::string& sound : catchSounds)
                    EXPECT_EQ(0, std::count(heard.begin() + 1, heard.end(), sound))
                        << kind << " played " << sound;
            }
            const Texts texts = FlyingTexts();
            if (want.message && catcher) {
                ASSERT_FALSE(texts.empty()) << kind;
                EXPECT_EQ(want.message, texts.back()) << kind;
            }
            for (const ExpectedCatch& other : ExpectedCatches())
                if (other.message && !(catcher && other.kind == want.kind)) {
                    EXPECT_EQ(0, std::count(texts.begin(), texts.end(), other.message))
                        << kind << " flew " << other.message;
                }
        }
    }
    for (const PowerupEffect& effect : PowerupEffect::GetAll())
        EXPECT_TRUE(std::any_of(
            ExpectedCatches().begin(), ExpectedCatches().end(),
            [&](const ExpectedCatch& want) { return std::string(want.kind) == effect.kind; }))
            << effect.kind << " has no expectation";
}

TEST_F(ScoringTest, ADeadPowerupIsIgnored)
{
    Powerup* coin = Drop("BlingCoin");
    coin->Kill();
    sounds.Clear();
    logic->CollectPowerup(coin, nullptr);
    EXPECT_TRUE(sounds.Names().empty());
    EXPECT_EQ(0, logic->m_LootCaught);
}

// ---- Paddle power and tempo ---------------------------------------------------------------------

TEST_F(ScoringTest, TempoFollowsPaddlePowerAndBallSpeed)
{
    struct Row
    {
        int power, speed;
        float tempo;
    };
    for (const Row& row : {Row{0, 0, 1.0f}, Row{1, 0, 1.02f}, Row{3, -2, 1.02f}, Row{16, 10, 1.52f},
                           Row{0, -10, 0.8f}})
        EXPECT_NEAR(row.tempo, ArcadeGameLogic::TempoFor(row.power, row.speed), 1e-6)
            << row.power << " " << row.speed;
}

TEST_F(ScoringTest, TenPaddleHitsRaiseThePowerAndTheSixteenthRaiseMaximisesItSilently)
{
    Paddle* paddle = AddPaddle();
    Paddle* steady = AddPaddle();
    steady->SetScriptField("noLevelUp", bbtest::EvalLua("true"));
    const double power = paddle->GetBasePower();
    sounds.Clear();
    for (int i = 0; i < 10; ++i)
        logic->CountPaddleHit();
    EXPECT_EQ(1, logic->m_Bonus);
    EXPECT_EQ("10 hits! Paddle Power Up!", logic->m_Marquee->GetMessage());
    EXPECT_EQ(1, sounds.Count("COMBO.ogg"));
    EXPECT_EQ(0, logic->m_HitMeter->GetCount());
    EXPECT_DOUBLE_EQ(power + 0.5, paddle->GetBasePower());
    EXPECT_DOUBLE_EQ(power, steady->GetBasePower());
    for (int i = 0; i < 10; ++i)
        logic->CountPaddleHit();
    EXPECT_EQ("20 hits! Paddle Power Up!", logic->m_Marquee->GetMessage());

    for (int i = 0; i < 13; ++i)
        logic->PaddlePowerUp(false);
    EXPECT_EQ(15, logic->m_Bonus);
    const int combos = sounds.Count("COMBO.ogg");
    logic->PaddlePowerUp(false);
    EXPECT_EQ(ArcadeGameLogic::kMaxPaddlePower, logic->m_Bonus);
    EXPECT_EQ("Paddle Power Maximized!", logic->m_Marquee->GetMessage());
    EXPECT_EQ(combos, sounds.Count("COMBO.ogg"));
    EXPECT_EQ(HitMeter::kIcons, logic->m_HitMeter->GetCount());

    // At the top, hits no longer count; a power-down releases the full meter's hold.
    const int hits = logic->m_PaddleHits;
    logic->CountPaddleHit();
    EXPECT_EQ(hits, logic->m_PaddleHits);
    logic->PaddlePowerDown();
    EXPECT_EQ(15, logic->m_Bonus);
    EXPECT_FALSE(logic->m_HitMeter->IsHoldingWhenFull());
    EXPECT_EQ("Paddle Power Down!", logic->m_Marquee->GetMessage());
}

// ---- Heads-up labels ----------------------------------------------------------------------------

TEST_F(ScoringTest, TheClockReadsMinutesAndSecondsAndCountsDownOnlyWhileALimitRuns)
{
    for (const auto& [seconds, text] : std::vector<std::pair<int, std::string>>{
             {0, "00:00"}, {125, "02:05"}, {195, "03:15"}, {3661, "61:01"}, {-5, "00:00"}}) {
        logic->ShowTime(seconds);
        EXPECT_EQ(text, logic->m_TimeLabel->GetText()) << seconds;
    }
    logic->m_TimeLeft = 0;
    logic->ShowTime(42);
    logic->AdvanceClock(1);
    EXPECT_EQ("00:42", logic->m_TimeLabel->GetText()); // no limit: only counted
    EXPECT_EQ(1, logic->m_ElapsedTime);
    logic->m_TimeLeft = 10;
    logic->AdvanceClock(1);
    EXPECT_EQ("00:09", logic->m_TimeLabel->GetText());
    EXPECT_EQ(2, logic->m_ElapsedTime);

    logic->ShowBallsLeft(4);
    EXPECT_EQ("4", logic->m_BallsLabel->GetText());
    logic->ShowBallsLeft(-1);
    EXPECT_EQ("4", logic->m_BallsLabel->GetText());
}

// ---- A whole game: the labels of a new player, prompts, music, keys ----------------------------

namespace {

class ScoringGameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<bbtest::GameApp>();
        if (!Sound::IsMusicActive())
            Sound::InitDirectMusic(true);
        app->StartGame();
    }
    void TearDown() override { app.reset(); }

    void Serve() { app->ClickLeft(); }
    static std::string Text(Label* label) { return label ? label->GetText() : "(none)"; }

    std::unique_ptr<bbtest::GameApp> app;
};

} // namespace

TEST_F(ScoringGameTest, ANewCasualPlayerOnWelcomeSeesItsLabelsAndTheClockRunsOnceServed)
{
    ASSERT_NE(nullptr, gLogic);
    ASSERT_EQ("WaitForSpawn", gLogic->GetStateName());
    EXPECT_EQ("Cape Horn", Text(gLogic->m_EpisodeLabel));
    EXPECT_EQ("4", Text(gLogic->m_BallsLabel));
    EXPECT_EQ("03:15", Text(gLogic->m_TimeLabel));
    EXPECT_EQ("Loot: 0", Text(gLogic->m_ScoreLabel));
    EXPECT_EQ("Click To Start - Space Bar For Menu", gLogic->m_Marquee->GetMessage());
    app->Pass(64);
    EXPECT_EQ("03:15", Text(gLogic->m_TimeLabel)); // not served: the clock stands

    Serve();
    app->Pass(1);
    ASSERT_EQ("Playing", gLogic->GetStateName());
    app->Pass(31);
    EXPECT_EQ("03:14", Text(gLogic->m_TimeLabel));
    app->Pass(32);
    EXPECT_EQ("03:13", Text(gLogic->m_TimeLabel));
}

TEST_F(ScoringGameTest, PaddlePowerSwitchesTheMusicPartAndTempo)
{
    ASSERT_NE(nullptr, gLogic);
    DirectMusic* music = Sound::GetDirectMusic();
    ASSERT_TRUE(Sound::IsMusicActive());
    Serve();
    app->Pass(2);
    for (int i = 0; i < 10; ++i)
        gLogic->CountPaddleHit();
    EXPECT_EQ("Play2", music->GetLastPartName());
    EXPECT_NEAR(1.02f, music->GetMasterTempo(), 1e-6);
    for (int i = 0; i < 9; ++i)
        gLogic->PaddlePowerUp(false);
    EXPECT_EQ("Play10", music->GetLastPartName());
    gLogic->PaddlePowerDown();
    gLogic->PaddlePowerDown();
    EXPECT_EQ("Play9", music->GetLastPartName());
    EXPECT_NEAR(1.16f, music->GetMasterTempo(), 1e-6);
}

TEST_F(ScoringGameTest, APromptShowsUntilThePlayerHasSeenItsPraise)
{
    ASSERT_NE(nullptr, gLogic);
    LuaPlus::LuaObject options = app->CurrentPlayer()->GetOptionsTable();
    leveltest::Constants texts(
        {{"prompt.test.show", "'Try it!'"}, {"prompt.test.check", "'Well done!'"}});
    EXPECT_TRUE(gLogic->ShowPrompt("test", "show"));
    EXPECT_EQ("Try it!", gLogic->m_Marquee->GetMessage());
    EXPECT_TRUE(gLogic->ShowPrompt("test", "check"));
    EXPECT_EQ("Well done!", gLogic->m_Marquee->GetMessage());
    EXPECT_TRUE(options["prompt.test.check.shown"].GetBoolean());
    EXPECT_FALSE(gLogic->ShowPrompt("test", "show"));
    // A prompt without text shows nothing but may still be shown.
    EXPECT_TRUE(gLogic->ShowPrompt("nothing", "show"));
    EXPECT_EQ("Well done!", gLogic->m_Marquee->GetMessage());
}
