#pragma once
// Loading the four player cards at start-up and saving them when the game asks. A card
// file is "Player " followed by the card table's text (lua/LuaSerializer); it is read as
// data (ReadPlayerCard) and written whole through a temporary file. A card is held to the
// shape the game needs (CardCheck) when it is read and before it is written. A card is
// written only when it changed, and never over a file another copy of the game wrote after
// this one read it (core/FileIdentity): that card is then held, and the newer file kept.
#include "core/FileIdentity.h"

#include <map>
#include <set>
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
    // Why the last SaveAllPlayerData could not write a card (the system's text, "No space
    // left on device", for the first card that failed); "" when every card was written.
    // Each save tries every card again.
    const std::string& GetLastSaveFailure() const MAKO_LIFETIMEBOUND { return m_LastSaveFailure; }

    // The file of card slot i (1 to 4).
    std::string GetCardPath(int slot) const;

    // A card file that is there but cannot be read (no permission, a folder, a link loop, a
    // FIFO, an I/O error), or is damaged and cannot be set aside (every set-aside name taken,
    // the rename refused), or is too large to be saved again after play, stays where it is,
    // and its slot is played without saving to it, so the file is never written over. Said
    // once in the log here with the reason, and on the card's screen (kUnsavedNotice).
    // Forgotten at the next load.
    void HoldFile(const std::string& path, const std::string& reason);
    // Whether slot i (1 to 4) is played without saving, its file held.
    bool IsSlotUnsaved(int slot) const;
    // The line a card's screen shows for such a slot.
    static const char* const kUnsavedNotice;
    // Holds every card file, now and after every later load, for the reason given (this
    // copy of the game may not save: the single-instance lock could not be taken).
    void HoldEveryFile(const std::string& reason);

    // Notes what the card file at path is as it is about to be read (taken before the read,
    // so a write by another copy meanwhile shows as a change at the save).
    void NoteRead(const std::string& path);

private:
    std::string m_CardsFolder;
    bool m_Loaded = false;
    std::string m_LastSaveFailure;
    std::set<std::string> m_HeldFiles;
    std::string m_HoldEveryReason;
    // What each card file was when it was read or last written by this copy.
    std::map<std::string, FileIdentity> m_Identities;

    // Checks and writes the card of the slot; "" when written, else why not (logged).
    std::string SaveCard(class PlayerManager& players, class Player& player, int slot);
    // Writes text over the card file of the slot unless another copy changed the file since
    // this one read it (the card is then held) or text is what the file holds; "" when the
    // card is saved or needs no saving, else why not (logged).
    std::string WriteCardFile(const std::string& path, const std::string& text, int slot,
                              const std::string& shownName);
    void TakeInRecords(class Player* player, int index, const char* kind);
    // Each card that owns a record some top-record list holds gets exactly those records
    // as its Game_Records; cards with none listed keep theirs.
    void WriteBackListedRecords(class PlayerManager& players);
};
