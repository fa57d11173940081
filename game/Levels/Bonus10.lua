-- The last experiment: everything at once. A gravity well in the middle of the room, a
-- field that slides down as its bottom is cleared, springs, TNT and trapped balls.
Levels.Bonus10 = {
    fullName = "The Grand Experiment",
    fromText = "Tinkerwit",
    noteText = "My greatest work: a gravity well, springs, TNT and trapped balls, all in one " ..
               "room! The ball curves toward the well, and the whole field slides down each " ..
               "time you clear its bottom. Good luck!",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 5,
    -- The well pulls harder the nearer the ball comes to it.
    gravity = { strength = 2600, center = { 320, 200 }, decreaseWith = "distance" },
    -- The field steps down a row whenever its lowest required bricks are above the line
    -- 12 rows down, until its top row has come down to 120 pixels.
    progressive = { thresholdLines = 12, stopY = 120, stepSize = 16, rate = 2 },
    brickLetters = { X = "TNTBrick", Z = "SpringBrick", T = "TrappedBallBrick" },
    bricks = {
        ",,P,P$,P,P,P,P,P,P*,P,P,P,P,P,P$,P",
        ",,K,K,K,X,K,K,K,K,K,K,K,X,K,K,K",
        ",,B,B$,B,B,B,T,B,B,B,T,B,B,B,B$,B",
        ",Z,,,,,,,,,,,,,,,,Z",
        ",,G,G,G@,G,G,G,G,G,G,G,G,G,G&,G,G",
        ",,,Y,Y,X,Y$,Y,Y,Y,Y,Y,Y$,X,Y,Y",
        ",,,,O,O,O,O$,O,Os,O,O$,O,O,O",
        ",,,,,R,R,R+,R,R,R,R,R,R",
    },
}
