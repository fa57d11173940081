#pragma once
// The game's application: the product's names, code and screen size, its start-up
// properties and command-line switches, its resource folders and scripts, and the game's
// own start (the first screen) and end.
#include "app/Application.h"
#include "luaplus/LuaPlus.h"

#include <memory>
#include <string>
#include <vector>

class LevelManager;

class ArcadeApp : public Application
{
public:
    ArcadeApp();
    ~ArcadeApp() override;

    void InitGame() override;
    void ShutdownGame() override;
    void SetDefaultProperties() override;
    void AddCommandLineOptions(CommandLineOptions& options) override;
    void AddResourceScanners() override;
    void LoadScripts() override;
    void Draw() override;
    // The window's caption as the base sets it, then the program's icon.
    void OnWindowCreated() override;

    // Runs every script of the package folder "Levels" (names ending in ".lua", in
    // listing order: LevelManager::GetLevelFileNames) into an emptied Levels table, unless the
    // property loadLevelsFromFunFile is true. A file that fails is logged and skipped.
    void LoadLevelScripts();

    // The game's own scripts, in the order they are run (later ones rely on globals of
    // earlier ones).
    static const std::vector<std::string>& GetScriptNames();

protected:
    // Chooses the program resource that becomes the window's icon. The icon is taken when
    // the window is made (the resources are known only after start-up has scanned them);
    // an icon that cannot be had is logged as a warning and the window keeps SDL's own.
    void SetIconFromResource(int resourceId);
    void ApplyWindowIcon();

private:
    // The first screen: the switch given on the command line, else the splash screen.
    void SwitchToFirstScreen();
    void AddScreens();

    int m_IconResourceId = 0;

protected:
    // Lives from InitGame (after the music) to ShutdownGame.
    std::unique_ptr<LevelManager> m_LevelManager;
};

// Orders game records by score: true when a's gameScore (read as an integer from the
// record's table) is greater than b's. A record without a score counts as none and comes
// after every scored one; never raises.
bool CompareGameScores(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b);
