-- A crevasse splits the glacier: its walls are set with springs of steel that fling the
-- ball back faster than it came.
Levels.Crevasse = {
    fullName = "Into the Crevasse",
    fromText = "The Glacier Guide",
    noteText = "Careful at the crevasse! Its walls are lined with steel springs: they never " ..
               "break, and a ball that hits one comes back much faster. Chip the ice away " ..
               "from the outside in.",
    music = "Frost.mid",
    backgroundName = "bkgLevelIceland.jpg",
    timeBonusAt = 4,
    -- Every brick broken speeds the ball up a little.
    addSpeedOnBrickDestruction = 0.5,
    brickLetters = { I = "IceBrick", N = "SnowBrick", Z = "SpringBrick" },
    bricks = {
        "",
        "I,I,I,I,I,I,I,,,,,,I,I,I,I,I,I,I",
        "I,I$,I,I,I,I,Z,,,,,,Z,I,I,I,I,I$,I",
        "N,N,N,N,N,Z,,,,,,,,Z,N,N,N,N,N",
        "N,N,N*,N,Z,,,,,,,,,,Z,N,N*,N,N",
        "B,B,Bs,Z,,,,,,,,,,,,Z,B,B,B",
        "",
        ",,,,,,,Y,Y,Y$,Y,Y",
        ",,,,,,,Y,Y?,Y+,Y,Y",
        "",
        ",,O,O,O$,O,O,,,,,,O,O,O$,O,O",
    },
}
