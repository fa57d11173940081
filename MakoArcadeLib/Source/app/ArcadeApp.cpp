#include "app/ArcadeApp.h"

#include "core/Log.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"

#include <memory>

ArcadeApp::ArcadeApp() : Application("bumperlux", "bumperlux", AppCodeFromString("BLUX"), 640, 480)
{
    m_SiteConfigFile = "site.cfg";
}

ArcadeApp::~ArcadeApp() = default;

void ArcadeApp::SetDefaultProperties()
{
    Application::SetDefaultProperties();
    ApplyBoolProperty("enableBrickDropAnimation", true);
    ApplyBoolProperty("enableStartLevelDialog", true);
    ApplyBoolProperty("loadAllResources", true);
}

void ArcadeApp::ConvertCmdLineArgsToProperties()
{
    Application::ConvertCmdLineArgsToProperties();
    if (HasCommandLineArg("--skipdrop"))
        ApplyBoolProperty("enableBrickDropAnimation", false);
    if (HasCommandLineArg("--skipletter"))
        ApplyBoolProperty("enableStartLevelDialog", false);
    if (HasCommandLineArg("--noprecache"))
        ApplyBoolProperty("loadAllResources", false);
}

void ArcadeApp::AddResourceScanners()
{
    if (!RetrieveBoolProperty("useExeResources"))
        GetResourceManager()->AddScanner(
            new WindowsDirectoryResourceScanner("..\\MakoArcadeLib\\Source\\"));
    Application::AddResourceScanners();
}

void ArcadeApp::LoadScripts()
{
    Application::LoadScripts();
}

void ArcadeApp::InitGame()
{
    LogAtLevel(3, "ArcadeApp::InitGame *****************\n");
    Application::InitGame();
}

void ArcadeApp::ShutdownGame() {}

void ArcadeApp::Draw()
{
    Application::Draw();
}
