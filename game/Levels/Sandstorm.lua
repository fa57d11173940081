-- A sandstorm howls across the desert in strong gusts from the east, throwing the ball
-- about, while a caravan shelters behind its walls of stone.
Levels.Sandstorm = {
    fullName = "Sandstorm",
    fromText = "The Camel Driver",
    noteText = "A sandstorm! The wind blows hard from the east and gusts without warning, " ..
               "so the ball never flies straight. Watch it all the way down to the paddle.",
    music = "Sands.mid",
    backgroundName = "bkgLevelEgypt.jpg",
    timeBonusAt = 5,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 0.5,
    -- The storm blows toward the west and a little downward, in strong gusts.
    wind = { strength = 65, direction = { -1, 0.15 }, variance = 16, normalization = 3 },
    bricks = {
        "",
        ",Y,Y$,Y,Y,Y,Y,Y,Y*,Y,Y,Y,Y,Y,Y,Y,Y$,Y",
        ",,S,S,S,,,S,S,S,S,S,,,S,S,S",
        ",O,Ow,O,Ow$,O,Ow,O,Ow,O@,Ow,O,Ow,O,Ow$,O,Ow,O",
        ",,S,Sw,S,,,S,Sw$,S,Sw$,S,,,S,Sw,S",
        ",Y,Y,Y$,Y,Y,Ys,Y,Y?,Y+,Y,Y,Ys,Y,Y,Y$,Y,Y",
        "",
        ",,,K,K,K$,K,,,,,,K,K$,K,K",
        ",,,,,,,O,O&,O,O&,O",
    },
}
