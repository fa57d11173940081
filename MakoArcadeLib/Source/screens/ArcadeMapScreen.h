#pragma once
// ArcadeMapScreen ("MapScreen"): where the adventure's player chooses what to play. A map
// of the voyage with one pin per episode (placed at the episode's PinLocations entry) and
// a dotted route between the stops reached, the selected episode's list of levels, and a
// notepad with the selected level's best loot, its four bonus targets for the player's
// skill and the stars already earned there.
//
// The screen keeps nothing of its own: every choice goes at once into the first current
// player's Adventure table, and Update redraws everything from that table, the level order
// and the level tables. Selections only move over unlocked places, and Play starts only an
// unlocked level whose table exists. A player's first visit brings the map's tip letter
// ("gametip.map").
//
// What it shares with the lab (the notepad, the common buttons, Escape, the redraws) is
// NotepadScreen's. Layout: the resource table "ArcadeMapScreen"; each pin is made from
// "MapPinButton" with a "MapPushpin" head, each route from "MapRouteDot" dots. Main thread
// only.
#include "screens/MapProgress.h"
#include "screens/NotepadScreen.h"

#include <string>

class ArcadeMapScreen : public NotepadScreen
{
public:
    ArcadeMapScreen();

    // Rebuilds the whole screen from the player's tables (see the class comment). Runs
    // the player's skill first so that the targets shown are the ones play will use.
    void Update() override;

    // Whether Play would start a game now: the selection is unlocked and its level exists.
    bool CanPlaySelection();

protected:
    void PlayIfUnlocked() override;
    // The arrows, the level list and the pins.
    bool OnOwnButton(const std::string& name) override;
    // The developer's keys (with Ctrl+Alt) and Up and Down over the episodes; then the
    // shared keys.
    bool OnKeyDown(const Event& event) override;

private:
    // Pins and route lines from EpisodeNames and PinLocations.
    void AddEpisodePins();
    void AddRoute(const std::string& name, int x0, int y0, int x1, int y1);

    // The Adventure table of the first current player (also making "Adventure" the mode).
    LuaPlus::LuaObject AdventureTable();
    MapProgress ReadProgress();
    // Stores the place as the selection and redraws.
    void Select(const MapPlace& place);
    bool OnDeveloperKey(int key);

    void UpdateLevelList(const MapProgress& progress, const LuaPlus::LuaObject& levels,
                         const LuaPlus::LuaObject& records);
    void UpdatePins(const MapProgress& progress, bool finalPlayed);
    void UpdateNotepad(const MapProgress& progress, const LuaPlus::LuaObject& levels,
                       const LuaPlus::LuaObject& records);

    // The point size the level plaques' captions are made with (0 until first seen): each
    // update starts from it, as the shared size of the last may have been smaller.
    int m_LevelCaptionSize = 0;
};
