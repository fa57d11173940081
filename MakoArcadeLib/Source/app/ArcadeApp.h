#pragma once
// The game's application: the product's names, code and screen size, its start-up
// properties and command-line switches, its resource folders and scripts, and the game's
// own start and end.
#include "core/Application.h"

class ArcadeApp : public Application
{
public:
    ArcadeApp();
    ~ArcadeApp() override;

    void InitGame() override;
    void ShutdownGame() override;
    void SetDefaultProperties() override;
    void ConvertCmdLineArgsToProperties() override;
    void AddResourceScanners() override;
    void LoadScripts() override;
    void Draw() override;
};
