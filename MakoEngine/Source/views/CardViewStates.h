#pragma once
// The three states of a CardView: "Active" (the pointer is elsewhere), "Highlighted" (under
// the pointer) and "Pressed" (a button is held on the card). The card owns them through its
// state map. The rows that start a press or a click act only while the card is enabled
// and visible; leaving and releasing elsewhere always act.
#include "core/State.h"

class CardView;

namespace CardViewStates {

class Active : public State
{
public:
    explicit Active(CardView* card) : m_Card(card) {}
    const char* GetName() const override { return "Active"; }
    // Hides the highlight; leaving shows it.
    void OnEnterState() override;
    void OnExitState() override;
    // Goes back to Pressed when the press is still held, else to Highlighted.
    bool OnMouseEnter(const Event& event) override;
    // A release away from the card ends a held press without a click.
    bool OnMouseButtonUp(const Event& event) override;
    // A card made visible under a resting pointer lights up.
    bool OnInternalEvent(const Event& event) override;

private:
    CardView* m_Card;
};

class Highlighted : public State
{
public:
    explicit Highlighted(CardView* card) : m_Card(card) {}
    const char* GetName() const override { return "Highlighted"; }
    bool OnMouseLeave(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;

private:
    CardView* m_Card;
};

class Pressed : public State
{
public:
    explicit Pressed(CardView* card) : m_Card(card) {}
    const char* GetName() const override { return "Pressed"; }
    // Clicks audibly, marks the press and draws the card 2 px down and right.
    void OnEnterState() override;
    void OnExitState() override;
    // Leaving keeps the press, so coming back before the release presses again.
    bool OnMouseLeave(const Event& event) override;
    // A release on the card posts MAKO_CARDCLICK.
    bool OnMouseButtonUp(const Event& event) override;

private:
    CardView* m_Card;
};

} // namespace CardViewStates
