#pragma once
// The game around a player card, for the card fuzz entry: the game's application without a
// window, over the generated asset pack (the folder named by BB_TEST_ASSET_PACK), with the
// game scripts, the levels, the menu screen and the game screen. Play loads the cards of a
// folder as the game's start does, shows the menu with the current player's card and every
// screen that shows a card or its records (the map, the lab, the finds), then starts the
// current player's selected level and plays its first passes.
//
// Made once per process, on first use; Get answers nullptr when there is no pack (then the
// entry only reads and writes the card). Every run starts from the same random seed, so an
// input plays the same way each time. Main thread only.
#include <memory>
#include <string>

namespace fuzz {

class CardStage
{
public:
    static CardStage* Get();

    // Loads the cards of folder (ending in '/'), shows the menu, the map, the lab and the
    // finds, starts the first current player's game, and leaves for an empty screen again.
    void Play(const std::string& folder);

    // What playing a level came to.
    struct LevelPlay
    {
        bool started = false; // the game screen built the level of that name
        bool served = false;  // a ball was in play at some pass
        bool stuck = false;   // at the end it was still waiting for a ball or playing
        std::string state;    // the game's state after the last pass
    };
    // Plays the level of that name of Levels as a game of it without a card: the game
    // screen builds it, then `passes` passes run, the left button pressed and released
    // through the application's event handling every few passes (the serve), and the stage
    // leaves for an empty screen again.
    LevelPlay PlayLevel(const std::string& name, int passes);
    // Reads the folder (ending in '/') as the game's scanner reads an asset folder, its
    // entries replacing those of the same names. A broken metadata file raises, naming it.
    void ScanFolder(const std::string& folder);
    // The asset pack the stage reads.
    static std::string Pack();

    ~CardStage();
    CardStage(const CardStage&) = delete;
    CardStage& operator=(const CardStage&) = delete;

private:
    CardStage();
    class StageApp;
    std::unique_ptr<StageApp> m_App;
};

} // namespace fuzz
