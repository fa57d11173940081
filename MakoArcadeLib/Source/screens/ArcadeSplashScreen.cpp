#include "screens/ArcadeSplashScreen.h"

#include "core/AppHost.h"
#include "core/Config.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/State.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "field/Ball.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "screens/ScreenManager.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"

#include <SDL.h>

namespace {

const int kBarWidth = 250;
const int kBarHeight = 15;
const int kBarBottomMargin = 30;
const int kUnitsPerPixel = 6;
const int kUnitsPerLevelFile = 4;
const int kResourcesPerStep = 5;
const int kStartButtonFontSize = 28;
const int kStartButtonBottomMargin = 15;

void SwitchToScreenNamed(const std::string& name)
{
    if (ScreenManager* screens = ScreenManager::GetInstance())
        screens->SwitchToScreen(name);
}

TimerManager* SplashTimers()
{
    AppHost* host = GetAppHost();
    return host ? host->GetTimerManager() : nullptr;
}

} // namespace

namespace ArcadeSplashStates {

// Runs the level scripts, then caches resources, one step per timer signal.
class Loading : public State
{
public:
    explicit Loading(ArcadeSplashScreen* screen) : m_Screen(screen) {}
    const char* GetName() const override { return "Loading"; }
    void OnEnterState() override { m_Screen->BeginLoading(); }
    bool OnTimer(const Event& event) override
    {
        if (EventData1Int(event) != static_cast<std::intptr_t>(m_Screen->m_LoadingTimer) ||
            m_Screen->m_LoadingTimer == 0)
            return false;
        if (m_Screen->LoadStep())
            m_Screen->SetState("Loaded");
        return true;
    }
    bool OnKeyDown(const Event& event) override { return m_Screen->SkipToMenu(event); }

private:
    ArcadeSplashScreen* m_Screen;
};

// Offers the start button.
class Loaded : public State
{
public:
    explicit Loaded(ArcadeSplashScreen* screen) : m_Screen(screen) {}
    const char* GetName() const override { return "Loaded"; }
    void OnEnterState() override { m_Screen->ShowStart(); }

private:
    ArcadeSplashScreen* m_Screen;
};

} // namespace ArcadeSplashStates

ArcadeSplashScreen::ArcadeSplashScreen() : SplashScreen("SplashScreen", "bkgSplash.jpg")
{
    LogAtLevel(3, "ArcadeSplashScreen::ArcadeSplashScreen()\n");
    AddState(new ArcadeSplashStates::Loading(this));
    AddState(new ArcadeSplashStates::Loaded(this));
    m_BlackBar = Actor::CreateColorRect(Palette::Black, 0, 0, kBarWidth, kBarHeight, 0, nullptr);
    AddChild(m_BlackBar, "");
    m_GoldBar = Actor::CreateColorRect(Palette::Gold, 0, 0, kBarWidth, kBarHeight, 0, nullptr);
    AddChild(m_GoldBar, "");
}

ArcadeSplashScreen::~ArcadeSplashScreen()
{
    KillLoadingTimer();
}

bool ArcadeSplashScreen::IsCurrent() const
{
    ScreenManager* screens = ScreenManager::GetInstance();
    return screens && screens->GetCurrentScreen() == this;
}

bool ArcadeSplashScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) == static_cast<Actor*>(this)) {
        AppHost* host = GetAppHost();
        Object* app = dynamic_cast<Object*>(host);
        const bool preload = !app || app->RetrieveBoolProperty("loadAllResources");
        if (preload) {
            SetState("Loading");
        } else {
            // Without the pre-loading the level scripts still have to run before play.
            ClearLevels();
            for (const std::string& name : LevelManager::GetLevelFileNames())
                RunLevelFile(name);
            SetState("Loaded");
        }
    } else {
        SetState("Loaded");
    }
    return false;
}

bool ArcadeSplashScreen::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (!button || button->GetName() != "StartButton")
        return false;
    SwitchToScreenNamed("MenuScreen");
    return true;
}

