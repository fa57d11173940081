-- The red earth of the island's heart, where everything met on the way comes together:
-- lemurs, the chameleon's scales, bumpers and the thorny walls. A painting is sealed in
-- the red rock at the top.
Levels.RedIsland = {
    fullName = "The Red Island",
    fromText = "Miriel",
    noteText = "The painting of the lemur is sealed in the red rock. Lemurs, shifting " ..
               "scales, bumpers and thorns all stand in the way. One last push!",
    music = "Jungle.mid",
    backgroundName = "bkgLevelMadagascar.jpg",
    timeBonusAt = 6,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 1.5,
    brickLetters = { U = "ArtefactCoverBrick", J = "JungleWoodBrick", H = "PhaseBrick",
                     C = "BallCarrierBrick", Q = "RubberBrick" },
    artefact = { name = "artifactLemur.jpg", position = { 272, 52 }, constrainWidth = 96,
                 score = 1000 },
    customWalls = {
        RightWall = { dangerous = true },
    },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "RightPaddleStart" },
    },
    bricks = {
        "",
        ",,,R,R$,R,R,R,U?,U,U,R,R,R,R$,R",
        ",,,R,Rw,R*,Rw,R,U,U,U,R,Rw,R*,Rw,R",
        ",,,H,H,H$,H,R,U,U,U,R,H,H$,H,H",
        ",,,R,Rw,R,Rw,R,U,U,U,R,Rw,R,Rw,R",
        ",,,O,O$,O,O,O,O,O@,O,O,O,O,O$,O",
        ",,,,Q,,,,,,,,,,Q",
        ",,,J,J,J$,J,,,C,,,J,J$,J,J",
        "",
        ",,,,H,H,H$,H,Y,Ys,Y,H,H$,H,H",
    },
}
