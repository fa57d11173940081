#pragma once
// Loading the four player cards at start-up and saving them when the game asks. A card
// file is "Player " followed by the card table's text (lua/LuaSerializer); it is read as
// data (ReadPlayerCard) and written whole through a temporary file.
#include <string>

class GameDataIO
{
public:
    explicit GameDataIO(const std::string& cardsFolder);
    virtual ~GameDataIO();
    GameDataIO(const GameDataIO&) = delete;
    GameDataIO& operator=(const GameDataIO&) = delete;

    static GameDataIO* GetInstance();

    // Runs LoadGameData() and takes in every card's game records. Only once unless force.
    virtual void LoadAllPlayerData(bool force);
    // Writes every card. Returns how many cards could not be written (each is logged and
    // its old file kept).
    virtual int SaveAllPlayerData();

    // The file of card slot i (1 to 4).
    std::string GetCardPath(int slot) const;

private:
    std::string m_CardsFolder;
    bool m_Loaded = false;

    void TakeInRecords(class Player* player, int index, const char* kind);
    // Each card that owns a record some top-record list holds gets exactly those records
    // as its Game_Records; cards with none listed keep theirs.
    void WriteBackListedRecords(class PlayerManager& players);
};