void ArcadeSplashScreen::BeginLoading()
{
    Log("Loading data...\n");
    m_LevelFiles = LevelManager::GetLevelFileNames();
    m_NextFile = 0;
    ClearLevels();

    ResourceManager* resources = GetResourceManager();
    const int toCache = resources ? resources->StartCaching() : 0;
    m_ToCache = toCache;
    m_LoadingStart = SDL_GetTicks();
    m_TotalProgress = toCache + kUnitsPerLevelFile * static_cast<int>(m_LevelFiles.size()) + 1;

    KillLoadingTimer();
    if (TimerManager* timers = SplashTimers())
        m_LoadingTimer = timers->CreateTimer(this, FRAME_PERIOD_MS, -1, TIMER_LIMITED_TO_FRAMERATE);
    m_Progress = 0;

    m_BlackBar->SetSize(m_TotalProgress / kUnitsPerPixel, kBarHeight);
    const int x = GetX() + GetWidth() / 2 - m_BlackBar->GetWidth() / 2;
    const int y = GetY() + GetHeight() - kBarBottomMargin - kBarHeight;
    m_BlackBar->SetPosition(x, y);
    m_GoldBar->SetPosition(x, y);
    m_BlackBar->SetVisible(true, false);
    m_GoldBar->SetVisible(true, false);
    UpdateBar();

    if (DirectMusic* music = Sound::GetDirectMusic())
        music->PlayMidiLooped("Theme.mid", "Splash");
}

bool ArcadeSplashScreen::LoadStep()
{
    if (m_Progress >= m_TotalProgress - 1) {
        Ball::CreateBallImages();
        Log("Loading done: %d resources cached in %u ms\n", m_ToCache,
            static_cast<unsigned>(SDL_GetTicks() - m_LoadingStart));
        ++m_Progress;
        UpdateBar();
        KillLoadingTimer();
        if (IsCurrent())
            Sound::PlaySound("Pickup_GemBells16.ogg");
        return true;
    }
    if (m_NextFile >= m_LevelFiles.size()) {
        ResourceManager* resources = GetResourceManager();
        for (int i = 0; i < kResourcesPerStep; ++i) {
            if (!resources || !resources->CacheNext()) {
                // Nothing is left to cache: the next signal finishes.
                m_Progress = m_TotalProgress - 1;
                break;
            }
            ++m_Progress;
        }
    } else {
        RunLevelFile(m_LevelFiles[m_NextFile++]);
        m_Progress += kUnitsPerLevelFile;
    }
    UpdateBar();
    return false;
}

bool ArcadeSplashScreen::SkipToMenu(const Event& event)
{
    if (m_NextFile < m_LevelFiles.size())
        return false;
    if (event.key.keysym.sym != SDLK_RETURN || IsOnlyAltDown(event.key.keysym.mod))
        return false;
    KillLoadingTimer();
    SwitchToScreenNamed("MenuScreen");
    return true;
}

void ArcadeSplashScreen::ClearLevels()
{
    // Levels assigned again must compile again: start from an empty table of levels.
    MakoLuaState::LoadString(GetGlobalLuaState(), "if ClearLevels then ClearLevels() end");
}

void ArcadeSplashScreen::RunLevelFile(const std::string& name)
{
    // A level that cannot be built is reported and skipped; the others load.
    LevelManager::RunLevelFile(GetGlobalLuaState(), name);
}

void ArcadeSplashScreen::ShowStart()
{
    KillLoadingTimer();
    if (!GetChild("StartButton", false)) {
        Config* config = Config::GetCurrent();
        CreateStartButton(config ? config->GetString("ButtonFont") : std::string(),
                          kStartButtonFontSize, 250, 395);
    }
    if (Actor* start = GetChild("StartButton", false))
        start->SetPosition(GetX() + GetWidth() / 2 - start->GetWidth() / 2,
                           GetY() + GetHeight() - kStartButtonBottomMargin - start->GetHeight());
    m_BlackBar->SetVisible(false, false);
    m_GoldBar->SetVisible(false, false);
}

void ArcadeSplashScreen::KillLoadingTimer()
{
    if (m_LoadingTimer == 0)
        return;
    if (TimerManager* timers = SplashTimers())
        timers->KillTimer(m_LoadingTimer);
    m_LoadingTimer = 0;
}

void ArcadeSplashScreen::UpdateBar()
{
    m_GoldBar->SetSize(m_Progress / kUnitsPerPixel, kBarHeight);
}
