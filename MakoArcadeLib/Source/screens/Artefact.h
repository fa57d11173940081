#pragma once
// Artefact: the picture of a work of art that a level hides on the play field and the
// player recovers by clearing the bricks over it. The same actor shows recovered works on
// the finds and menu screens and on the artefact letter, where it can act as a button.
//
// Its image (named by the artefact's name, e.g. "artifactScream.jpg") has two frames:
// frame 0 the covered look, frame 1 the uncovered picture. Title, artist and description
// come from the script table Artifacts, keyed by the same name.
//
// Registered as class "Artefact" (parent "Actor") with the properties "score",
// "missing", "constrainWidth", "isButton", "active" and "artefact" (the name). On the play
// field it stands behind the bricks (z-order -1). Main thread only.
#include "scene/Actor.h"
#include "widgets/HoverState.h"
#include "widgets/PressStates.h"

#include <string>

class ArcadeGameLogic;

class Artefact : public Actor, public PressTarget
{
    MAKO_DECLARE_CLASS();

public:
    // The name scripts get when they make an artefact without naming one.
    static const char* const kDefaultName;
    // The least width a "constrainWidth" above 0 may fit the picture to: an artefact's
    // picture (three to two) keeps ten pixels of height, a width below it is held to it.
    static constexpr double kLeastConstrainWidth = 16.0;

    // The default artefact (kDefaultName), covered.
    Artefact();
    // The artefact of that name, covered (frame 0).
    explicit Artefact(const std::string& name);
    ~Artefact() override;

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    // Covered shows frame 0, uncovered frame 1. Uncovering is the reveal: a chime, the
    // score (when not 0) added to the controller with a flying text, and sparkles at the
    // four corners. The controller may be null (no score, no sparkles).
    virtual void SetCovered(bool covered, ArcadeGameLogic* logic);
    virtual bool IsCovered() const { return m_Covered; }

    // Shows the artefact of that name (uncovered frame, not missing); keeps a constrain
    // width and a button highlight fitted to the new picture.
    void SetName(const std::string& name);
    const std::string& GetArtefactName() const MAKO_LIFETIMEBOUND { return m_ArtefactName; }
    // The texts of the artefact's entry in Artifacts; the name itself when the entry or
    // the field is missing.
    std::string GetTitle() const;
    std::string GetArtist() const;
    std::string GetDescription() const;

    // A missing artefact shows "artifactGone.png" at the size its own picture is shown at
    // (held to the constrain width).
    void SetMissing(bool missing);
    bool IsMissing() const { return m_Missing; }
    // Scales a picture wider than width down to it, keeping its proportions; 0 = none.
    void SetConstrainWidth(double width);
    void ReapplyConstrainWidth();

    int GetScore() const { return m_Score; }
    void SetScore(int score) { m_Score = score; }

    // A button artefact reports MAKO_BUTTONPRESS / MAKO_BUTTONCLICK (data: the artefact)
    // to the receiver (and to its parent when it has no receiver).
    void MakeButton(EventReceiver* receiver);
    bool IsButton() const { return m_Highlight != nullptr; }
    void Activate() { m_Active = true; }
    // Clears the active flag; whether it was set.
    bool Deactivate();
    bool IsActive() const { return m_Active; }
    bool IsPressed() const { return IsPressHeld(); }
    Actor* GetHighlight() const { return m_Highlight; }

    static void RegisterProperties(Class& artefactClass);

protected:
    // Posts MAKO_MOUSEENTER / MAKO_MOUSELEAVE to itself when the pointer crosses its
    // rectangle; never consumed.
    bool OnMouseMotion(const Event& event) override;
    // Its own press, while visible and active: the click sound; consumed.
    bool OnButtonPress(const Event& event) override;

private:
    // The press states of a button artefact act while it is active and visible. The
    // highlight shows outside Active; Pressed moves it by the press offset and reports
    // MAKO_BUTTONPRESS; a click reports MAKO_BUTTONCLICK.
    bool CanHighlight() const override { return m_Active && IsVisible(); }
    bool CanPress() const override { return m_Active && IsVisible(); }
    void EnterPressState(PressState state) override;
    void LeavePressState(PressState state) override;
    void Click() override { Report(MAKO_BUTTONCLICK); }

    // The artefact's entry field, or the name.
    std::string ReadText(const char* field) const;
    // The artefact's own picture at its own size ("artifactGone.png" when there is none).
    void LoadOwnImage();
    // The wanted frame, or the last one of a picture with fewer frames.
    int ShownFrame(int wanted) const;
    void Report(std::uint8_t type);
    void ShowHighlight(bool show);

    bool m_Covered = true;
    int m_Score = 0;
    bool m_Missing = false;
    std::string m_ArtefactName;
    double m_OriginalWidth = 0.0;
    double m_OriginalHeight = 0.0;
    double m_ConstrainWidth = 0.0;
    Actor* m_Highlight = nullptr;
    int m_PressOffsetX = 0;
    int m_PressOffsetY = 0;
    bool m_Active = false;
    HoverState m_Hover;
};
