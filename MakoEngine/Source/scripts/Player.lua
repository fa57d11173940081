-- The players in use and their card files. Players[1] to Players[4] hold the four cards
-- (Players.current[1] is the one who plays); DummyPlayers the built-in players that are
-- not saved.
Players = Players or { current = {} }
DummyPlayers = DummyPlayers or {}

-- The player whose guid matches, searching Players, then DummyPlayers, in index order.
-- Raises an error when there is none, unless disable_error_check is true (then nil).
function GetPlayerWithGuid(guid, disable_error_check)
    for _, list in ipairs({ Players, DummyPlayers }) do
        for i = 1, 4 do
            if list[i] ~= nil and list[i].guid == guid then
                return list[i]
            end
        end
    end
    if disable_error_check then
        return nil
    end
    error("GetPlayerWithGuid failed, invalid guid=" .. tostring(guid))
end

-- The index of the player with that guid in Players, else in DummyPlayers, else nil.
function GetPlayerIndexWithGuid(guid)
    for _, list in ipairs({ Players, DummyPlayers }) do
        for i = 1, 4 do
            if list[i] ~= nil and list[i].guid == guid then
                return i
            end
        end
    end
    return nil
end

-- The file of card slot i.
function PlayerCardPath(i)
    return Paths.PlayerData .. "Player" .. i .. ".card"
end

-- Reads the four cards into Players, each file's card at its own slot. A slot whose file is
-- missing, or holds no card, gets a fresh card. A file that holds no card has been set aside
-- by then; one that is there but cannot be read, or could not be set aside, stays where it
-- is, and its slot is played without saving to it (the card's screen says so).
-- The current player is the one the configuration names, else player 1. Where the
-- configuration names a player that was not loaded (its card held, or not read as a stop cut
-- the start short), player 1 only stands in: the configuration keeps naming its player until
-- one is chosen.
function LoadGameData()
    local old = Players
    Players = CreatePlayersTable()
    DummyPlayers = CreateDummyPlayersTable()
    for i = 1, 4 do
        local previous = old and old[i]
        local card, err = ReadPlayerCard(PlayerCardPath(i))
        if card == nil then
            logprint("Couldn't load player " .. i .. ", err=\"" .. tostring(err) .. "\"")
            card = CreatePlayer()
        elseif GetPlayerWithGuid(card.guid, true) ~= nil then
            -- A copied card file: the copy becomes a player of its own.
            local guid = CreatePlayerGuid()
            logprint("Warning: player " .. i .. " has the guid " .. tostring(card.guid) ..
                     " of another player; it was given the guid " .. guid)
            card.guid = guid
        end
        if previous ~= nil and type(previous.Temp_Data) == "table" and previous.guid ~= nil and
           previous.guid == card.guid then
            card.Temp_Data = previous.Temp_Data
        end
        Players[i] = card
    end
    local guid = Config and Config["current_player_1_guid"]
    if guid == nil or not SetCurrentPlayerFromGuid(guid, 1) then
        -- The start's own pick is no choice of the player's: the configuration stays.
        SetCurrentPlayerFromIndex(1, 1, false)
    end
    AppPostEvent("MAKO_PLAYERCHANGE")
    AppPostEvent("MAKO_HIGHSCORESUPDATED")
end
