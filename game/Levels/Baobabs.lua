-- An avenue of baobabs, fat trunks of hard wood under crowns of leaves. A second paddle
-- stands at the left side of the field and moves up and down with the mouse.
Levels.Baobabs = {
    fullName = "Avenue of the Baobabs",
    fromText = "The Guide",
    noteText = "Welcome to the island! The trees are tall here, so you get a second " ..
               "paddle at the left side. Move the mouse up and down to work it.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelMadagascar.jpg",
    timeBonusAt = 4,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 1.0,
    brickLetters = { J = "JungleWoodBrick", F = "LeafBrick" },
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "LeftPaddleStart" },
    },
    bricks = {
        "",
        ",,,G,G$,G,,,G,G*,G,,,G,G$,G",
        ",,G,G,G,G,G,G,G,G,G,G,G,G,G,G,G",
        ",,,F,F,F,,,F,F,F,,,F,F,F",
        ",,,,J,,,,,J,,,,,J",
        ",,,,J$,,,,,Js,,,,,J$",
        ",,,,J,,,,,J,,,,,J",
        ",,,O,Jw,O,,,O?,Jw,O,,,O,Jw,O",
        ",,Y,Y,Y$,Y,,Y,Y@,Y+,Y@,Y,,Y,Y$,Y,Y",
    },
}
