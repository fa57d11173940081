#pragma once
// Loading the four player cards at start-up and saving them when the game asks. A card
// file is "Player " followed by the card table's text (lua/LuaSerializer); it is read as
// data (ReadPlayerCard) and written whole through a temporary file. A card is held to the
// shape the game needs (CardCheck) when it is read and before it is written. A card is
// written only when its data differs from the data this copy read (compared in the saver's
// form, so a file in another form, or a slot with no file, is left as it is until the player
// changes the card), and never over a file another copy of the game wrote after this one
// read it (core/FileIdentity): that card is then held, the newer file kept, and the player
// told (core/SaveNotice).
#include "core/PlayerFileKeeper.h"
#include "luaplus/LuaPlus.h"

#include <map>
#include <set>
#include <string>
#include <utility>

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
    // Writes every card. Returns how many cards hold play this copy could not save (each is
    // logged, and its old file kept): GetUnsavedCards.
    virtual int SaveAllPlayerData();
    // Every slot whose card holds play that is not in its file, with why it could not be
    // saved (the system's text, "No space left on device", or why the card is held), from
    // the save that could not write it until one that does. A held card counts once this
    // copy changed it since the cards were loaded.
    const std::map<int, std::string>& GetUnsavedCards() const MAKO_LIFETIMEBOUND
    {
        return m_Unsaved;
    }
    // Why the card of the slot could not be saved; "" when it is saved.
    std::string GetSaveFailure(int slot) const;
    // The first card's reason of GetUnsavedCards; "" when every card is saved.
    std::string GetLastSaveFailure() const;

    // The file of card slot i (1 to 4).
    std::string GetCardPath(int slot) const;

    // A card file that is there but cannot be read (no permission, a folder, a link loop, a
    // FIFO, an I/O error), or is damaged and cannot be set aside (every set-aside name taken,
    // the rename refused), or is too large to be saved again after play, stays where it is,
    // and its slot is played without saving to it, so the file is never written over. Said
    // once in the log here with the reason (unless said is true), and on the card's screen
    // (kUnsavedNotice). Forgotten at the next load.
    void HoldFile(const std::string& path, const std::string& reason, bool said = false);
    // Whether slot i (1 to 4) is played without saving: its file held, or its last save
    // failed.
    bool IsSlotUnsaved(int slot) const;
    // The line a card's screen shows for such a slot whose file holds a card.
    static const char* const kUnsavedNotice;
    // The line for such a slot where no card file stood: nothing of it is kept anywhere.
    static const char* const kUnsavedNewCardNotice;

    // What the file of slot i (1 to 4) holds, as this copy last read or saved it: for the
    // card's screen while the slot's play is not saved, which shows the figures of the card
    // kept rather than those of the play that was lost.
    enum SavedCard {
        SAVED_CARD_NONE,    // no card file stood there: the card is new
        SAVED_CARD_UNKNOWN, // a file this copy could not read, or did not save, stands there
        SAVED_CARD_KNOWN,   // the card is the one given (a copy, never the card played)
    };
    SavedCard GetSavedCard(int slot, LuaPlus::LuaObject& card) const;
    // Notes what the card file at path holds now, as the reader found it or a save wrote it
    // (keeping a copy of card when it is KNOWN).
    void NoteSavedCard(const std::string& path, SavedCard kind, const LuaPlus::LuaObject& card);
    // Holds every card file, now and after every later load, for the reason given (this
    // copy of the game may not save: the single-instance lock could not be taken).
    void HoldEveryFile(const std::string& reason);

    // Notes what the card file at path is as it is about to be read (taken before the read,
    // so a write by another copy meanwhile shows as a change at the save).
    void NoteRead(const std::string& path);
    // Notes that the card file at path is read for its slot in this load; when it is the very
    // file (through a link, or under a second name) an earlier slot's card was read from,
    // returns that slot's path, else "".
    std::string NoteCardFile(const std::string& path);

private:
    std::string m_CardsFolder;
    bool m_Loaded = false;
    // Reads, holds and writes the card files.
    PlayerFileKeeper m_Keeper;
    // Slot -> why its card holds play that is not saved.
    std::map<int, std::string> m_Unsaved;
    // Card file -> the text of its card as this copy last loaded or saved it: a held or
    // refused card that still reads so lost nothing.
    std::map<std::string, std::string> m_Kept;
    // The file (device, inode) each card of this load was read from -> its slot's path.
    std::map<std::pair<unsigned long long, unsigned long long>, std::string> m_CardFiles;
    // Card file -> what it holds as this copy last read or saved it (GetSavedCard); a file
    // not named has not been read.
    std::map<std::string, std::pair<SavedCard, LuaPlus::LuaObject>> m_SavedCards;

    // Checks and writes the card of the slot; "" when written, else why not (logged).
    std::string SaveCard(class PlayerManager& players, class Player& player, int slot);
    // Writes text over the card file of the slot through the keeper; "" when the card is
    // saved or needs no saving, else why not (logged).
    std::string WriteCardFile(const std::string& path, const std::string& text, int slot,
                              const std::string& shownName, const LuaPlus::LuaObject& card);
    // Notes the text of every card as loaded, and tells the card views when the slots that
    // are not saved change.
    void NoteLoadedCards(class PlayerManager& players);
    void SetUnsaved(std::map<int, std::string> unsaved);
    void TakeInRecords(class Player* player, int index, const char* kind);
    // Each card that owns a record some top-record list holds gets exactly those records
    // as its Game_Records; cards with none listed keep theirs.
    void WriteBackListedRecords(class PlayerManager& players);
};
