-- The overland track, a week's walk over the high plateau to the mountain. The wind never
-- stops up here, and the track keeps coming: clear the stretch in front of you and the
-- rest of it comes closer.
local level = {
    fullName = "The Overland Track",
    fromText = "The Hut Warden",
    noteText = "Six days of track to the mountain, and the wind blows the whole way. Clear " ..
               "the stretch in front of you and the rest of the track comes closer. Two " ..
               "lost walkers are waiting at the huts.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 6,
    initalBallSpeed = 185,
    minBallSpeed = 150,
    -- A gusty wind from the west.
    wind = { strength = 30, direction = { 1, 0.1 }, variance = 8, normalization = 3 },
    -- The track steps down a row at a time while nothing needed is left below the line
    -- twelve rows down, until the peak has come down seven rows.
    progressive = { thresholdLines = 12, stopY = 100, stepSize = 16, rate = 2 },
    brickLetters = { N = "SnowBrick", I = "IceBrick", T = "TrappedBallBrick" },
    bricks = {
        ",,,,,,,,N,N,N",
        ",,,,,,,N,S,S,S,N",
        ",,,,,,N,S,SS*,S,S,N",
        ",,,,,N,S,S,S,S,S,S,N",
        "B,B,B,,N,S,S,S$,S,S,S,S,S,N,,,B,B,B",
        "B,B$,B,B,,,,,,,,,,,,B,B,B$,B",
        "",
        ",K,K,K,,,,T,,,,T,,,,K,K,K",
        ",K,K$,K,,,Y,Y,Y,Y,Y,Y,Y,,,K,K$,K",
        "Y,Y,Y,Y,Y,Y,Y,Y$,Y?,Ys,Y,Y$,Y,Y,Y,Y,Y,Y,Y",
        "",
        "I,I,I,,,I,I,I,I,I,I,I,I,I,,,I,I,I",
        "I,I$,I,I,,,I,I,I*,I,I,,,I,I,I,I$,I",
        "",
        "G,G,G,G,G,G,G$,G,G,G+,G,G,G$,G,G,G,G,G,G",
        ",N,,N,,N,,N,,N,,N,,N,,N,,N",
        "",
        "O,O,O$,O,O,O,O,O,O,O,O,O,O,O,O,O$,O,O,O",
        "R,R,R,R,R,R,R,R,R,R*,R,R,R,R,R,R,R,R,R",
    },
}

-- Snow on the plateau rolls into snowballs.
CompileLevel(level, "Overland")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball", 0.5, { 80, 0 })
    end
end

Levels.Overland = level
