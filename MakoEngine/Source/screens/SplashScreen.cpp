#include "screens/SplashScreen.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "display/Font.h"
#include "resources/ResourceManager.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <memory>

using LuaPlus::LuaObject;

namespace {

const int kVersionFontSize = 12;
const int kVersionX = 7;
const int kVersionBottomMargin = 3;
const int kStartKey = 's';

LuaObject ConfigValue(const std::string& key)
{
    Config* config = Config::GetCurrent();
    return config ? config->GetObject(key) : LuaObject();
}

int ConfigPosition(const std::string& key)
{
    const LuaObject value = ConfigValue(key);
    return value.IsNumber() ? value.GetInteger() : 0;
}

} // namespace

SplashScreen::SplashScreen(const std::string& name, const std::string& backgroundResourceName)
    : Screen(name, backgroundResourceName, nullptr)
{
    LogAtLevel(3, "SplashScreen::SplashScreen()\n");
    SplashScreen::InitSiteLogos();
    CreateVersionLabel();
}

void SplashScreen::InitSiteLogos()
{
    const LuaObject v = ConfigValue("SiteName");
    if (v.IsNil())
        return;
    MAKO_ASSERT(v.IsString());
    const std::string imageName = boost::str(boost::format("lgosite%1%.png") % v.GetString());
    // A distributor's logo is a nicety: a site named without its picture starts anyway.
    ResourceManager* resources = GetResourceManager();
    if (!resources || !resources->FindInfo(imageName, true)) {
        Log("WARNING: The site logo \"%s\" does not exist; no site logo is shown.\n",
            imageName.c_str());
        return;
    }
    std::unique_ptr<Actor> logo(new Actor(imageName));
    logo->ApplyStringProperty("name", "SiteLogo");
    logo->SetPosition(ConfigPosition("SiteLogoXPos"), ConfigPosition("SiteLogoYPos"));
    AddChild(logo.release(), "");
}

void SplashScreen::CreateVersionLabel()
{
    const LuaObject fontName = ConfigValue("VersionFont");
    std::unique_ptr<Font> font(
        new Font(fontName.IsString() ? fontName.GetString() : "", kVersionFontSize, 0));
    std::unique_ptr<Label> label(
        new Label(GetAppVersion(), font.release(), Palette::White, HorizontalAlignment::Center));
    label->SetPosition(kVersionX, GetHeight() - kVersionBottomMargin - label->GetHeight());
    AddChild(label.release(), "");
}

void SplashScreen::CreateStartButton(const std::string& fontFile, int fontSize, int x, int y)
{
    std::unique_ptr<Button> button(new Button("Button.green.png"));
    button->ApplyStringProperty("name", "StartButton");
    button->SetShortcutKey(kStartKey);
    button->SetEnterKey(true);
    button->SetLabel(
        new Label("start", new Font(fontFile, fontSize, 0), HorizontalAlignment::Center));
    button->SetPosition(x, y);
    button->AddEventReceiver(this);
    AddChild(button.release(), "");
}
