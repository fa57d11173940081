-- The second experiment: the inventor's wind machine blows across the room in gusts while
-- three banks of fans wait to be taken apart.
Levels.Bonus2 = {
    fullName = "The Wind Tunnel",
    fromText = "Tinkerwit",
    noteText = "I built a fan to cool the workshop, and now it won't switch off. The wind " ..
               "pushes the ball to the right. Break the fan banks before everything blows away!",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 3,
    -- The fan blows from the left, gusting.
    wind = { strength = 35, direction = { 1, 0 }, variance = 8, normalization = 3 },
    bricks = {
        "",
        ",O,O$,O,,,,P,P$,P,P,,,,O,O$,O",
        ",O,O*,O,,,,P,P+,P,P,,,,O,O,O",
        "",
        ",,,,,G,G$,G,G,G?,G,G,G$,G,G",
        "",
        ",B,B$,B,,,,Ys,Y$,Y,Y,,,,B,B$,B",
    },
}
