-- What a new player card holds. A card is one player's whole saved state; these functions
-- make its parts with their starting values.

-- The version of the player card format this program writes and reads.
Card_Version = 4

-- A new table with the keys of every table argument, later arguments winning.
function JoinTables(...)
    local result = {}
    for i = 1, select("#", ...) do
        local t = select(i, ...)
        if type(t) == "table" then
            for key, value in pairs(t) do
                result[key] = value
            end
        end
    end
    return result
end

-- A copy of t in which every nested table is copied too.
function DeepCopy(t)
    if type(t) ~= "table" then
        return t
    end
    local copy = {}
    for key, value in pairs(t) do
        copy[key] = DeepCopy(value)
    end
    return copy
end

function CreateOptionsTable()
    return { ["game.mode"] = "Adventure", ["player.skill"] = "casual" }
end

-- One game mode's progress; its top lists are added when the first record is filed.
function CreateGameModeTable()
    local rank = Config and Config["rank.1"]
    if rank == nil then
        rank = "???"
    end
    return {
        EpisodeSelected = 1,
        LevelSelected = 1,
        ballsLeft = 0,
        LevelUnlocked = 1,
        EpisodeUnlocked = 1,
        LevelRecords = {},
        Rank = rank,
        latestArtifact = "EMPTY",
    }
end

function CreateLevelRecordTable()
    return { score = 0, balls = 0, time = 0, loot = 0, secret = 0, award = 0, artifact = "EMPTY" }
end

function CreateGameSaveTable()
    return { CurrentRound = 0, Board = {} }
end

-- A guid (1 to 2,000,000,000) that no real or built-in player has yet.
function CreatePlayerGuid()
    while true do
        local guid = math.random(2000000000)
        if GetPlayerWithGuid(guid, true) == nil then
            return guid
        end
    end
end

-- A new card; every key of overrides is copied over the defaults.
function CreatePlayer(overrides)
    overrides = overrides or {}
    local card = {
        guid = overrides.guid or CreatePlayerGuid(),
        Card_Version = Card_Version,
        Game_Modes = {},
        Options = CreateOptionsTable(),
        Game_Saves = { Adventure = CreateGameSaveTable() },
        Game_Records = {},
    }
    return JoinTables(card, overrides)
end

function CreatePlayersTable()
    return { current = {} }
end

-- The four built-in players that fill the high-score tables; never saved.
DummyPlayerNames = { "Ada", "Bram", "Cleo", "Dex" }

function CreateDummyPlayersTable()
    local dummies = {}
    for k = 1, 4 do
        dummies[k] = CreatePlayer({ guid = -k, Name = DummyPlayerNames[k] })
    end
    return dummies
end

-- True when the slot holds no signed-in player.
function IsCardEmpty(player)
    return player == nil or player.Name == nil or player.guid == nil
end

-- Top-ten lists: arrays of records, best first. A new record goes ahead of the entries it
-- ties with; a list never holds more than ten.
function InsertTopTenRecord(record, field, list)
    local value = math.floor(tonumber(record[field]) or 0)
    for i = 1, 10 do
        local entry = list[i]
        if entry == nil then
            break
        end
        if value >= (tonumber(entry[field]) or 0) then
            table.insert(list, i, record)
            while list[11] ~= nil do
                table.remove(list, 11)
            end
            return true
        end
    end
    if table.getn(list) < 10 then
        table.insert(list, record)
        return true
    end
    return false
end

-- Whether list holds an entry of the same game (and, with word_key, the same word).
function IsRecordInList(record, list, word_key)
    for _, entry in ipairs(list) do
        if entry.game_guid == record.game_guid and
           (word_key == nil or entry[word_key] == record[word_key]) then
            return true
        end
    end
    return false
end

-- Files a score record into a game-mode table's Top_Scores and Top_Percentages.
function FileScoreRecord(mode_table, record)
    mode_table.Top_Scores = mode_table.Top_Scores or {}
    mode_table.Top_Percentages = mode_table.Top_Percentages or {}
    if not IsRecordInList(record, mode_table.Top_Scores) then
        InsertTopTenRecord(record, "total_score", mode_table.Top_Scores)
    end
    if not IsRecordInList(record, mode_table.Top_Percentages) then
        InsertTopTenRecord(record, "percentage", mode_table.Top_Percentages)
    end
end

-- Files a word record into a game-mode table's Top_Words.
function FileWordRecord(mode_table, record)
    mode_table.Top_Words = mode_table.Top_Words or {}
    if not IsRecordInList(record, mode_table.Top_Words, "word") then
        InsertTopTenRecord(record, "word_score", mode_table.Top_Words)
    end
end
