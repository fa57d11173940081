-- The fifth experiment: bricks that phase between strong and weak. Blue phasing bricks
-- can be broken only while their steel rim is gone; invisible ghost stones hide among them.
Levels.Bonus5 = {
    fullName = "The Phase Chamber",
    fromText = "Tinkerwit",
    noteText = "The blue bricks keep slipping into a steel rim and out again. A ball only " ..
               "cracks them while the rim is gone, so time your shots. And watch for ghosts: " ..
               "some stones in here you cannot see.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 4,
    brickLetters = { F = "PhaseBrick", H = "GhostBrick" },
    bricks = {
        "",
        ",,,F,F$,F,F,F,,,,F,F,F,F*,F",
        ",,,H,,,,,H,,H,,,,,H",
        ",,P,P,P$,P,,F,F,F,F,F,,P,P$,P,P",
        "",
        ",H,,,F,F,F@,,,H,,,F&,F,F,,,H",
        ",,,,,,,,H,,H",
        ",,G,G$,G,G?,,F,F$,F,F$,F,,G,G,G$,G",
        "",
        ",,,,H,,,,,,,,,,H",
        ",,,Y,Y,Ys,Y,Y,Y,Y+,Y,Y,Y,Ys,Y,Y",
    },
}
