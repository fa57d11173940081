#include "logic/ArcadeGameLogic.h"

#include "core/AppHost.h"
#include "core/Config.h"
#include "core/Event.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/PropertyAccessor.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "logic/Level.h"
#include "logic/states/AdvanceLevel.h"
#include "logic/states/AllBallsLost.h"
#include "logic/states/BrickDrop.h"
#include "logic/states/GameOver.h"
#include "logic/states/LevelCompleted.h"
#include "logic/states/LevelsGameTypeCompleted.h"
#include "logic/states/LevelsGameTypeOver.h"
#include "logic/states/LoadingLevel.h"
#include "logic/states/PausedPlaying.h"
#include "logic/states/Playing.h"
#include "logic/states/ShowArtifactDialog.h"
#include "logic/states/ShowEndLevelDialog.h"
#include "logic/states/ShowFinishedWorldDialog.h"
#include "logic/states/ShowGameOverDialog.h"
#include "logic/states/ShowGameWonDialog.h"
#include "logic/states/ShowStartLevelDialog.h"
#include "logic/states/SpawnBall.h"
#include "logic/states/Start.h"
#include "logic/states/WaitForSpawn.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "physics/World.h"
#include "scene/ParticleManager.h"
#include "scene/SceneHost.h"
#include "screens/ComboMeter.h"
#include "screens/HitMeter.h"
#include "screens/Marquee.h"
#include "screens/PowerMeter.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <algorithm>
#include <array>

using LuaPlus::LuaObject;

ArcadeGameLogic* gLogic = nullptr;

MAKO_IMPLEMENT_CLASS(ArcadeGameLogic, "ArcadeGameLogic", "Logic",
                     &ArcadeGameLogic::RegisterProperties, nullptr);

namespace {

const char* const kClassicNames[] = {"player",        "gameType",    "ballsLeft",
                                     "episodeNumber", "levelNumber", "levelName"};

// The timer manager game timers run on; null without a host (then no timer starts).
TimerManager* GameTimers()
{
    return SceneHost::GetTimerManager();
}

// A whole number from the configuration, or the fallback when it has none.
int ConfigInt(const char* key, int fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    const Variant value = config->Retrieve(key);
    return value.GetType() == Variant::V_DOUBLE ? static_cast<int>(value.ToDouble()) : fallback;
}

} // namespace

