#pragma once
// ArcadeLabScreen ("LabScreen"): the inventor's lab, ten bonus levels that the player's
// secrets pay for. Lab level i opens once the player has found 5 x i secrets, counted over
// the level records of the Adventure and Lab modes together. The screen lists the lab
// levels with what each needs, the secrets found so far, and a notepad with the selected
// level's best score, its four bonus targets for the player's skill and the stars earned.
//
// Like the map, the screen keeps nothing of its own but the developer's unlock switch:
// every choice of the player goes into the first current player's Lab table (which also
// makes "Lab" the player's mode), and Update redraws from that table, LevelOrder's lab list
// and Levels. What is open is always what the secrets pay for, computed for the screen (a
// replaced card cannot keep levels it has not earned), and the selection shown is held to
// the open levels; neither is written by being shown, so a card of an earlier release keeps
// its table until the player chooses. Selections only move over unlocked levels, and Play
// starts only an unlocked level whose table exists, writing the choice it plays.
//
// What it shares with the map (the notepad, the common buttons, Escape, the redraws) is
// NotepadScreen's. Layout: the resource table "ArcadeLabScreen". Main thread only.
#include "screens/NotepadScreen.h"

#include <string>

class ArcadeLabScreen : public NotepadScreen
{
public:
    // The lab's place in LevelOrder and the number of levels it offers.
    static const int kEpisode = 11;
    static const int kLevelCount = 10;

    ArcadeLabScreen();

    // Rebuilds the whole screen from the player's tables (see the class comment). Runs the
    // player's skill first so that the targets shown are the ones play will use.
    void Update() override;

    // Secrets lab level `level` (1-based) needs.
    static int SecretsNeeded(int level) { return 5 * level; }
    // The highest of the first `levels` lab levels that `secrets` pay for (0: none); every
    // one of them when `unlockAll` is set.
    static int LevelsUnlocked(int secrets, int levels, bool unlockAll);

protected:
    void PlayIfUnlocked() override;
    // The map button, the level arrows and the level list.
    bool OnOwnButton(const std::string& name) override;
    // Ctrl+Alt+'\\' opens every level, F1 asks for help; then the shared keys.
    bool OnKeyDown(const Event& event) override;

private:
    // The Lab table of the first current player (also making "Lab" the mode).
    LuaPlus::LuaObject LabTable();
    // Stores the level as the player's selection and redraws.
    void Select(int level);
    // The lab levels open now: what the secrets pay for (all with the developer's switch).
    int Unlocked();
    int CountSecrets();
    // The lab's levels: the entries of its list up to the first gap.
    static int CountLevels();
    // The table's selection held on an open level (level 1 while none is open), for the
    // screen; nothing is written.
    static int HeldSelection(const LuaPlus::LuaObject& table, int unlocked);

    // The heading, the secrets found and one plaque per level.
    void UpdateLevelList(int count, int unlocked, int selected, int secrets,
                         const LuaPlus::LuaObject& levels);

    // The developer's switch: every lab level open until the program ends.
    bool m_UnlockAllLevels = false;
};
