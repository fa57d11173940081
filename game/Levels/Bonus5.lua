-- The fifth experiment: bricks that phase between here and elsewhere. Blue phasing bricks
-- can be broken only while they are faded; invisible ghost stones hide among them.
Levels.Bonus5 = {
    fullName = "The Phase Chamber",
    fromText = "Tinkerwit",
    noteText = "The blue bricks flicker in and out of this world. A ball only cracks them " ..
               "while they are faded, so watch them closely. And keep an eye out for " ..
               "ghosts: some stones here you cannot see.",
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
        ",,G,G$,G,G,,F,F$,F,F$,F,,G,G,G$,G",
        "",
        ",,,,H,,,,,,,,,,H",
        ",,,Y,Y,Ys,Y,Y,Y,Y+,Y,Y,Y,Ys,Y,Y",
    },
}
