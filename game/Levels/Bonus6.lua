-- The sixth experiment: three paddles at once. The side walls are hot, and a paddle guards
-- each of them beside the usual one at the bottom; the mouse steers all three together.
Levels.Bonus6 = {
    fullName = "The Three Paddles",
    fromText = "Tinkerwit",
    noteText = "One paddle is never enough, so I fitted three! The side walls are as hot as " ..
               "the floor now, but a paddle guards each of them. Move the mouse up and down " ..
               "to steer the side ones.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 4,
    paddleStarts = {
        { resource = "BottomPaddleStart", ballStart = { paddleName = "BottomPaddle" } },
        { resource = "LeftPaddleStart" },
        { resource = "RightPaddleStart" },
    },
    customWalls = {
        LeftWall = { dangerous = true },
        RightWall = { dangerous = true },
    },
    bricks = {
        "",
        ",,,,,O,O$,O,O,O,O,O,O,O$,O",
        ",,,,,Y,Y,Y,Y*,Y,Y,Y,Y,Y,Y",
        ",,,,,G,G$,G,G,G,G,G,G,G$,G",
        "",
        ",,,,,,B,B,B$,Bs,B?,B$,B,B",
        ",,,,,,P,P,P,P+,P,P,P,P",
        "",
        ",,,,,,,R,R$,R,R,R$,R",
    },
}
