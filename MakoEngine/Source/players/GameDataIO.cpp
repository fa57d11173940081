#include "players/GameDataIO.h"

#include "core/AppHost.h"
#include "core/AtomicFile.h"
#include "core/DataReport.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/SaveNotice.h"
#include "core/SaveTurn.h"
#include "core/UserDataFile.h"
#include "core/Utility.h"
#include "lua/LuaFunctionList.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "players/CardCheck.h"
#include "players/GameRecord.h"
#include "players/GameRecordManager.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "players/PlayerScript.h"
#include "players/TopRecordsList.h"
#include "players/TopRecordsManager.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include <sys/stat.h>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

GameDataIO* gGameDataIO = nullptr;

const PlayerFileKeeper::Wording kCardWording = {
    "Warning: the card \"%1%\" stays where it is (%2%): its slot is played without saving, "
    "and the file is never written over.\n",
    "Warning: no player card is saved in this run (%1%): every slot is played without "
    "saving, and no card file is written over.\n"};

// What the player reads of a card another copy saved after this one read it.
const char* const kSavedByAnotherCopy =
    "another copy of the game saved this card after this one read it, and its card was kept";

// The largest saved text of a card that loads as one the game saves: below the file budget
// by far more than the records, lists and saved rounds a game adds to a card, so that a card
// that loads can be saved again after play.
const std::size_t kCardLoadMaxBytes = kUserFileMaxBytes - (std::size_t(1) << 20);

// A copy of the card's tables down to a depth no card the game writes reaches (below it,
// tables are shared), so that play on the card never changes the copy.
LuaObject CopyOfTable(const LuaObject& table, int depth)
{
    LuaObject copy;
    copy.AssignNewTable(table.GetState());
    for (LuaTableIterator it(table); it; it.Next()) {
        const LuaObject value = it.GetValue();
        copy.SetObject(it.GetKey(),
                       value.IsTable() && depth > 0 ? CopyOfTable(value, depth - 1) : value);
    }
    return copy;
}

LuaObject CopyOfCard(const LuaObject& card)
{
    return CopyOfTable(card, 32);
}

// The card file's loader: takes the one table the file hands it into its first upvalue's
// field "card". A second call is an error: the file is not a card.
int CollectCard(lua_State* L)
{
    if (!lua_istable(L, 1))
        return luaL_error(L, "Player needs a table");
    lua_getfield(L, lua_upvalueindex(1), "card");
    bool taken = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (taken)
        return luaL_error(L, "the file holds more than one card");
    lua_pushvalue(L, 1);
    lua_setfield(L, lua_upvalueindex(1), "card");
    return 0;
}

// Holds the card to the shape the game needs (CardCheck), logging each value it mends
// (the first kMaxRepairLines of them) under the name `what`. False, with the reason in
// error, when the card cannot be used.
bool CheckCard(const LuaObject& card, const std::string& what, std::string& error)
{
    const std::size_t kMaxRepairLines = 20;
    CardCheck check(card);
    if (!check.Run()) {
        error = check.GetProblem();
        return false;
    }
    const std::vector<std::string>& repairs = check.GetRepairs();
    for (std::size_t i = 0; i < repairs.size() && i < kMaxRepairLines; ++i)
        Log("Warning: %s was mended: %s\n", what.c_str(), repairs[i].c_str());
    if (repairs.size() > kMaxRepairLines)
        Log("Warning: %s was mended in %d more places\n", what.c_str(),
            static_cast<int>(repairs.size() - kMaxRepairLines));
    return true;
}

// The reason the card cannot be written back as a card file the next start would read
// ("" when it can): the saver's text of it would be over the file budget.
std::string WhyCardCannotBeWritten(const LuaObject& card, std::string& text)
{
    text = "Player ";
    SerializeToString(text, card, SERIALIZE_SORTED, card.GetState());
    if (text.size() <= kUserFileMaxBytes)
        return std::string();
    return "the card cannot be saved: it would be larger than the " +
           std::to_string(kUserFileMaxBytes >> 20) + " MiB a card file may hold";
}

