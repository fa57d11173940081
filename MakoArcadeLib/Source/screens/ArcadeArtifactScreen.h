#pragma once
// ArcadeArtifactScreen ("ArtifactScreen"), the player's finds: the artefacts of the
// adventure's levels, the found ones first (picture and title; a click opens the artefact's
// card) and then the missing ones (the "gone" picture and "#n Stolen!!!"), three at a time
// in a carousel that the arrow buttons turn. From here the player resumes the adventure
// (Play) or goes to the menu or the map.
//
// The screen recomputes both lists from the first current player's Adventure records, the
// level order and the level tables each time it becomes current (starting again at the first
// entry); showing it makes "Adventure" the player's game mode. With fewer entries than
// slots the surplus slots are hidden. A player's first visit brings the finds' tip letter
// ("gametip.finds").
//
// Layout: the resource table "ArcadeArtifactScreen"; the artefacts "artifact1" ..
// "artifact3" (their resource positions are the slots' centres) and the labels
// "artifact1Name" .. "artifact3Name" must be there. Main thread only.
#include "screens/ArtifactCarousel.h"
#include "screens/Screen.h"

#include <string>
#include <vector>

class Artefact;
class Label;

class ArcadeArtifactScreen : public Screen
{
public:
    ArcadeArtifactScreen();

    // Rebuilds the found and missing lists and fills the three slots from the current
    // position.
    void Update();

    // Resumes the adventure at the player's selected level (the first level of the first
    // episode when there is none) and switches to the named screen.
    void StartGameFromArtifactScreen(const std::string& screenName);

    const std::vector<std::string>& GetFoundList() const MAKO_LIFETIMEBOUND
    {
        return m_ArtifactFoundList;
    }
    const std::vector<std::string>& GetMissingList() const MAKO_LIFETIMEBOUND
    {
        return m_ArtifactMissingList;
    }
    int GetCurrentPosition() const { return m_CurrentPosition; }
    int GetTotalArtifacts() const { return m_TotalArtifacts; }
    bool IsShowingAllArtifacts() const { return m_ShowAllArtifacts; }

protected:
    bool OnScreenChange(const Event& event) override;
    bool OnKeyDown(const Event& event) override;
    bool OnButtonClick(const Event& event) override;

private:
    void ReadLists();
    void FillSlot(int slot);
    Artefact* SlotArtefact(int slot);
    Label* SlotLabel(int slot);
    // The card of a found artefact over the screen, the game paused.
    void OpenCard(const Artefact& artefact);

    std::vector<std::string> m_ArtifactFoundList;
    std::vector<std::string> m_ArtifactMissingList;
    int m_CurrentPosition = 0;
    int m_TotalArtifacts = 0;
    bool m_ShowAllArtifacts = false;
    // Where each slot's picture is centred (its resource position), in screen pixels.
    int m_SlotCenterX[ArtifactCarousel::kSlots] = {};
    int m_SlotCenterY[ArtifactCarousel::kSlots] = {};
};
