-- A seam of gold in a rock face that slides down whenever its lowest rows are cleared.
-- Every gold brick drops a gold bar as it breaks.
local level = {
    fullName = "Falling Gold",
    fromText = "The Old Prospector",
    noteText = "The seam is loose! Each time you clear the bottom of the rock face, the " ..
               "rest slides down. Knock the gold out and catch the bars before they reach " ..
               "the water.",
    music = "Harbour.mid",
    backgroundName = "bkgLevelCapeHorn.jpg",
    timeBonusAt = 4,
    -- The face steps down a row at a time while its lowest required bricks are above the
    -- line 14 rows down, until its top row has come down to 160 pixels.
    progressive = { thresholdLines = 14, stopY = 160, stepSize = 16, rate = 2 },
    bricks = {
        "S,S,K,K,S,S,K,K,S,S,S,K,K,S,S,K,K,S,S",
        ",S,K,g,K,S,S,K,g,K,S,K,g,K,S,S,K,S",
        ",,S,K,K$,S,S,S,K,K,K,S,S,S,K$,K,S",
        ",,,S,S,S,g,S,S,S,S,S,g,S,S,S",
        ",,,,K,K,K,K,K$,K?,K$,K,K,K,K",
        ",,,,,K,g,K,K,g,K,K,g,K",
        ",,,,,,S,S,S,S$,S,S,S",
    },
}

-- Gold bricks hold a falling gold bar each.
CompileLevel(level, "FallingGold")
AddPowerupTo(level, "GoldBrick", "GoldBrickPowerup")

Levels.FallingGold = level
