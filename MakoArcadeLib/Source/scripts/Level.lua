-- The defaults every level takes for what its table leaves out, the brick grid, and the
-- order of episodes and levels. The ball speed defaults live with the balls (Ball.lua).

-- The brick grid: one cell in pixels. Brick text positions count cells; cell (1, 1) is the
-- top-left corner of the play field.
BrickWidth = 32
BrickHeight = 16

-- Where balls and paddles start when a level names no starts of its own: a free ball
-- falling from the middle of the field, and one paddle at the bottom that serves its ball.
defaultBallStart = { position = { 304, 200 }, velocity = { 0, 120 } }
defaultPaddleStart = {
    position = { 288, 416 },
    ballStart = { paddleName = "defaultBallPaddleSpawn" },
    vertical = false,
    facePositive = false,
}

-- The functions a level's MotionConditional may name (condition = { name = N, args = A }):
-- the game's own, each called with A and answering the number of the motion to run. A
-- level names only what this table holds, never a global. The shipped levels use none.
LevelConditions = LevelConditions or {}

-- Goals. Victory needs at least the balls and paddles and at most the bricks, goobers and
-- power-ups given (-1: any number); defeat comes when balls or paddles fall to the given
-- number. Fewer balls in play than the minimum serve another after the delay (ms).
defaultVictoryBalls = 0
defaultVictoryPaddles = 0
defaultVictoryBricks = 0
defaultVictoryGoobers = -1
defaultVictoryPowerups = -1
defaultDefeatBalls = 0
defaultDefeatPaddles = 0
defaultMinLiveBalls = 0
defaultLiveBallDelay = 6000
-- Whether every ball served costs a ball, rather than every serve.
defaultExpensiveSpawns = false

-- The level's hidden artefact: "none" hides nothing.
defaultArtefact = { name = "none" }

-- Power-ups given when the power meter's letters are complete, and when the last required
-- brick goes.
defaultArcadeBonus = {
    { powerupClass = "BlingDiamond" },
    { powerupClass = "BlingDiamond" },
    { powerupClass = "BlingDiamond" },
    { powerupClass = "IncreaseShield" },
    { powerupClass = "IncreaseShield" },
    { powerupClass = "Lightning" },
}
defaultLastBrickBonus = {}

-- Bonus targets: the fast-time limit in minutes, the score target and its fine tuning,
-- the bonus for beating the score target, the balls-used target and the loot target (per
-- cent). The player's skill adds its adjustments to them (see ApplyPlayerSkill).
defaultTimeBonusAt = 3
defaultScoreBonusAt = 10000
defaultScoreBonusAtFineTune = 0
defaultPlusBonus = 4000
defaultBallUsedTarget = 1
defaultLootCaughtTarget = 100

-- Episodes and the order of their levels. Episodes 1 to 10 are the adventure; 11 holds
-- the bonus levels (the lab); 12 and 13 the developers' test levels. "Blank" marks a free
-- place.
local function blanks(first)
    local list = { first }
    for i = 2, 10 do
        list[i] = "Blank"
    end
    return list
end

local function bonusLevels()
    local list = {}
    for i = 1, 10 do
        list[i] = "Bonus" .. i
    end
    return list
end

LoadConstConfig {
    EpisodesPerGame = 10,
    -- The most levels of any episode.
    LevelsPerEpisode = 6,
    EpisodeNames = {
        "CapeHorn", "Peru", "Washington", "Iceland", "France",
        "Egypt", "Madagascar", "China", "Siberia", "Tasmania",
    },
    -- Each episode's pin on the map, in screen pixels: where the pin's point stands. The
    -- stops spiral in from the cape to the last island; the map's islands lie under them.
    PinLocations = {
        CapeHorn = { 102, 173 },
        Peru = { 60, 90 },
        Washington = { 150, 52 },
        Iceland = { 262, 42 },
        France = { 368, 82 },
        Egypt = { 380, 200 },
        Madagascar = { 350, 306 },
        China = { 222, 330 },
        Siberia = { 130, 270 },
        Tasmania = { 273, 159 },
    },
    LevelOrder = {
        { "Welcome", "Crates", "FallingGold", "LottaLoot", "ScreamForHelp" },
        { "Condor", "Terraces", "CloudForest", "Altiplano", "SunGate" },
        { "Cherries", "Monument", "Rotunda", "ReflectingPool", "Archives" },
        { "ThinIce", "Geyser", "Crevasse", "AuroraNight", "Fjord" },
        { "Vineyard", "Lavender", "Chateau", "Gargoyles", "Catacombs" },
        { "Oasis", "Dunes", "Mirage", "Sandstorm", "BuriedCity" },
        { "Baobabs", "Lemurs", "Chameleon", "Spiny", "RedIsland" },
        { "Lanterns", "Terracotta", "Bamboo", "Dragon", "GreatWall" },
        { "Taiga", "Permafrost", "Tundra", "Reindeer", "LongRail" },
        { "Eucalyptus", "Wombat", "Devil", "Overland", "Wilderness", "EndOfTheWorld" },
        bonusLevels(),
        blanks("TestBricks"),
        blanks("TestStarts"),
    },
}
