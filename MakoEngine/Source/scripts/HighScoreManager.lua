-- The machine-wide high-score lists, kept for the run only, and the order in which a
-- high-score display pages through them. Each list's array part holds up to ten records,
-- best first; its named keys describe it.
HighScores = HighScores or {}
DefaultRatingsList = { name = "Top Ratings", is_rating_list = true }

-- (Re)creates every list empty.
function ClearHighScores()
    HighScores.SolitaireScores = { name = "Top Solitaire Scores" }
    HighScores.CompeteScores = { name = "Top Compete Scores" }
    HighScores.BlastScores = { name = "Top Blast Scores" }
    HighScores.Percentages = { name = "Top Percentages", is_percentage_list = true }
    HighScores.WordsByScore = { name = "Top Words (by score)", is_word_list = true }
    HighScores.WordsByLength = { name = "Top Words (by length)", is_word_list = true,
                                 display_field_as_score = "word_length" }
    HighScores.Ratings = {}
end

function ClearRatingsList()
    HighScores.Ratings = JoinTables(DefaultRatingsList)
end

-- Whether one of the first ten entries is the same game of the same player.
local function IsInHighScoreList(record, list)
    for i = 1, 10 do
        local entry = list[i]
        if entry == nil then
            return false
        end
        if entry.game_guid == record.game_guid and entry.player_guid == record.player_guid then
            return true
        end
    end
    return false
end

-- Files a score record into its mode's list and, except for "Blast", the percentages.
-- A mode without a list of its own is not shown anywhere and is not filed.
function HighScores_AddScoreRecord(record)
    local list = HighScores[tostring(record.game_mode) .. "Scores"]
    if type(list) ~= "table" then
        return
    end
    if not IsInHighScoreList(record, list) then
        InsertTopTenRecord(record, "total_score", list)
    end
    if record.game_mode ~= "Blast" and not IsInHighScoreList(record, HighScores.Percentages) then
        InsertTopTenRecord(record, "percentage", HighScores.Percentages)
    end
end

-- Files a word record by score and by length; a missing length is the word's byte count.
function HighScores_AddWordRecord(record)
    assert(type(record) == "table", "wordRecord.IsTable()")
    if record.word_length == nil then
        assert(type(record.word) == "string", "wordRecord[\"word\"].IsString()")
        record.word_length = string.len(record.word)
    end
    InsertTopTenRecord(record, "word_score", HighScores.WordsByScore)
    InsertTopTenRecord(record, "word_length", HighScores.WordsByLength)
end

-- A player's own top list of the current game mode; an empty slot's list is skippable,
-- and a list not filed yet is empty.
local function PlayerList(i, title, list_key, extra)
    local player = Players and Players[i]
    if player == nil or player.Name == nil then
        return { name = "Player " .. i .. "'s " .. title, skippable = true }
    end
    local result = JoinTables(extra, { name = player.Name .. "'s " .. title })
    local mode = player.Options and player.Options["game.mode"]
    local mode_table = player.Game_Modes and mode and player.Game_Modes[mode]
    local records = (type(mode_table) == "table" and mode_table[list_key]) or {}
    for k = 1, 10 do
        result[k] = records[k]
    end
    return result
end

function GetPlayerHighScores(i)
    return PlayerList(i, "Top Scores", "Top_Scores", {})
end

function GetPlayerTopWords(i)
    return PlayerList(i, "Top Words", "Top_Words", { is_word_list = true })
end

local function Named(name)
    return function() return HighScores[name] end
end

HighScores.DisplayIndex = 1
HighScores.DisplayOrder = {
    { "SolitaireScores", Named("SolitaireScores") },
    { "CompeteScores", Named("CompeteScores") },
    { "BlastScores", Named("BlastScores") },
    { "WordsByScore", Named("WordsByScore") },
    { "WordsByLength", Named("WordsByLength") },
    { "Percentages", Named("Percentages") },
    { "Ratings", Named("Ratings") },
}
for i = 1, 4 do
    table.insert(HighScores.DisplayOrder,
                 { "Player" .. i .. "Words", function() return GetPlayerTopWords(i) end })
end
for i = 1, 4 do
    table.insert(HighScores.DisplayOrder,
                 { "Player" .. i .. "Scores", function() return GetPlayerHighScores(i) end })
end

-- The list being shown.
function HighScores.GetDisplayed()
    local entry = HighScores.DisplayOrder[HighScores.DisplayIndex]
    local source = entry and entry[2]
    if type(source) == "function" then
        return source()
    end
    return source
end

function IsCurrentListSkippable()
    local entry = HighScores.DisplayOrder[HighScores.DisplayIndex]
    if entry == nil or type(entry[2]) ~= "function" then
        return false
    end
    local list = entry[2]()
    return type(list) == "table" and list.skippable == true
end

-- Moves by step (+1 or -1) with wrap-around, past skippable lists; when every list is
-- skippable it stops where it started.
local function ShowHighScore(step)
    local count = table.getn(HighScores.DisplayOrder)
    for _ = 1, count do
        HighScores.DisplayIndex = HighScores.DisplayIndex + step
        if HighScores.DisplayIndex > count then
            HighScores.DisplayIndex = 1
        elseif HighScores.DisplayIndex < 1 then
            HighScores.DisplayIndex = count
        end
        if not IsCurrentListSkippable() then
            break
        end
    end
    AppPostEvent("MAKO_HIGHSCORESUPDATED")
end

function ShowNextHighScore()
    ShowHighScore(1)
end

function ShowPrevHighScore()
    ShowHighScore(-1)
end

function DisplayList(list_name)
    for i, entry in ipairs(HighScores.DisplayOrder) do
        if entry[1] == list_name then
            HighScores.DisplayIndex = i
            AppPostEvent("MAKO_HIGHSCORESUPDATED")
            return
        end
    end
end