void ArcadeGameLogic::RegisterProperties(Class& c)
{
    for (const char* name : kClassicNames) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

ArcadeGameLogic::RunningHold::~RunningHold()
{
    if (held && gLogic == held)
        gLogic = nullptr;
}

void ArcadeGameLogic::RunningHold::Take(ArcadeGameLogic* logic)
{
    held = logic;
    gLogic = logic;
}

ArcadeGameLogic::ArcadeGameLogic()
{
    m_Running.Take(this);
}

ArcadeGameLogic::ArcadeGameLogic(Screen* screen, Actor* playLayer, const LuaObject& options)
    : m_OptionsTable(options), m_PlayLayer(playLayer)
{
    CreateStates();
    m_World.reset(new World(World::EngineConfigReader()));
    // A limit below 1 would make every hit count a division by zero.
    m_HitCounterLimit = std::max(1, ConfigInt("HitCounterLimit", 10));
    SetScreen(screen);
    CreateHud();
    // Whole now: the running controller from here on.
    m_Running.Take(this);
}

ArcadeGameLogic::~ArcadeGameLogic()
{
    m_Level.reset();
    // Every timer the controller or a state started ends here, so none of them can signal
    // a deleted controller.
    if (TimerManager* timers = GameTimers())
        for (std::uint32_t id : m_OwnedTimers)
            timers->KillTimer(id);
    m_OwnedTimers.clear();
    m_ClockTimer = m_BallLockTimer = m_LiveBallTimer = 0;
    if (gLogic == this)
        gLogic = nullptr;
    if (m_ComboMeter)
        m_ComboMeter->Kill();
    // What the controller hears from may stay on the play layer a while and report its
    // end, also from events already queued: never to this controller now.
    for (const ActorLink<Actor>& heard : m_Heard)
        if (heard)
            heard->RemoveEventReceiver(this);
    // Lightning forks and strikes on timers of its own, through this controller and its
    // world: it ends with them.
    m_Sparks.KillAll();
    // Field actors that outlive the controller (the play layer deletes them later) keep
    // no geometry in the world that goes now.
    m_World.reset();
}

ParticleManager* ArcadeGameLogic::GetParticleManager()
{
    return gLogic ? gLogic->m_ParticleManager : nullptr;
}

void ArcadeGameLogic::CreateStates()
{
    using namespace ArcadeGameStates;
    AddState(new ShowStartLevelDialog(this));
    AddState(new ShowEndLevelDialog(this));
    AddState(new ShowGameOverDialog(this));
    AddState(new ShowArtifactDialog(this));
    AddState(new ShowFinishedWorldDialog(this));
    AddState(new ShowGameWonDialog(this));
    AddState(new Start(this));
    AddState(new LoadingLevel(this));
    AddState(new AdvanceLevel(this));
    AddState(new WaitForSpawn(this));
    AddState(new SpawnBall(this));
    AddState(new Playing(this));
    AddState(new LevelCompleted(this));
    AddState(new AllBallsLost(this));
    AddState(new GameOver(this));
    AddState(new LevelsGameTypeCompleted(this));
    AddState(new LevelsGameTypeOver(this));
    AddState(new BrickDrop(this));
    AddState(new PausedPlaying(this));
}

void ArcadeGameLogic::StartGame()
{
    SetState("Start");
}

void ArcadeGameLogic::Tick()
{
    if (SceneHost::IsGamePaused())
        return;
    Object::Tick();
    if (m_ParticlesBack)
        m_ParticlesBack->Tick();
    if (m_ParticleManager)
        m_ParticleManager->Tick();
    if (m_ScoreChanged) {
        ShowScore(m_Score);
        m_ScoreChanged = false;
    }
}

bool ArcadeGameLogic::OnEvent(const Event& event)
{
    // A timer that gives its last signal is no longer the controller's to kill.
    if (event.type == MAKO_TIMER && EventData2Int(event) == 0)
        m_OwnedTimers.erase(static_cast<std::uint32_t>(EventData1Int(event)));
    return Logic::OnEvent(event);
}

// ---- Properties ---------------------------------------------------------------------------

void ArcadeGameLogic::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "player") {
        m_Player =
            static_cast<Player*>(value.IsLightUserData() ? value.GetLightUserData() : nullptr);
    } else if (name == "gameType") {
        m_GameType = value.IsString() ? value.GetString() : std::string();
    } else if (name == "ballsLeft") {
        SetBallsLeft(value.IsNumber() ? value.GetInteger() : 0);
    } else if (name == "episodeNumber") {
        if (value.IsNumber())
            m_EpisodeNumber = value.GetInteger();
    } else if (name == "levelNumber") {
        if (value.IsNumber())
            m_LevelNumber = value.GetInteger();
    } else if (name == "levelName") {
        if (value.IsString())
            m_LevelName = value.GetString();
    } else {
        Logic::ApplyClassicProperty(name, value);
    }
}

void ArcadeGameLogic::SetBallsLeft(int balls)
{
    m_BallsLeft = balls;
    if (balls >= 0)
        ShowBallsLeft(balls);
}

// ---- Timers -------------------------------------------------------------------------------

std::uint32_t ArcadeGameLogic::StartTimer(std::uint32_t intervalMs, std::int32_t count)
{
    TimerManager* timers = GameTimers();
    if (!timers)
        return 0;
    const std::uint32_t id =
        timers->CreateTimer(this, intervalMs, count, TIMER_LIMITED_TO_FRAMERATE);
    m_OwnedTimers.insert(id);
    return id;
}

