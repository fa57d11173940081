-- The scores and words that fill the high-score lists at every start, so that no list is
-- empty. Their players are the built-in players (guids -1 to -4).
DummyHighScores = {}
DummyWordScores = {}

local game_guid = 0

local function _CreateScore(total_score, player_guid, game_mode, percentage)
    game_guid = game_guid - 1
    return { total_score = total_score, player_guid = player_guid, game_mode = game_mode,
             percentage = percentage, date = 0, game_guid = game_guid }
end

local function _CreateWordScore(word, word_score, player_guid, game_mode)
    game_guid = game_guid - 1
    return { word = word, word_score = word_score, player_guid = player_guid,
             game_mode = game_mode, game_guid = game_guid }
end

local scores = {
    Solitaire = { { 10, -1, 20 }, { 15, -2, 10 }, { 27, -3, 15 }, { 35, -4, 26 }, { 20, -1, 9 },
                  { 21, -2, 12 }, { 8, -4, 26 }, { 16, -3, 9 }, { 12, -2, 12 } },
    Compete = { { 3, -1, 9 }, { 5, -2, 12 }, { 7, -3, 21 }, { 11, -4, 24 }, { 17, -3, 10 },
                { 26, -4, 2 }, { 3, -1, 9 }, { 5, -2, 12 }, { 7, -3, 21 }, { 11, -4, 24 },
                { 18, -3, 10 }, { 24, -4, 2 } },
    Blast = { { 406, -1, 6 }, { 125, -4, 4 }, { 332, -1, 3 }, { 225, -2, 2 }, { 97, -3, 5 },
              { 495, -4, 5 }, { 125, -4, 4 }, { 132, -1, 3 }, { 435, -2, 2 }, { 97, -3, 5 },
              { 695, -4, 5 } },
}
for _, mode in ipairs({ "Solitaire", "Compete", "Blast" }) do
    for _, s in ipairs(scores[mode]) do
        table.insert(DummyHighScores, _CreateScore(s[1], s[2], mode, s[3]))
    end
end

local words = {
    Solitaire = { { "cat", 1, -1 }, { "dog", 1, -2 }, { "ate", 1, -3 }, { "crazy", 2, -4 } },
    Compete = { { "den", 1, -1 }, { "baby", 1, -2 }, { "ran", 1, -3 }, { "trips", 2, -4 } },
    Blast = { { "dip", 1, -1 }, { "wait", 1, -2 }, { "zoo", 1, -3 }, { "raced", 2, -4 } },
}
for _, mode in ipairs({ "Solitaire", "Compete", "Blast" }) do
    for _, w in ipairs(words[mode]) do
        table.insert(DummyWordScores, _CreateWordScore(w[1], w[2], w[3], mode))
    end
end
