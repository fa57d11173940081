#include "screens/NotepadScreen.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "screens/Dialog.h"
#include "screens/GameTips.h"
#include "screens/LevelNotepad.h"
#include "screens/MapProgress.h"
#include "screens/OptionsDialog.h"
#include "screens/PaperRules.h"
#include "screens/ScreenManager.h"
#include "widgets/Label.h"

#include <SDL.h>

#include <cctype>

using LuaPlus::LuaObject;

NotepadScreen::NotepadScreen(const std::string& name, const std::string& resource,
                             const Texts& texts)
    : Screen(name, "bkgLeather.jpg", nullptr), m_Texts(texts)
{
    AcquireAndApplyResource(resource);
}

std::string NotepadScreen::SpacedName(const std::string& name)
{
    std::string spaced;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (i > 0 && std::isupper(c) && std::islower(static_cast<unsigned char>(name[i - 1])))
            spaced += ' ';
        spaced += name[i];
    }
    return spaced;
}

std::string NotepadScreen::LevelTitle(const std::string& name, const LuaObject& level)
{
    if (level.IsTable() && level["fullName"].IsString())
        return level["fullName"].GetString();
    return SpacedName(name);
}

void NotepadScreen::ShowNotepad(const std::string& levelName, const LuaObject& level,
                                const LuaObject& record)
{
    Label* title = RequireLabel("labelLevelName");
    title->SetText(levelName.empty() ? std::string(" ") : LevelTitle(levelName, level), true);
    CenterInParent(title);

    // The best is the loot of the level's best play, written as the tally writes it.
    const int best = record.IsTable() ? ReadWholeNumber(record["score"], 0) : 0;
    Label* score = RequireLabel("labelScoreValue");
    score->SetText(FormatWithThousandsSeparators(best), true);
    score->SetVisible(true, false);
    RequireLabel("labelScoreText");

    LevelNotepad::ShowTargets(this, levelName, level.IsTable());
    LevelNotepad::ShowStars(this, record);
    // A text shrunk to its width has a smaller font: every row goes back onto its rule.
    if (Actor* notepad = title->GetParent())
        PaperRules::SitAllOnRules(*notepad);
}

Label* NotepadScreen::RequireLabel(const std::string& name)
{
    auto* label = dynamic_cast<Label*>(GetChild(name, true));
    MAKO_ASSERT_MSG(label != 0, std::string(m_Texts.owner) + " needs the label " + name + ".");
    return label;
}

Actor* NotepadScreen::RequireActor(const std::string& name)
{
    Actor* actor = GetChild(name, true);
    MAKO_ASSERT_MSG(actor != 0, std::string(m_Texts.owner) + " needs the actor " + name + ".");
    return actor;
}

void NotepadScreen::CenterInParent(Actor* actor)
{
    if (Actor* parent = actor->GetParent())
        actor->SetPosition(parent->GetWidth() / 2 - actor->GetWidth() / 2, actor->GetY());
}

void NotepadScreen::ShowHelp()
{
    ShowGameTip(this, m_Texts.help, "About The Menu", true);
}

// ---- Events --------------------------------------------------------------------------------

bool NotepadScreen::OnScreenChange(const Event& event)
{
    if (EventData1(event) == static_cast<void*>(this)) {
        Update();
        ShowGameTip(this, m_Texts.tip, m_Texts.tipTitle, false);
    }
    return false;
}

bool NotepadScreen::OnDialogStopped(const Event& event)
{
    const auto* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    if (dialog && dialog->GetName() == "OptionsDialog" && IsChild(dialog))
        Update();
    return false;
}

bool NotepadScreen::OnButtonClick(const Event& event)
{
    const Object* button = static_cast<Object*>(EventData1(event));
    if (!button)
        return false;
    const std::string& name = button->GetName();
    if (name == "OptionsButton")
        StartDialog(new OptionsDialog(), true);
    else if (name == "MenuButton")
        ScreenManager::SwitchToScreenIfPresent("MenuScreen", m_Texts.className);
    else if (name == "HelpButton")
        ShowHelp();
    else if (name == "PlayButton")
        PlayIfUnlocked();
    else if (name == "FindsButton")
        ScreenManager::SwitchToScreenIfPresent("ArtifactScreen", m_Texts.className);
    else
        return OnOwnButton(name);
    return true;
}

bool NotepadScreen::OnKeyDown(const Event& event)
{
    if (event.key.keysym.sym != SDLK_ESCAPE)
        return false;
    ScreenManager::SwitchToScreenIfPresent("MenuScreen", m_Texts.className);
    return true;
}