void ArcadeGameLogic::KillTimer(std::uint32_t& timerId)
{
    if (timerId == 0)
        return;
    if (m_OwnedTimers.erase(timerId) > 0)
        if (TimerManager* timers = GameTimers())
            timers->KillTimer(timerId);
    timerId = 0;
}

void ArcadeGameLogic::ForgetTimer(std::uint32_t& timerId)
{
    m_OwnedTimers.erase(timerId);
    timerId = 0;
}

// ---- Heads-up display ---------------------------------------------------------------------

void ArcadeGameLogic::CreateHud()
{
    if (!m_PlayLayer)
        return;
    m_ParticlesBack = new ParticleManager();
    m_ParticlesBack->SetZOrder(1);
    m_PlayLayer->AddChild(m_ParticlesBack, "ParticlesBack");
    m_ParticleManager = new ParticleManager();
    m_ParticleManager->SetZOrder(5);
    m_PlayLayer->AddChild(m_ParticleManager, "ParticlesFront");

    // The heads-up labels: their fonts and places are the label resources' (Fonts.lua).
    // The level's title and land share the bottom strip with the marquee and are drawn
    // smaller when long, so that the marquee's text stays clear.
    struct Spot
    {
        Label** label;
        const char* resource;
        const char* name;
    };
    const Spot spots[] = {
        {&m_LevelLabel, "GameLevelLabel", "LevelLabel"},
        {&m_EpisodeLabel, "GameEpisodeLabel", "EpisodeLabel"},
        {&m_ScoreLabel, "ScoreLabel", "ScoreLabel"},
        {&m_BallsLabel, "BallsLabel", "BallsLabel"},
        {&m_TimeLabel, "TimeLabel", "TimeLabel"},
    };
    for (const Spot& spot : spots) {
        Label* label = Label::CreateFromResource(spot.resource, " ");
        label->SetZOrder(9);
        label->ApplyStringProperty("name", spot.name);
        m_PlayLayer->AddChild(label, spot.name);
        *spot.label = label;
    }
    m_ScoreChanged = false;
    m_BallsLabel->SetWidthLimit(30);
    // The ball beside the count of balls left; without a picture when the pack lacks it
    // (named once), and the count shows alone.
    Actor* ballIcon = new Actor();
    ballIcon->SetPosition(m_BallsLabel->GetX() - 16, m_BallsLabel->GetY() + 3);
    ballIcon->SetZOrder(9);
    m_PlayLayer->AddChild(ballIcon, "BallsIcon");
    ObjectBoundary::Guard("The picture of the balls left", "the count shows without it",
                          [&] { ballIcon->SetImageFromResource("Ball.None.12.png"); });
    m_LevelLabel->SetVisible(false, true);
    m_EpisodeLabel->SetVisible(false, true);
    CreateHudStrips();
    CreateMeters();
    m_HudParts = {m_ScoreLabel, m_BallsLabel, ballIcon, m_TimeLabel, m_HitMeter};
    SetHudShown(true);
}

void ArcadeGameLogic::SetHudShown(bool shown)
{
    m_HudShown = shown;
    // Each part with everything it is drawn with: a label's text is a layer of its own.
    for (Actor* part : m_HudParts)
        part->SetVisible(shown, true);
}

void ArcadeGameLogic::CreateHudStrips()
{
    // Smoked glass under the heads-up rows: the loot and the balls over the top wall's
    // wood (the clock reads on the wood as it is), and the bottom line over the lava, which
    // still glows through.
    const SDL_Rect strips[] = {{337, 2, 178, 24}, {16, 455, 608, 25}};
    for (const SDL_Rect& strip : strips) {
        Actor* smoke = new Actor(Color(14, 10, 8));
        smoke->SetPosition(strip.x, strip.y);
        smoke->SetSize(strip.w, strip.h);
        smoke->SetAlpha(kHudStripAlpha);
        smoke->SetZOrder(8);
        m_PlayLayer->AddChild(smoke, "HudStrip");
    }
}

