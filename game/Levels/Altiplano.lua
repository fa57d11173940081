-- The high plain under the mountains, with a seam of gold in the ridges and a golden sun
-- above them. Every gold brick drops a gold bar as it breaks.
local level = {
    fullName = "Gold of the Altiplano",
    fromText = "The Mine Foreman",
    noteText = "Up here on the high plain the rock is full of gold. The golden bricks are " ..
               "hard, four knocks each, but every one drops a gold bar: catch them all before " ..
               "they fall.",
    music = "Andes.mid",
    backgroundName = "bkgLevelPeru.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        ",,,,,,,,O,Y$,O",
        ",,,,,,,O,Y,g,Y,O",
        ",,,,,,,,O?,Y+,O",
        "",
        "K,K,,,K,K,Kw,,,,,,Kw,K,K,,,K,K",
        "K,g,K,,K,g,K,K,,,,K,K,g,K,,K,g,K",
        "S,S,S,S,S,S,S,S,S,Ss,S,S,S,S,S,S,S,S,S",
        "G,G$,G,G,G,G,g,G,G,G*,G,G,g,G,G,G,G,G$,G",
    },
}

-- Gold bricks hold a falling gold bar each.
CompileLevel(level, "Altiplano")
AddPowerupTo(level, "GoldBrick", "GoldBrickPowerup")

Levels.Altiplano = level
