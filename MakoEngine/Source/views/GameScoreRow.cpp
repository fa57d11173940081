#include "views/GameScoreRow.h"

#include "core/Utility.h"
#include "players/GameRecord.h"
#include "players/PlayerManager.h"
#include "players/PlayerScript.h"
#include "players/TopRecordsList.h"
#include "widgets/Label.h"

#include <memory>

namespace {

// The record owner's name; "?" for a record no player owns any more.
std::string OwnerName(const LuaPlus::LuaObject& record)
{
    PlayerManager* players = PlayerManager::GetInstance();
    LuaPlus::LuaObject guid = record["playerGuid"];
    if (!players || !PlayerScript::IsInteger(guid))
        return "?";
    LuaPlus::LuaObject card =
        PlayerScript::CallGlobal(players->GetState(), "GetPlayerWithGuid", guid, true);
    return card.IsTable() && card["Name"].IsString() ? card["Name"].GetString() : "?";
}

} // namespace

GameScoreRow::GameScoreRow(int index, const GameRecord& record)
{
    LuaPlus::LuaObject table = record.GetTable();
    LuaPlus::LuaObject type = table["gameType"];
    // A record without a score (a card's the game did not write) shows none.
    double score = 0;
    const bool scored = TopGameRecordsList::GameScore(table, &score);
    const std::pair<const char*, std::string> labels[] = {
        {"TopScores_IndexLabel", std::to_string(index + 1) + "."},
        {"TopScores_PlayerNameLabel", OwnerName(table)},
        {"TopScores_GameScoreLabel", scored ? std::to_string(ClampToInt(score)) : "-"},
        {"TopScores_GameTypeLabel", type.IsConvertibleToString() ? type.ToString() : ""},
    };
    for (const auto& [templateName, text] : labels) {
        std::unique_ptr<Label> label(Label::CreateFromResource(templateName, text));
        std::string name = label->GetName();
        AddChild(label.release(), name);
    }
}

GameScoreRow* GameScoreRow::CreateRow(const TopRecordsList& list, int index)
{
    return new GameScoreRow(index, list.GetRecord(index));
}

Label* GameScoreRow::CreateTitle(const TopRecordsList& list)
{
    return Label::CreateFromResource("TopRecordsTitleLabel", list.GetName());
}
