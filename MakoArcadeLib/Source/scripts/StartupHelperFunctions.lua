-- Functions the game's start-up and level scripts rely on.

-- The resource names a table builds on, in the order the engine applies them: its
-- "resource", then its "resources" (one name or a list).
local function namedResources(t)
    local names = {}
    local resource, resources = rawget(t, "resource"), rawget(t, "resources")
    if resource ~= nil then
        table.insert(names, resource)
    end
    if type(resources) == "table" then
        for _, name in ipairs(resources) do
            table.insert(names, name)
        end
    elseif resources ~= nil then
        table.insert(names, resources)
    end
    return names
end

-- Every key the resources of t give, as applying t would leave them: a later resource
-- overrides an earlier one and a resource's own keys override those of the resources it
-- builds on. Writes them into into; t's own keys are not included.
local function collectInherited(t, into, visiting)
    for _, name in ipairs(namedResources(t)) do
        local resource = name
        if type(name) ~= "table" then
            resource = Resources ~= nil and Resources[name] or nil
            if type(resource) ~= "table" then
                error("flattenObject: there is no table resource named \"" .. tostring(name) ..
                      "\"", 0)
            end
        end
        if visiting[resource] then
            error("flattenObject: the resource \"" .. tostring(name) ..
                  "\" names itself through its resources", 0)
        end
        visiting[resource] = true
        collectInherited(resource, into, visiting)
        visiting[resource] = nil
        for key, value in pairs(resource) do
            if key ~= "resource" and key ~= "resources" and key ~= "class" then
                into[key] = value
            end
        end
    end
end

-- A new table holding t's own keys and every key t inherits from the table resources it
-- names ("resource", "resources", and theirs in turn) and does not set itself: t's own
-- keys win. The names of the resources and their classes are not copied. t itself (often
-- a table of level data, which may refuse to be written) is only read, never written.
-- A value that is not a table is returned as it is.
function flattenObject(t)
    if type(t) ~= "table" then
        return t
    end
    local inherited = {}
    collectInherited(t, inherited, {})
    local flat = {}
    for key, value in pairs(inherited) do
        flat[key] = value
    end
    for key, value in pairs(t) do
        flat[key] = value
    end
    return flat
end

-- The card of the player who plays, and that player's current game mode ("Adventure",
-- "Lab"); nil for what is missing.
local function currentCardAndMode()
    local card = type(Players) == "table" and type(Players.current) == "table" and
                 Players.current[1] or nil
    if type(card) ~= "table" or type(card.Options) ~= "table" then
        return nil, nil
    end
    local mode = card.Options["game.mode"]
    if type(mode) ~= "string" then
        mode = nil
    end
    return card, mode
end

-- The current player's selected episode and level in the current game mode, each 1 when
-- the player has none.
function GetSavedEpisodeAndLevel()
    local episode, level = 1, 1
    local card, mode = currentCardAndMode()
    if mode ~= nil and type(card.Game_Modes) == "table" then
        local modeTable = card.Game_Modes[mode]
        if type(modeTable) == "table" then
            if type(modeTable.EpisodeSelected) == "number" then
                episode = math.modf(modeTable.EpisodeSelected)
            end
            if type(modeTable.LevelSelected) == "number" then
                level = math.modf(modeTable.LevelSelected)
            end
        end
    end
    return episode, level
end

-- Starts a game on the game screen in the current player's game mode, with three balls:
-- the level of that name, or without one the player's saved episode and level. The level files are read again first, so a level just edited
-- plays as it now is.
function SwitchToGame(levelName)
    local _, mode = currentCardAndMode()
    GameOptions = { ballsLeft = 3, gameType = mode }
    ReloadLevels()
    if levelName ~= nil then
        GameOptions.levelName = tostring(levelName)
    else
        GameOptions.episodeNumber, GameOptions.levelNumber = GetSavedEpisodeAndLevel()
    end
    SwitchToScreen("GameScreen")
end