// Runs the card file; on success the card table, else nil and the reason. Only a missing
// file means a fresh card. A file that exists but cannot be read (no permission, a folder,
// a link loop, a FIFO, an I/O error) is held (GameDataIO::HoldFile), so that nothing is ever
// saved over it; one that is read but is not a card is set aside (".bad") with a warning,
// and held when it cannot be set aside. A card too large to be saved again once a game has
// added to it is played, and held.
LuaObject ReadCard(LuaPlus::LuaState* state, const std::string& path, std::string& error)
{
    lua_State* L = state->GetCState();
    LuaObject box;
    box.AssignNewTable(state);
    box.Push(L);
    lua_pushcclosure(L, CollectCard, 1);
    LuaObject loader(state, -1);
    lua_pop(L, 1);
    LuaObject environment;
    environment.AssignNewTable(state);
    environment.SetObject("Player", loader);

    GameDataIO* io = GameDataIO::GetInstance();
    // Two slots that name one file (a link, or a second name) are one card: the first slot's.
    // The later slot is played as a fresh card that is never saved, so the file is never
    // written from two cards (nor its guid made anew at every start).
    const std::string first = io ? io->NoteCardFile(path) : std::string();
    if (!first.empty()) {
        error = "it is the same file as the card \"" + first + "\", which counts once, there";
        io->HoldFile(path, error);
        return LuaObject(state);
    }
    if (io)
        io->NoteRead(path);
    int status = RunUserDataFile(state, path, environment, "player card " + path, error);
    if (status == USERFILE_STATUS_MISSING) {
        if (io)
            io->NoteSavedCard(path, GameDataIO::SAVED_CARD_NONE, LuaObject());
        return LuaObject(state);
    }
    // A card that is there but cannot be read is the player's all the same: it stays.
    if (status == LUA_ERRFILE) {
        error = "it could not be read: " + error;
        if (io) {
            // A read cut short by a stop is no fault of the card: held all the same, unsaid.
            io->HoldFile(path, error,
                         ObjectBoundary::FaultOf(nullptr) == ObjectBoundary::Fault::Stop);
            io->NoteSavedCard(path, GameDataIO::SAVED_CARD_UNKNOWN, LuaObject());
        }
        return LuaObject(state);
    }
    LuaObject card = box["card"];
    if (status == 0) {
        // The writer's mark would make the whole card be saved as nothing.
        if (card.IsTable() && !card["Do_Not_Serialize"].IsNil()) {
            Log("Warning: the card \"%s\" holds the key Do_Not_Serialize; it was dropped\n",
                path.c_str());
            card.SetNil("Do_Not_Serialize");
        }
        // A card the saver could not write back would lose all later play at every quit:
        // it is refused now, as the configuration refuses such a value.
        std::string text;
        if (CheckCard(card, "the card \"" + path + "\"", error) &&
            (error = WhyCardCannotBeWritten(card, text)).empty()) {
            // A card that loads must save again after a game has added to it.
            if (text.size() > kCardLoadMaxBytes && io)
                io->HoldFile(path, "it leaves no room for what a game adds: it would be "
                                   "larger than the " +
                                       std::to_string(kUserFileMaxBytes >> 20) +
                                       " MiB a card file may hold");
            if (io)
                io->NoteSavedCard(path, GameDataIO::SAVED_CARD_KNOWN, card);
            return card;
        }
    }
    if (!KeepFileAside(path, error)) {
        if (io) {
            io->HoldFile(path, "it could not be set aside: " + error);
            io->NoteSavedCard(path, GameDataIO::SAVED_CARD_UNKNOWN, LuaObject());
        }
    } else if (io) {
        // The slot starts afresh where the damaged file stood.
        io->NoteRead(path);
        io->NoteSavedCard(path, GameDataIO::SAVED_CARD_NONE, LuaObject());
    }
    return LuaObject(state);
}

} // namespace

GameDataIO::GameDataIO(const std::string& cardsFolder)
    : m_CardsFolder(cardsFolder), m_Keeper(kCardWording)
{
    gGameDataIO = this;
}

GameDataIO::~GameDataIO()
{
    if (gGameDataIO == this)
        gGameDataIO = nullptr;
}

GameDataIO* GameDataIO::GetInstance()
{
    return gGameDataIO;
}

std::string GameDataIO::GetCardPath(int slot) const
{
    return m_CardsFolder + "Player" + std::to_string(slot) + ".card";
}

namespace {

// Where a record taken in from a card is: the card and the record's key.
class CardRecordPlace : public DataPlace
{
public:
    CardRecordPlace(const std::string& card, const std::string& key) : m_Card(card), m_Key(key) {}
    std::string Describe() const override { return m_Card + ", Game_Records[" + m_Key + "]"; }

private:
    std::string m_Card;
    std::string m_Key;
};

} // namespace

