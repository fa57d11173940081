-- The last experiment: everything at once. A gravity well in the middle of the room, a
-- field that slides down as its bottom is cleared, phasing bricks, springs, TNT, a ball
-- carrier, trapped balls and a little gold.
Levels.Bonus10 = {
    fullName = "The Grand Experiment",
    fromText = "Tinkerwit",
    noteText = "My greatest work: a gravity well, springs, TNT, phasing bricks and trapped " ..
               "balls, all in one room! The ball curves toward the well, and the whole field " ..
               "slides down each time you clear its bottom.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 5,
    -- The well pulls harder the nearer the ball comes to it.
    gravity = { strength = 3000, center = { 320, 220 }, decreaseWith = "distance" },
    -- The field steps down a row whenever its lowest required bricks are above the line
    -- 12 rows down, until its top row has come down to 120 pixels.
    progressive = { thresholdLines = 12, stopY = 120, stepSize = 16, rate = 2 },
    brickLetters = { X = "TNTBrick", Z = "SpringBrick", T = "TrappedBallBrick", F = "PhaseBrick",
                     C = "BallCarrierBrick" },
    bricks = {
        ",,P,P$,P,P,P,P,P,P*,P,P,P,P,P,P$,P",
        ",,K,K,K,X,K,K,K,K,K,K,K,X,K,K,K",
        ",,F,F,F$,F,F,T,F,F,F,T,F,F,F$,F,F",
        ",Z,,,,,,,,C,,,,,,,,Z",
        ",,G,G,G@,G,G,G,G,G,G,G,G,G,G&,G,G",
        ",,,Y,Y,X,Y$,Y,Y,Y?,Y,Y,Y$,X,Y,Y",
        ",,,S,S,S,S,S,S,S$,S,S,S,S,S,S",
        ",,,,O,O,O,O$,O,Os,O,O$,O,O,O",
        ",,,,,R,R,R+,R,R,R,R,R,R",
        ",,,,,,,g$,,g*,,g$",
    },
}
