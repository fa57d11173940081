-- The ninth experiment: the inventor's vault. Gold bricks take four knocks and drop a gold
-- bar besides their coins and gems; two thieves have found their way in.
local level = {
    fullName = "The Gold Vault",
    fromText = "Tinkerwit",
    noteText = "This is where I keep the money for my experiments. Gold bricks take a few " ..
               "knocks, and every one drops a bar. Two thieves got in last night: catch " ..
               "the loot before they do!",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 4,
    lootCaughtTarget = 75,
    bricks = {
        "",
        ",,g*,g$,g$,g@,g$,g$,g&,g$,g&,g$,g$,g@,g$,g$,g*",
        ",,g$,M,,,,,,g$,,,,,,M,g$",
        ",,g@,M,,Y$,Y*,Y$,,,,Y$,Y*,Y$,,M,g@",
        ",,g$,M,,,,,g3*,,,,,,,M,g$",
        ",,g&,M,,O$,O@?,O$,,,,O$,O&,O$,,M,g&",
        ",,g$,M,,,,,,,,,,,,M,g$",
        ",,,,R$,R$,R$,R$,R$,R$s,R$,R$,R$,R$,R$",
    },
    levelActors = {
        { class = "Goober", resource = "ThiefGoober", position = { 120, 280 } },
        { class = "Goober", resource = "ThiefGoober", position = { 500, 280 } },
    },
}

-- Every gold brick holds a gold bar as well.
CompileLevel(level, "Bonus9")
AddPowerupTo(level, "GoldBrick", "GoldBrickPowerup")

Levels.Bonus9 = level
