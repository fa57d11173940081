#include "screens/MedalDialog.h"

#include "core/Config.h"
#include "display/Font.h"
#include "geometry/Colors.h"
#include "sound/Sound.h"
#include "views/Medal.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <vector>

namespace {

const int kTitleTop = 32;
const int kTitleWidthLimit = 300;
const int kMedalLineSize = 26;
const int kNextLineSize = 22;
const int kNextLineGap = 10;
const char* const kLastLevel = "Platinum";

std::string MainFontName()
{
    Config* config = Config::GetCurrent();
    if (!config)
        return "mainfont";
    LuaPlus::LuaObject value = config->GetObject("MainFont");
    return value.IsString() ? std::string(value.GetString()) : std::string("mainfont");
}

} // namespace

MedalDialog::MedalDialog(const std::string& name, Medal* medal, const std::string& recipient)
    : Dialog("dlgSquare.png", 0), m_Medal(medal)
{
    ApplyStringProperty("name", "MedalDialog");
    const int w = GetWidth();
    const int h = GetHeight();

    SetTitle((boost::format("A Medal For %1%!") % name).str(), -1);
    if (Label* title = GetTitle()) {
        title->SetWidthLimit(kTitleWidthLimit);
        title->SetText(title->GetText(), true);
        title->SetPosition(w / 2 - title->GetWidth() / 2, kTitleTop);
    }
    CreateLowerButtons(DIALOGBUTTONS_OKAY);

    medal->SetClickable(false);
    medal->SetPosition(w / 2 - medal->GetWidth() / 2, h / 2 - medal->GetHeight() / 2);
    AddChild(medal, "");

    const std::string levelName = medal->GetLevelName();
    m_MedalLabel =
        AddLine((boost::format("A %1% %2% Medal!") % levelName % medal->GetCategory()).str(),
                kMedalLineSize);
    m_MedalLabel->SetPosition(w / 2 - m_MedalLabel->GetWidth() / 2,
                              medal->GetY() - m_MedalLabel->GetHeight());

    std::string next;
    if (levelName == kLastLevel) {
        next = "There are no\n more medals.";
    } else {
        const std::string nextName = Medal::LevelName(medal->GetLevel() + 1);
        next = (boost::format("The Next Medal Is:\n %1% At %2% %3%") % nextName %
                medal->GetGoal(nextName) % medal->GetUnits())
                   .str();
    }
    m_NextLabel = AddLine(next, kNextLineSize);
    m_NextLabel->SetPosition(w / 2 - m_NextLabel->GetWidth() / 2,
                             medal->GetY() + medal->GetHeight() + kNextLineGap);

    if (recipient != " ") {
        m_RecipientLabel = AddLine((boost::format("For %1%,\nyou are awarded a") % recipient).str(),
                                   kNextLineSize);
        m_RecipientLabel->SetPosition(w / 2 - m_RecipientLabel->GetWidth() / 2,
                                      m_MedalLabel->GetY() - m_RecipientLabel->GetHeight());
    }
}

Label* MedalDialog::AddLine(const std::string& text, int size)
{
    auto* label = new Label(text, new Font(MainFontName(), size, 0), Colors::ByName("Black"),
                            HorizontalAlignment::Center);
    AddChild(label, "");
    return label;
}

std::vector<std::string> MedalDialog::FanfareFor(const std::string& levelName)
{
    if (levelName == "Bronze")
        return {"Pickup_Magic33.ogg"};
    if (levelName == "Silver")
        return {"Pickup_Magic34.ogg"};
    if (levelName == "Gold")
        return {"Pickup_Magic35.ogg", "claps.ogg"};
    if (levelName == "Platinum")
        return {"Pickup_Secret03.ogg", "claps.ogg"};
    return {};
}

bool MedalDialog::OnDialogStarted(const Event& event)
{
    if (EventData1(event) == static_cast<Object*>(this) && m_Medal)
        for (const std::string& sound : FanfareFor(m_Medal->GetLevelName()))
            Sound::PlaySound(sound, false);
    return false;
}