void GameDataIO::TakeInRecords(Player* player, int index, const char* kind)
{
    GameRecordManager* records = GameRecordManager::GetInstance();
    if (!player || !records)
        return;
    const std::string where = std::string(kind) == "player"
                                  ? "the card \"" + GetCardPath(index) + "\""
                                  : std::string(kind) + " " + std::to_string(index);
    int count = 0;
    for (LuaTableIterator it(player->GetGameRecords()); it; it.Next()) {
        const std::string key = DataKeyText(it.GetKey());
        // A record is one object made from the card: what its data lacks stops at it.
        CardRecordPlace place(where, key);
        DataReport::Place opened(place);
        std::string why;
        if (ObjectBoundary::Contain(
                [&] {
                    GameRecord record(it.GetValue());
                    records->NotifyObservers(record);
                },
                &why)) {
            ++count;
            continue;
        }
        // A copied card brings records that are known already: they count once. A record
        // the game cannot read is named with its card and key; the card keeps it.
        Log("Warning: %s; the record is left out of the lists and kept on the card\n",
            OneLineText(where + ", Game_Records[" + key + "]: " + why).c_str());
    }
    LogAtLevel(2, "\tLoaded %d records from %s %d.\n", count, kind, index);
}

const char* const GameDataIO::kUnsavedNotice = "Not saved: old card kept";
const char* const GameDataIO::kUnsavedNewCardNotice = "Not saved";

GameDataIO::SavedCard GameDataIO::GetSavedCard(int slot, LuaObject& card) const
{
    const auto found = m_SavedCards.find(GetCardPath(slot));
    // A file never read (the cards not loaded yet) is not known to be missing.
    if (found == m_SavedCards.end())
        return SAVED_CARD_UNKNOWN;
    card = found->second.second;
    return found->second.first;
}

void GameDataIO::NoteSavedCard(const std::string& path, SavedCard kind, const LuaObject& card)
{
    if (kind == SAVED_CARD_KNOWN && !card.IsTable())
        kind = SAVED_CARD_UNKNOWN;
    m_SavedCards[path] = {kind, kind == SAVED_CARD_KNOWN ? CopyOfCard(card) : LuaObject()};
}

void GameDataIO::HoldFile(const std::string& path, const std::string& reason, bool said)
{
    m_Keeper.Hold(path, reason, said);
}

bool GameDataIO::IsSlotUnsaved(int slot) const
{
    return m_Keeper.IsHeld(GetCardPath(slot)) || m_Unsaved.count(slot) != 0;
}

void GameDataIO::HoldEveryFile(const std::string& reason)
{
    m_Keeper.HoldEvery(reason);
}

void GameDataIO::NoteRead(const std::string& path)
{
    m_Keeper.NoteRead(path);
}

std::string GameDataIO::NoteCardFile(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return std::string();
    const auto found = m_CardFiles.emplace(std::make_pair(status.st_dev, status.st_ino), path);
    return found.first->second == path ? std::string() : found.first->second;
}

std::string GameDataIO::GetSaveFailure(int slot) const
{
    const auto found = m_Unsaved.find(slot);
    return found == m_Unsaved.end() ? std::string() : found->second;
}

std::string GameDataIO::GetLastSaveFailure() const
{
    return m_Unsaved.empty() ? std::string() : m_Unsaved.begin()->second;
}

void GameDataIO::NoteLoadedCards(PlayerManager& players)
{
    m_Kept.clear();
    // The cards as a save would write them now (a save first gives each card the records the
    // lists hold): that is the data read, and a card still equal to it at a save is not
    // written, whatever form its file has, and a slot with no file gets none.
    WriteBackListedRecords(players);
    for (int i = 1, n = players.GetPlayerCount(); i <= n; ++i) {
        Player* player = players.GetPlayer(i);
        const std::string path = GetCardPath(i);
        std::string text;
        if (player && WhyCardCannotBeWritten(player->GetTable(), text).empty()) {
            m_Kept[path] = text;
            m_Keeper.NoteReadAs(path, text);
        }
    }
}

