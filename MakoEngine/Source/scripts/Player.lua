-- Looking players up by their identifier. Players holds the player cards in use;
-- DummyPlayers the built-in players that are not saved.
Players = Players or {}
DummyPlayers = DummyPlayers or {}

-- The player whose guid matches, searching Players, then DummyPlayers, in index order.
-- Raises an error when there is none, unless disable_error_check is true (then nil).
function GetPlayerWithGuid(guid, disable_error_check)
    for _, list in ipairs({Players, DummyPlayers}) do
        for i = 1, table.getn(list) do
            if list[i].guid == guid then return list[i] end
        end
    end
    if disable_error_check then return nil end
    error("GetPlayerWithGuid failed, invalid guid=" .. tostring(guid))
end

-- The index of the player with that guid in Players, else in DummyPlayers, else nil.
function GetPlayerIndexWithGuid(guid)
    for _, list in ipairs({Players, DummyPlayers}) do
        for i = 1, table.getn(list) do
            if list[i].guid == guid then return i end
        end
    end
    return nil
end
