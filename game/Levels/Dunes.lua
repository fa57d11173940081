-- Sand dunes banked up against the sky. Whenever their foot is cleared the dunes slide
-- down a step, until the whole slope has come down to the middle of the field.
Levels.Dunes = {
    fullName = "Shifting Dunes",
    fromText = "The Caravan Leader",
    noteText = "The dunes are on the move! Dig out the bottom and the sand above slides " ..
               "down toward you. Keep digging until the last dune has come down.",
    music = "Sands.mid",
    backgroundName = "bkgLevelEgypt.jpg",
    timeBonusAt = 4,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 0.5,
    -- The dunes step down a row at a time while their lowest required bricks stand above
    -- the line 13 rows down, until their top row has come down to 150 pixels.
    progressive = { thresholdLines = 13, stopY = 150, stepSize = 16, rate = 2 },
    bricks = {
        ",,,,,,,,,Y,Y*",
        ",,,,,,,,Y,Y,Y,Y",
        ",,,,,,,Y,Y$,O,O,Y$,Y",
        ",,,,,,Y,Y,O,O,O,O,Y,Y",
        ",,,Y,,Y,Y,O?,Ow$,Ow,Ow$,O,Y,Y,,Y",
        ",,Y,Y,Y$,Y,O,Ow,S,S&,Ow,O,O,Y,Y$,Y,Y",
        ",Y,Y,O,O,O,Ow,S,S,S,S,Ow,Ow,O,O,O,Y,Y",
        ",Y$,O,O,Ow,Ow,S,S,Sw,Sw,S,S,Ow,Ow,O,O,Y$,Y",
        ",O,O+,Ow,S,S,S$,Sw,Sw,Sw,Sw,S$,S,S,Ow,Os,O,O",
    },
}
