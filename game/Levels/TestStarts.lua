-- A developers' level for the starts and the field around the bricks: a bottom paddle and
-- a side paddle guarding the dangerous right wall (from the shared starts of
-- TemporaryLevelResources.lua), two free balls, a safe bottom, a goober, serve power-ups
-- and a shifted grid.
Levels.TestStarts = {
    fullName = "Test: Starts",
    fromText = "The Workshop",
    noteText = "Two paddles, three balls and a dangerous wall on the right.",
    music = "Harbour.mid",
    backgroundName = "bkgGame.jpg",
    offsetPosition = { 2, 1 },
    bricks = {
        "B,B,B,B,B,B,B,B,B,B,B,B,B,B,B",
        "G$,G,G,G,G,G,G*,G,G,G,G,G,G,G,G$",
    },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "RightPaddleStart" },
    },
    ballStarts = {
        { resource = "CentreBallStart" },
        { position = { 200, 260 }, velocity = { 60, 100 }, variance = { 8, 0 } },
    },
    expensiveSpawns = true,
    customWalls = {
        BottomWall = { dangerous = false, attractPowerups = true },
        RightWall = { dangerous = true },
    },
    initialPowerups = {
        perLevel = { { powerupClass = "IncreaseShield" } },
        perBall = {},
        perSpawn = { { powerupClass = "ExpandPaddle" } },
    },
    lastBrickBonus = { { powerupClass = "BlingDiamond" }, { powerupClass = "BlingCoin" } },
    levelActors = {
        { class = "Goober", resource = "NormalGoober", position = { 320, 240 } },
    },
    victoryGoobers = 0,
    defeatBalls = 0,
}
