#include "screens/ArcadeMenu.h"

ArcadeMenu::ArcadeMenu(const std::string& name, const std::string& backgroundResourceName)
    : MenuScreen(name, backgroundResourceName)
{
}

bool ArcadeMenu::RouteEvent(const Event& event)
{
    if (MenuScreen::RouteEvent(event))
        return true;
    return HandleArcadeEvent(event);
}
