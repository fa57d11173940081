#pragma once
// CardView: the clickable picture of one player card. A card background with the player's
// name, loot total, balls, secrets, goal-star average and rank, a highlight while the
// pointer is over it and a pressed look (drawn 2 px down and right, with a click) while a
// button is held on it. Releasing the button on the card posts MAKO_CARDCLICK (data1: the
// card as its Object) to the card's event receivers.
//
// Every refresh computes the player's rank from the loot of the current game mode for the
// view alone: the card is never written by being shown (its stored `Rank` stays). Rank names
// and their winnings come from the configuration ("rank.1".."rank.8",
// "rank.Adventure.<name>.winnings").
//
// The card's children: five images (background, rank plate, mode plate, highlight,
// disabled overlay; the last two start hidden), nine labels and the children of the
// resource "CardView" (loot, balls, secrets and the five stars). The player is not owned.
//
// Registered as class "CardView" (parent "Actor"). Main thread only.
#include "geometry/Point.h"
#include "scene/Actor.h"
#include "widgets/HoverState.h"
#include "widgets/PressStates.h"

#include <array>
#include <memory>
#include <string>

class Label;
class Player;

class CardView : public Actor, public PressTarget
{
    MAKO_DECLARE_CLASS();

public:
    static constexpr int kLabelCount = 9;
    static constexpr int kRankCount = 8;

    CardView();
    // Builds the card and shows the player (may be null).
    explicit CardView(Player* player);
    ~CardView() override;

    // Shows the player (may be null) and refreshes.
    void SetPlayer(Player* player);
    Player* GetPlayer() const { return m_Player; }
    // True when the shown player has no name (nobody signed in on the card), or when the
    // card shows no player.
    bool IsEmpty() const;

    // Re-reads the player: texts, loot, balls, secrets, stars, rank and plates.
    virtual void Refresh();
    // Rewrites one label (1 to 7) and its resource child after recomputing the rank.
    virtual void UpdateLabel(int number);

    void Tick() override;
    // Draws the card and its children moved by the draw offset.
    void Render(Canvas& canvas) override;
    // Tells the card itself, so that a card shown under a resting pointer lights up.
    void SetVisible(bool visible, bool recursive) override;

    // A disabled card neither lights up nor clicks.
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_Enabled; }

    Actor* GetBackground() const { return m_Background; }
    Actor* GetRankPlate() const { return m_RankPlate; }
    Actor* GetModePlate() const { return m_ModePlate; }
    Actor* GetHighlight() const { return m_Highlight; }
    Actor* GetDisabledOverlay() const { return m_DisabledOverlay; }
    // Label 0 (name) to 8 (mode word).
    Label* GetLabel(int index) const;
    Point<int> GetDrawOffset() const { return m_DrawOffset; }
    bool IsPressed() const { return IsPressHeld(); }
    bool IsMouseOver() const { return m_Hover.IsMouseOver(); }

    // The rank a loot total earns: the highest of the configured ranks whose winnings it
    // reaches, else the first rank. "" when the configuration names no ranks.
    static std::string RankForLoot(int loot);
    // The index (0 to 7) of a rank name among the configured ranks; -1 for any other.
    static int RankIndex(const std::string& rank);

protected:
    // Creates the children and enters "Active".
    virtual void Build();
    // Places the labels and updates the mode and rank plates.
    virtual void LayoutLabels();
    // Draws a long name smaller (from its own size) so that it keeps clear of the rank.
    void FitNameBesideRank();
    // Places the notice of a card played without saving (label 5) on the line of the
    // stars' caption, which gives its line up meanwhile: the card has no other line free.
    void PlaceUnsavedNotice();
    // Places the mode word and shows the frames of the mode and rank plates.
    virtual void UpdateModeAndRank();

    bool OnMouseMotion(const Event& event) override;
    bool OnScreenChange(const Event& event) override;

private:
    // The press states act only while the card is enabled and visible. The highlight shows
    // outside Active; Pressed clicks audibly and draws the card 2 px down and right; a
    // click posts MAKO_CARDCLICK.
    bool CanHighlight() const override { return IsUsable(); }
    bool CanPress() const override { return IsUsable(); }
    void EnterPressState(PressState state) override;
    void LeavePressState(PressState state) override;
    void Click() override;
    bool IsPointerOverWhenShown() const override { return m_Hover.IsMouseOver(); }

    Actor* MakeImageChild(const std::string& imageName, int zorder);
    // The rank the loot of the current mode earns, as shown (nothing is stored).
    std::string ShownRank() const;
    void UpdateStars();
    void SetChildText(const std::string& name, const std::string& text, bool show);
    bool IsUsable() const { return m_Enabled && IsVisible(); }

    // The card whose figures the view shows: the player's own, or, while the slot's play is
    // not saved, the card its file keeps (the play since is not on it).
    Player* Figures() const;
    // Chooses the figures and the notice of a slot whose play is not saved.
    void ChooseFigures();

    Player* m_Player = nullptr;
    // The card the slot's file keeps, while the slot's play is not saved; else null.
    std::unique_ptr<Player> m_SavedCard;
    Actor* m_Background = nullptr;
    Actor* m_RankPlate = nullptr;
    Actor* m_ModePlate = nullptr;
    Actor* m_Highlight = nullptr;
    Actor* m_DisabledOverlay = nullptr;
    std::array<Label*, kLabelCount> m_Labels{};
    Point<int> m_DrawOffset{0, 0};
    HoverState m_Hover;
    bool m_Enabled = true;
    // The stars' caption as the card's resource made it, and the middle of its line.
    std::string m_StarsCaption;
    int m_StarsCaptionMiddle = 0;
};
