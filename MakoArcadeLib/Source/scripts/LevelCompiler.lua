-- The table of levels and the compiler of brick text.
--
-- Every level is one table stored under its name in Levels. Assigning a level compiles
-- its brick text (`bricks`, a list of strings, one per row) into `compiledBricks` unless
-- the level brings that list itself. A compiled brick is a table with `resource` (the
-- brick resource), `position` = { column, row } in grid cells (the first cell of the
-- first row is { 1, 1 }) and the traits the text gives it.
--
-- Brick text, read character by character with an implied end of row after each string:
-- looking for a brick, a letter starts a new brick in the current cell (BrickTextBricks,
-- or the level's own `brickLetters`), a comma moves to the next cell and a space is
-- nothing; after a brick, the characters of BrickTextPowerups add a power-up to the
-- brick's `powerups` list, those of BrickTextTraits set a trait, `L` and one letter of
-- BrickTextLetters add that letter's power-up, a comma moves to the next cell and the end
-- of the row ends the brick. Anything else stops with an error that names the level, the
-- row, the cell column, the character's place in the row and the character.

-- Letters that start a brick, with the brick resource they make.
BrickTextBricks = {
    R = "RedBrick",
    O = "OrangeBrick",
    Y = "YellowBrick",
    G = "GreenBrick",
    B = "BlueBrick",
    P = "PurpleBrick",
    S = "StoneBrick",
    M = "MetalBrick",
    K = "BrickBrick",
    g = "GoldBrick",
    L = "GlassBrick",
}

-- Characters after a brick that add a power-up (by class name) to what it holds; "?" is
-- the level's secret, the puzzle piece the tally's "Secret Found" row counts.
BrickTextPowerups = {
    s = "IncreaseShield",
    b = "Breakthru",
    ["-"] = "DecreasePaddlePower",
    ["+"] = "IncreasePaddlePower",
    ["$"] = "BlingCoin",
    ["*"] = "BlingDiamond",
    ["@"] = "BlingEmerald",
    ["&"] = "BlingRuby",
    ["?"] = "Secret",
}

-- Characters after a brick that set traits: each is a table of key and value pairs.
-- The edge marks make the brick necessary and breakable only from that side.
BrickTextTraits = {
    P = { showPowerup = true },
    i = { invisible = true },
    V = { weakEdges = { top = true }, necessary = true },
    A = { weakEdges = { bottom = true }, necessary = true },
    ["<"] = { weakEdges = { right = true }, necessary = true },
    [">"] = { weakEdges = { left = true }, necessary = true },
    ["2"] = { brickSize = "Double" },
    ["3"] = { brickSize = "Triple" },
    w = { strength = 3 },
    m = { strength = 5 },
    S = { strength = 10 },
}

-- Letters that may follow `L`: each adds the letter power-up "Letter" .. letter.
BrickTextLetters = { B = true, R = true, E = true, A = true, K = true, O = true, U = true, T = true }

-- A copy of a trait value, so that no two bricks share a table.
local function copyValue(value)
    if type(value) ~= "table" then
        return value
    end
    local copy = {}
    for k, v in pairs(value) do
        copy[k] = copyValue(v)
    end
    return copy
end

local function describeCharacter(c)
    if c == "\n" then
        return "(end of row)"
    end
    return "'" .. c .. "'"
end

-- Compiles brick text into a list of brick entries. levelName names the level in error
-- messages; extraBricks (optional) maps further single letters to brick resources for
-- this text alone (a letter the text already knows cannot be changed).
function BrickCompiler(rows, levelName, extraBricks)
    local where = "Level \"" .. tostring(levelName or "?") .. "\""
    if type(rows) ~= "table" then
        error(where .. ": bricks must be a list of strings, not a " .. type(rows), 0)
    end
    local bricks = {}
    for letter, resource in pairs(BrickTextBricks) do
        bricks[letter] = resource
    end
    if extraBricks ~= nil then
        if type(extraBricks) ~= "table" then
            error(where .. ": brickLetters must be a table, not a " .. type(extraBricks), 0)
        end
        for letter, resource in pairs(extraBricks) do
            if type(letter) ~= "string" or #letter ~= 1 or letter == " " or letter == "," then
                error(where .. ": brickLetters key " .. tostring(letter) ..
                      " must be one character other than space and comma", 0)
            end
            if BrickTextBricks[letter] ~= nil then
                error(where .. ": brickLetters cannot change the brick letter '" .. letter .. "'", 0)
            end
            if type(resource) ~= "string" then
                error(where .. ": brickLetters '" .. letter .. "' must name a brick resource", 0)
            end
            bricks[letter] = resource
        end
    end

    local output = {}
    local last = nil
    for row = 1, #rows do
        local text = rows[row]
        if type(text) ~= "string" then
            error(where .. ", row " .. row .. ": a brick row must be a string, not a " ..
                  type(text), 0)
        end
        local column = 1
        local state = "brick"
        text = text .. "\n"
        for place = 1, #text do
            local c = string.sub(text, place, place)
            local function fail(searching)
                error(string.format("%s, row %d, column %d (character %d): Unknown character %s " ..
                                    "while searching for %s", where, row, column, place,
                                    describeCharacter(c), searching), 0)
            end
            if state == "brick" then
                if bricks[c] ~= nil then
                    last = { resource = bricks[c], position = { column, row } }
                    table.insert(output, last)
                    state = "powerup"
                elseif c == "," then
                    column = column + 1
                elseif c ~= " " and c ~= "\n" then
                    fail("brick")
                end
            elseif state == "powerup" then
                if BrickTextPowerups[c] ~= nil then
                    last.powerups = last.powerups or {}
                    table.insert(last.powerups, BrickTextPowerups[c])
                elseif BrickTextTraits[c] ~= nil then
                    for key, value in pairs(BrickTextTraits[c]) do
                        last[key] = copyValue(value)
                    end
                elseif c == "L" then
                    state = "letter"
                elseif c == "," then
                    column = column + 1
                    state = "brick"
                elseif c == "\n" then
                    state = "brick"
                elseif c ~= " " then
                    fail("powerup")
                end
            else -- the letter after L
                if BrickTextLetters[c] then
                    last.powerups = last.powerups or {}
                    table.insert(last.powerups, "Letter" .. c)
                    state = "powerup"
                else
                    fail("letter")
                end
            end
        end
    end
    return output
end

-- The keys of a level table that these scripts read, with the Lua type each must have;
-- the level check knows them from here.
LevelScriptKeys = { bricks = "table", brickLetters = "table", compiledBricks = "table" }

-- Compiles the level's brick text into its compiledBricks. name names the level in
-- error messages.
function CompileLevel(level, name)
    level.compiledBricks = BrickCompiler(level.bricks, name, level.brickLetters)
end

Levels_Metatable = {
    __newindex = function(levels, name, level)
        if type(level) ~= "table" then
            error("Levels." .. tostring(name) .. " must be a table, not a " .. type(level), 2)
        end
        if level.bricks ~= nil and level.compiledBricks == nil then
            CompileLevel(level, name)
        end
        rawset(levels, name, level)
    end,
}

-- Empties Levels, so that running the level files again assigns (and compiles) every
-- level afresh.
function ClearLevels()
    Levels = setmetatable({}, Levels_Metatable)
end

ClearLevels()

-- Called once when the game starts, before any level is built.
function SetupLevel()
end

-- Factories a level file gives its compiled bricks after CompileLevel; each call returns a
-- new `factories` list for one brick.

-- Lets out one goober of the resource when the brick breaks: always, or with the chance
-- (0 to 1); variance ({x, y}) spreads its starting velocity.
function DropOnDestroy(resource, chance, variance)
    return { { class = "Factory", destroyTriggers = { { chance = chance } },
               creations = { { objectSpec = { class = "Goober", resource = resource },
                               velocityVariance = variance } } } }
end

-- Lets out one goober of the resource on the first hit that wins the chance.
function DropOnHit(resource, chance)
    return { { class = "Factory", hitTriggers = { { chance = chance } }, numCreations = 1,
               creations = { { objectSpec = { class = "Goober", resource = resource } } } } }
end

-- Lets out a homing flare (a smart bomb) when the brick breaks. The flare lets balls pass
-- for its first 15 frames, so the ball that freed it flies clear before it can set it off.
function FlareOnDestroy()
    return { { class = "Factory", destroyTriggers = { {} },
               creations = { { objectSpec = {
                   class = "Goober", resource = "SmartBomb", noBlockBall = true,
                   motion = { class = "MotionProperties", stopProperties = { noBlockBall = false },
                              addMotionList = { { class = "MotionWait", duration = 15 } } },
               } } } } }
end

-- Adds the power-up class to what every compiled brick of the resource holds.
function AddPowerupTo(level, resource, powerupClass)
    for _, brick in ipairs(level.compiledBricks) do
        if brick.resource == resource then
            brick.powerups = brick.powerups or {}
            table.insert(brick.powerups, powerupClass)
        end
    end
end
