-- The third experiment: a pinball table. Rubber bumpers kick the ball away faster than it
-- came, and steel springs throw it back, while the targets wait in the lanes between.
Levels.Bonus3 = {
    fullName = "The Pinball Table",
    fromText = "Tinkerwit",
    noteText = "I turned the workbench into a pinball table! The pink bumpers kick the ball " ..
               "away faster than it came, and the springs throw it right back. Light up " ..
               "every target in the lanes.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 3,
    -- Springs keep their kick modest, so the table stays playable.
    addSpeedOnSpring = 10,
    brickLetters = { X = "RubberBrick", Z = "SpringBrick" },
    bricks = {
        "",
        ",,,,P,P$,P,P,P,P,P,P,P,P$,P",
        ",,Z,,,,,,,,,,,,,,Z",
        ",,,,R,R,R*,R,,,,R,R&,R,R",
        ",X,,,,,,,,X,,,,,,,,X",
        ",,,,G,G$,G?,,,,,,G,G$,G",
        ",,,Z,,,,,,,,,,,,Z",
        ",,,,,,,X,,,,X",
        ",,Y,Y,Ys,Y,,,,,,,,Y,Y+,Y,Y",
        "",
        ",,,,,B$,B,B,,,,B,B,B$",
    },
}
