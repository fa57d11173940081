#pragma once
// SplashScreen: the title screen of a program. It shows the program's version in the
// lower-left corner, an optional distributor (site) logo chosen by the configuration
// ("SiteName", "SiteLogoXPos", "SiteLogoYPos"), and can make the standard "StartButton".
#include "screens/Screen.h"

class SplashScreen : public Screen
{
public:
    SplashScreen(const std::string& name, const std::string& backgroundResourceName);

    // Adds the actor "SiteLogo" showing "lgosite<SiteName>.png" when the configuration
    // names a site. A site whose logo image does not exist is logged and shows no logo.
    virtual void InitSiteLogos();
    // Adds the button "StartButton" ("start", key s or Return) at (x, y), reporting its
    // clicks to this screen.
    void CreateStartButton(const std::string& fontFile, int fontSize, int x, int y);

private:
    void CreateVersionLabel();
};
