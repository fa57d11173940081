#pragma once
// The first screen of a normal start: the title picture, the version and the site logo of
// the engine's splash screen, while the game runs every level script and pre-loads every
// resource in small steps (one per 32 ms timer signal, so the window keeps drawing and
// answering) and fills a gold progress bar. When all is loaded it offers "start", which
// leads to the menu; Return skips the rest of the pre-loading once the level scripts ran.
//
// Two named states do the work: "Loading" (the steps) and "Loaded" (the start button).
// Leaving the splash by any route stops the loading timer.
//
// Resources the configuration's list "loadOnDemand" names (set up by the application at
// start-up, ResourceManager::SetOnDemandPrefixes) are not pre-loaded: they load when first
// used.
//
// Progress units: 1 per resource to cache, 4 per file of the "Levels" folder, 1 for the
// last step; the bar is one pixel per 6 units. Main thread only.
#include "screens/SplashScreen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ArcadeSplashStates {
class Loading;
class Loaded;
} // namespace ArcadeSplashStates

class ArcadeSplashScreen : public SplashScreen
{
public:
    ArcadeSplashScreen();
    ~ArcadeSplashScreen() override;

    int GetProgress() const { return m_Progress; }
    int GetTotalProgress() const { return m_TotalProgress; }
    std::uint32_t GetLoadingTimer() const { return m_LoadingTimer; }
    Actor* GetProgressBar() const { return m_GoldBar; }
    Actor* GetProgressBarBack() const { return m_BlackBar; }

protected:
    // Becoming current starts the loading (or, with loadAllResources false, offers the
    // start button at once); any other screen becoming current ends it. Never consumed.
    bool OnScreenChange(const Event& event) override;
    // "StartButton" goes to the menu.
    bool OnButtonClick(const Event& event) override;

private:
    friend class ArcadeSplashStates::Loading;
    friend class ArcadeSplashStates::Loaded;

    // Loading: the folder list, caching begun, the timer, the bars sized and placed, the
    // splash music.
    void BeginLoading();
    // One step of the timer; true when the loading has finished with it.
    bool LoadStep();
    // Return once every level file has run: the menu at once.
    bool SkipToMenu(const Event& event);
    // Loaded: the timer gone, the start button made (once), the bars hidden.
    void ShowStart();
    void KillLoadingTimer();
    // Empties the table of levels, so that levels assigned again compile again.
    static void ClearLevels();
    // Runs one file of the "Levels" folder when its name ends in ".lua"; a file that fails
    // is logged and skipped.
    static void RunLevelFile(const std::string& name);
    void UpdateBar();
    bool IsCurrent() const;

    std::uint32_t m_LoadingTimer = 0;
    int m_TotalProgress = 0;
    int m_Progress = 0;
    int m_ToCache = 0;
    std::uint32_t m_LoadingStart = 0; // SDL ticks when the loading began
    std::vector<std::string> m_LevelFiles;
    size_t m_NextFile = 0;
    // Children of the screen (owned by it).
    Actor* m_BlackBar = nullptr;
    Actor* m_GoldBar = nullptr;
};