void ArcadeGameLogic::CreateMeters()
{
    m_Marquee = new Marquee();
    m_Marquee->SetZOrder(10);
    m_PlayLayer->AddChild(m_Marquee, "Marquee");

    m_HitMeter = new HitMeter();
    m_HitMeter->SetPosition(16, 10);
    m_HitMeter->SetZOrder(10);
    m_PlayLayer->AddChild(m_HitMeter, "HitMeter");

    m_ComboMeter = new ComboMeter();
    m_ComboMeter->SetVisible(false, true);
    m_PlayLayer->AddChild(m_ComboMeter, "ComboMeter");
    if (LuaPlus::LuaState* state = GetGlobalLuaState()) {
        const LuaObject combos = state->GetGlobal("defaultCombos");
        if (combos.IsTable())
            m_ComboMeter->ApplyClassicProperty("combos", combos);
    }

    // The letter tiles in a row, placed by the script's PowerMeterLayout.
    int x = 168, y = 8, step = 21;
    if (LuaPlus::LuaState* state = GetGlobalLuaState()) {
        const LuaObject layout = state->GetGlobal("PowerMeterLayout");
        if (layout.IsTable()) {
            if (layout["x"].IsNumber())
                x = layout["x"].GetInteger();
            if (layout["y"].IsNumber())
                y = layout["y"].GetInteger();
            if (layout["step"].IsNumber())
                step = layout["step"].GetInteger();
        }
    }
    std::array<Actor*, PowerMeter::kLetters> tiles{};
    for (int i = 0; i < PowerMeter::kLetters; ++i) {
        // The meter gives each tile its picture (PowerMeter::Reset).
        Actor* tile = new Actor();
        tile->SetPosition(x + i * step, y);
        tile->SetZOrder(10);
        const std::string name = std::string("PowerMeter") + PowerMeter::IdxToChar(i);
        m_PlayLayer->AddChild(tile, name);
        tiles[i] = tile;
    }
    m_PowerMeter.reset(new PowerMeter(tiles));
}

void ArcadeGameLogic::ShowScore(int score)
{
    if (!m_ScoreLabel)
        return;
    m_ScoreLabel->SetText("Loot: " + GroupThousands(score), true);
}

void ArcadeGameLogic::ShowBallsLeft(int balls)
{
    if (!m_BallsLabel || balls < 0)
        return;
    m_BallsLabel->SetText(std::to_string(balls), true);
}

void ArcadeGameLogic::ShowTime(int seconds)
{
    if (!m_TimeLabel)
        return;
    m_TimeLabel->SetText(FormatMinutesSeconds(std::max(0, seconds)), true);
}

void ArcadeGameLogic::AdvanceClock(int seconds)
{
    if (m_TimeLeft != 0) {
        m_TimeLeft -= seconds;
        ShowTime(m_TimeLeft);
    }
    m_ElapsedTime += seconds;
}

void ArcadeGameLogic::ShowMessage(const std::string& text, int milliseconds)
{
    if (m_Marquee)
        m_Marquee->SetMessage(text, milliseconds);
}

// ---- Combos -----------------------------------------------------------------------------------

void ArcadeGameLogic::ResetHitCounter() {}

void ArcadeGameLogic::OnPaddleCombo(const std::string& className, double x, double y)
{
    if (m_ComboMeter)
        m_ComboMeter->OnPaddleHit(className, this, x, y);
}

void ArcadeGameLogic::OnBrickCombo(Brick* brick, int count, double x, double y)
{
    if (m_ComboMeter)
        m_ComboMeter->OnBrickHit(brick, count != 0, this, x, y);
}

// ---- Music ----------------------------------------------------------------------------------

void ArcadeGameLogic::PlayLevelMusic(const std::string& part, bool loop)
{
    DirectMusic* music = Sound::GetDirectMusic();
    if (!music || !m_Level || m_Level->GetMusicName().empty())
        return;
    music->PlayMidi(m_Level->GetMusicName(), part, loop);
}

std::string ArcadeGameLogic::CurrentMusicPart() const
{
    DirectMusic* music = Sound::GetDirectMusic();
    return music ? music->GetLastPartName() : std::string();
}
