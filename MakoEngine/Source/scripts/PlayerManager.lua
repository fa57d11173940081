-- Filing records into the players' cards.

-- True when an entry of the array list has guid == game_guid.
function IsGameGuidInTable(game_guid, list)
    for _, entry in ipairs(list) do
        if type(entry) == "table" and entry.guid == game_guid then
            return true
        end
    end
    return false
end

-- Appends a game record to its owner's Game_Records unless it is there already.
function PlayerManager_AddRecordToCard(game_record)
    assert(type(game_record) == "table")
    local player = GetPlayerWithGuid(game_record.player_guid)
    assert(type(player) == "table")
    assert(type(player.Game_Records) == "table")
    if not IsGameGuidInTable(game_record.guid, player.Game_Records) then
        table.insert(player.Game_Records, game_record)
    end
end