void GameDataIO::SetUnsaved(std::map<int, std::string> unsaved)
{
    if (unsaved == m_Unsaved)
        return;
    m_Unsaved.swap(unsaved);
    // The card views say at once which cards are not saved.
    if (AppHost* host = GetAppHost())
        host->PostEvent(nullptr, MAKO_PLAYERCHANGE);
}

void GameDataIO::LoadAllPlayerData(bool force)
{
    MAKO_ASSERT_MSG(force || m_Loaded == false,
                    "Player data can only be loaded once, for the time being.");
    PlayerManager* players = PlayerManager::GetInstance();
    MAKO_ASSERT(players != nullptr);
    m_Keeper.ForgetEvery();
    m_Unsaved.clear();
    m_CardFiles.clear();
    m_SavedCards.clear();
    MakoLuaState::LoadString(players->GetState(), "LoadGameData()");
    LogAtLevel(2, "Loading All Player Data...\n");
    for (int i = 1, n = players->GetPlayerCount(); i <= n; ++i)
        TakeInRecords(players->GetPlayer(i), i, "player");
    for (int i = 1, n = players->GetDummyPlayerCount(); i <= n; ++i)
        TakeInRecords(players->GetDummyPlayer(i), i, "dummy player");
    NoteLoadedCards(*players);
    m_Loaded = true;
}

void GameDataIO::WriteBackListedRecords(PlayerManager& players)
{
    TopRecordsManager* top = TopRecordsManager::GetInstance();
    if (!top)
        return;
    std::vector<TopRecordsList*> lists;
    top->GetLists(lists);
    // Player guid -> the records some list holds, each once, in list order.
    std::map<int, std::vector<LuaObject>> marked;
    std::map<int, std::set<int>> seen;
    for (TopRecordsList* list : lists) {
        for (int i = 0; i < list->GetCount(); ++i) {
            const GameRecord& record = list->GetRecord(i);
            LuaObject table = record.GetTable();
            LuaObject owner = table["playerGuid"];
            if (!PlayerScript::IsInteger(owner))
                continue;
            if (seen[owner.GetInteger()].insert(record.GetGuid()).second)
                marked[owner.GetInteger()].push_back(table);
        }
        LogAtLevel(4, "\tMarked %d items from list \"%s\"\n", list->GetCount(),
                   list->GetName().c_str());
    }
    for (const auto& [guid, records] : marked) {
        Player* player = players.GetPlayerWithGuid(guid);
        if (!player) {
            LogAtLevel(1, "WARNING: Could not find player with guid = %d\n", guid);
            continue;
        }
        LuaObject card = player->GetTable();
        LuaObject kept = card.CreateTable("Game_Records");
        for (std::size_t i = 0; i < records.size(); ++i)
            kept.SetObject(static_cast<int>(i + 1), records[i]);
        LuaObject name = card["Name"];
        Log("\tAssociated %d records with player {guid=%d, name=%s}\n",
            static_cast<int>(records.size()), guid, name.IsString() ? name.GetString() : "nil");
    }
}

int GameDataIO::SaveAllPlayerData()
{
    LogAtLevel(3, "Saving All Player Data...\n");
    PlayerManager* players = PlayerManager::GetInstance();
    MAKO_ASSERT(players != nullptr);
    WriteBackListedRecords(*players);
    // Every card's save shares one budget of waiting for another copy's turn.
    const SaveTurn::Pass pass;
    std::string why;
    // A folder that cannot be made: the writes below fail too, each with its own message.
    if (!ObjectBoundary::Contain([&] { CreateDirectories(m_CardsFolder); }, &why))
        LogAtLevel(2, "Warning: %s\n", why.c_str());
    std::map<int, std::string> unsaved;
    for (int i = 1, n = players->GetPlayerCount(); i <= n; ++i) {
        Player* player = players->GetPlayer(i);
        if (!player)
            continue;
        std::string failure = SaveCard(*players, *player, i);
        if (!failure.empty())
            unsaved[i] = failure;
    }
    const int count = static_cast<int>(unsaved.size());
    SetUnsaved(std::move(unsaved));
    return count;
}

