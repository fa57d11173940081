-- Lemurs leaping through the treetops: a lemur brick catches a ball that hits it, holds
-- it for a moment and throws it straight back up into the branches.
Levels.Lemurs = {
    fullName = "Leaping Lemurs",
    fromText = "The Guide",
    noteText = "The lemurs want to play! A lemur catches the ball, hangs on to it for a " ..
               "moment and throws it up into the trees. Be ready when it comes back down.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelMadagascar.jpg",
    timeBonusAt = 4,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 1.0,
    brickLetters = { J = "JungleWoodBrick", F = "LeafBrick", C = "BallCarrierBrick" },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "RightPaddleStart" },
    },
    bricks = {
        "",
        ",,G,G,G$,G,G,G,G,G*,G,G,G,G,G$,G,G",
        ",,F,F,F,F$,F,F,F,F,F,F,F,F$,F,F,F",
        ",,J,,,,J,,,J&,,,J,,,,J",
        ",,J,,,,J,,,J,,,J,,,,J",
        ",,J$,O,O,O,J,O,O,O?,O,O,J,O,O,O,J$",
        "",
        ",,,,C,,,,,,,,,,C",
        ",,,,,,,,C,,C",
        ",,Y,Y,Y$,Y,,Y,Y,Ys,Y,Y,,Y,Y$,Y,Y",
    },
}
