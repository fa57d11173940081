-- The ninth experiment: the inventor's vault. Gold bricks take four knocks, every one of
-- them pays, and the loot is piled high; two thieves have found their way in.
Levels.Bonus9 = {
    fullName = "The Gold Vault",
    fromText = "Tinkerwit",
    noteText = "This is where I keep the money for my experiments. Gold bricks take a few " ..
               "knocks, and every one pays out. Two thieves got in last night: catch the loot " ..
               "before they do!",
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
        ",,g&,M,,O$,O@,O$,,,,O$,O&,O$,,M,g&",
        ",,g$,M,,,,,,,,,,,,M,g$",
        ",,,,R$,R$,R$,R$,R$,R$s,R$,R$,R$,R$,R$",
    },
    levelActors = {
        { class = "Goober", resource = "ThiefGoober", position = { 120, 280 } },
        { class = "Goober", resource = "ThiefGoober", position = { 500, 280 } },
    },
}
