-- The spiny forest: rubber bumpers among the thorn trees kick the ball faster, and the
-- side walls are all thorns, so side paddles stand guard over them.
Levels.Spiny = {
    fullName = "The Spiny Forest",
    fromText = "The Botanist",
    noteText = "Careful in the spiny forest! The walls are thorns and a ball that touches " ..
               "them is lost: guard them with the side paddles. The pink bumpers kick hard.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelMadagascar.jpg",
    timeBonusAt = 5,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 1.5,
    brickLetters = { J = "JungleWoodBrick", Q = "RubberBrick" },
    customWalls = {
        LeftWall = { dangerous = true },
        RightWall = { dangerous = true },
    },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "LeftPaddleStart" },
        { resource = "RightPaddleStart" },
    },
    bricks = {
        "",
        ",,,G,G$,G,G,G,G,G*,G,G,G,G,G$,G",
        ",,,Jw,Jw,Jw,Jw$,Jw,Jw,Jw,Jw,Jw,Jw$,Jw,Jw,Jw",
        ",,,G,Gw,G,Gw,G,Gw,G@,Gw,G,Gw,G,Gw,G",
        "",
        ",,,,Q,,,,,Q,,,,,Q",
        "",
        ",,,O,O$,Ow,O,Ow,O?,O&,O,Ow,O,Ow,O$,O",
        ",,,Y,Yw,Y,Yw$,Y,Yw,Y,Yw,Y,Yw$,Y,Yw,Y",
        ",,,,,,,Q,,,,Q",
        "",
        ",,,,Y,Y$,Y,Ys,Y,Y+,Y,Ys,Y,Y$,Y",
    },
}
