-- A chameleon on a branch, its skin changing as it waits: the phasing bricks turn hard
-- and glassy for a while and then soft again, and only break while they are soft.
Levels.Chameleon = {
    fullName = "The Chameleon",
    fromText = "The Guide",
    noteText = "Look closely at the chameleon: its scales keep changing. While they shine " ..
               "the ball bounces off them; wait for them to soften, then strike.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelMadagascar.jpg",
    timeBonusAt = 5,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 1.0,
    brickLetters = { J = "JungleWoodBrick", F = "LeafBrick", H = "PhaseBrick" },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "LeftPaddleStart" },
    },
    bricks = {
        "",
        ",,,,,,,H,H,H$,H",
        ",,,,,,H,H,G,H,H,H",
        ",,,,,H,H,H,H*,H,H,H,H,,,,F,F",
        ",,,,H,H$,H,H,H,H,H,H$,H,H,,F,F$,F",
        ",,,G,G?,H,H,H@,H,H,H@,H,H,H,H,H,F",
        ",,,,,,H,,,,,H,,,H$",
        ",,J,J,J,J,J$,J,J,J,J,Js,J,J,J,J,J$",
        "",
        ",,,Y,Y$,Y,,,Y,Y+,Y,,,Y,Y$,Y",
    },
}