std::string GameDataIO::SaveCard(PlayerManager& players, Player& player, int slot)
{
    const std::string path = GetCardPath(slot);
    LuaObject name = player.GetTable()["Name"];
    std::string shownName = name.IsString() ? name.GetString() : "nil";
    std::string text = "Player ";
    std::string why;
    // A card whose values fail the check is the card's fault; the program's own mistakes pass
    // on (core/ObjectBoundary).
    const bool writable = ObjectBoundary::Contain(
        [&] {
            std::string problem;
            if (!CheckCard(player.GetTable(), "player #" + std::to_string(slot), problem))
                MAKO_THROW(Exception, "the card is damaged: " + problem);
            // A card the next start would refuse to read is not written: the old one stays.
            const std::string unwritable = WhyCardCannotBeWritten(player.GetTable(), text);
            if (!unwritable.empty())
                MAKO_THROW(Exception, unwritable);
        },
        &why);
    if (!writable) {
        Log("Warning: player #%d (\"%s\") could not be written: %s. The previous card "
            "was kept.\n",
            slot, shownName.c_str(), why.c_str());
        return why;
    }
    return WriteCardFile(path, text, slot, shownName, player.GetTable());
}

std::string GameDataIO::WriteCardFile(const std::string& path, const std::string& text, int slot,
                                      const std::string& shownName, const LuaObject& card)
{
    const KeeperSave save = m_Keeper.Save(path, text);
    switch (save.outcome) {
    case KEEPER_SAVED:
        m_Kept[path] = text;
        NoteSavedCard(path, SAVED_CARD_KNOWN, card);
        LogAtLevel(2, "\tSaved player #%d (\"%s\") to path \"%s\".\n", slot, shownName.c_str(),
                   path.c_str());
        return std::string();
    case KEEPER_UNCHANGED:
        m_Kept[path] = text;
        NoteSavedCard(path, SAVED_CARD_KNOWN, card);
        LogAtLevel(3, "\tPlayer #%d is not saved: nothing changed since the card was read.\n",
                   slot);
        return std::string();
    case KEEPER_HELD:
    case KEEPER_REFUSED: {
        if (save.outcome == KEEPER_HELD)
            LogAtLevel(3, "\tPlayer #%d is not saved: its card file is held.\n", slot);
        // A held card this copy has not changed since it loaded or saved it lost nothing.
        const auto kept = m_Kept.find(path);
        if (kept != m_Kept.end() && kept->second == text)
            return std::string();
        if (save.outcome == KEEPER_HELD)
            return save.reason == kFileChangedSinceRead ? kSavedByAnotherCopy : save.reason;
        // Refused once: the card is held from now on.
        SaveNotice::Refused("the card of \"" + shownName + "\" (slot " + std::to_string(slot) +
                            ")");
        return kSavedByAnotherCopy;
    }
    case KEEPER_NO_TURN:
        return save.reason;
    case KEEPER_FAILED:
        break;
    }
    Log("Warning: could not save player #%d (\"%s\") to \"%s\": %s. The previous card "
        "was kept.\n",
        slot, shownName.c_str(), path.c_str(), save.reason.c_str());
    return save.reason;
}

// ReadPlayerCard(path): the card table the file holds, or nil and the reason it could not
// be read. A file that is there but holds no card is renamed to path .. ".bad".
MAKO_LUA_FUNCTION(ReadPlayerCard)
{
    const char* path = luaL_checkstring(L, 1);
    LuaPlus::LuaState* state = LuaPlus::LuaState::CastState(L);
    std::string error;
    LuaObject card = ReadCard(state, path, error);
    card.Push(L);
    if (card.IsTable())
        return 1;
    lua_pushstring(L, error.c_str());
    return 2;
}

// LoadData(): loads the cards (only once per run).
MAKO_LUA_FUNCTION(LoadData)
{
    GameDataIO* io = GameDataIO::GetInstance();
    if (!io)
        MAKO_THROW(ScriptError, "LoadData: there is no game data.");
    io->LoadAllPlayerData(false);
    return 0;
}

// SaveData(): writes every card; returns whether every card is saved, and a table of the
// slots whose play is not saved, each with why ({[2] = "No space left on device"}).
MAKO_LUA_FUNCTION(SaveData)
{
    GameDataIO* io = GameDataIO::GetInstance();
    if (!io)
        MAKO_THROW(ScriptError, "SaveData: there is no game data.");
    lua_pushboolean(L, io->SaveAllPlayerData() == 0);
    lua_newtable(L);
    for (const auto& [slot, reason] : io->GetUnsavedCards()) {
        lua_pushlstring(L, reason.data(), reason.size());
        lua_rawseti(L, -2, slot);
    }
    return 2;
}
