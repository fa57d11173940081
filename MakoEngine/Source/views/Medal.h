#pragma once
// Medal: one medal of a player's record drawn as a small button. A ribbon carries the
// medal's name, the picture under it shows the level reached (Bronze, Silver, Gold,
// Platinum) with the value that earned it. Pointing at it lights it up, pressing moves it
// by one pixel, and a release on it posts MAKO_MEDALCLICK (data1: the medal as its Object)
// to its receivers.
//
// The object name is the category ("Score", "Percent", "Word"). Every text and goal comes
// from configuration constants keyed by game type, category and level name:
//   "medal.<type>.<category>.Name"          the ribbon text
//   "medal.<type>.<category>.<level>.Name"  the text on the picture
//   "medal.<type>.<category>.<level>.Goal"  the number needed for that level
//   "medal.<type>.<category>.Units"         the unit of the goals
// A number read where a text is wanted is written out plainly ("25").
//
// Main thread only.
#include "scene/Actor.h"
#include "widgets/HoverState.h"
#include "widgets/PressStates.h"

#include <string>

class EventReceiver;
class Label;

class Medal : public Actor, public PressTarget
{
public:
    // Levels: 0 Bronze, 1 Silver, 2 Gold, 3 Platinum, 4 none left.
    static const int kLevelCount = 5;

    // A medal of the category in the picture imageName (usually "medal<category>.png").
    // receiver, when given, hears its clicks.
    Medal(const std::string& category, const std::string& imageName, const std::string& gameType,
          EventReceiver* receiver);
    ~Medal() override;

    // Shows the level: the picture "medal<levelName>.png" with its value text. Calling it
    // again replaces the picture.
    void SetLevel(int level, const std::string& levelName);
    int GetLevel() const { return m_Level; }

    // "Bronze" .. "Platinum" for levels 0..3, "No More Left!" for 4, empty otherwise.
    std::string GetLevelName() const;
    static std::string LevelName(int level);
    // The goal of the medal's own level (0 when the constant is missing or not a number).
    int GetGoal() const;
    // The goal of any level name of this medal's kind.
    int GetGoal(const std::string& levelName) const;
    std::string GetUnits() const;
    const std::string& GetGameType() const MAKO_LIFETIMEBOUND { return m_GameType; }
    const std::string& GetStoredLevelName() const MAKO_LIFETIMEBOUND { return m_LevelName; }
    const std::string& GetRibbonText() const MAKO_LIFETIMEBOUND { return m_RibbonText; }
    std::string GetCategory() const { return GetName(); }

    // A medal that is not clickable neither lights up nor presses nor clicks.
    void SetClickable(bool clickable) { m_Clickable = clickable; }
    bool IsClickable() const { return m_Clickable; }
    bool IsPressed() const { return IsPressHeld(); }

    // The text of a medal constant (numbers written out), empty when it is missing.
    static std::string ConstantText(const std::string& key);

protected:
    // Posts MAKO_MOUSEENTER / MAKO_MOUSELEAVE to itself when the pointer crosses its
    // rectangle; never consumed.
    bool OnMouseMotion(const Event& event) override;

private:
    // The press states: a visible medal lights up (its highlight shown while it is
    // clickable), a clickable one presses, moved by the press offset with a click sound,
    // and a click posts MAKO_MEDALCLICK.
    bool CanHighlight() const override { return IsVisible(); }
    bool CanPress() const override { return m_Clickable && IsVisible(); }
    void EnterPressState(PressState state) override;
    void LeavePressState(PressState state) override;
    void Click() override;

    void ShowHighlight(bool show);
    std::string Key(const std::string& tail) const;

    std::string m_LevelName = "none";
    int m_Level = 0;
    std::string m_GameType;
    std::string m_RibbonText;
    Actor* m_Highlight = nullptr;
    Label* m_RibbonLabel = nullptr;
    int m_PressOffsetX = 1;
    int m_PressOffsetY = 1;
    bool m_Clickable = true;
    HoverState m_Hover;
};
