-- The cathedral front, with its rose window and the gargoyles come alive on the roof. A
-- bomber gargoyle drops a bomb when it is knocked down, and the blast breaks the paddle.
Levels.Gargoyles = {
    fullName = "Gargoyles on the Roof",
    fromText = "The Bell Ringer",
    noteText = "The gargoyles have woken up and they carry bombs! Knock one down and its " ..
               "bomb falls: keep the paddle out of the way or the blast breaks it.",
    music = "Boulevard.mid",
    backgroundName = "bkgLevelFrance.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        ",,S,,,,,,,S,,,,,,,S",
        ",,S,,,,,,S,S$,S,,,,,,S",
        ",S,S$,S,,,,S,L,L,L,S,,,,S,S$,S",
        ",S,K,S,,,S,L,B*,B,B*,L,S,,,S,K,S",
        ",S,K,S,,,S,L,B,R@,B,L,S,,,S,K,S",
        ",S,K$,S,,,S,L,B*,B?,B*,L,S,,,S,K$,S",
        ",S,K,S,,,,S,L,L,L,S,,,,S,K,S",
        ",S,S,S,K,K,K$,K,K,Ks,K,K,K$,K,K,S,S,S",
        ",Y,Y$,Y,Y,Y,Y,Y,Y+,Y,Y+,Y,Y,Y,Y,Y,Y$,Y",
    },
    levelActors = {
        { class = "Goober", resource = "BomberGoober", position = { 80, 220 } },
        { class = "Goober", resource = "BomberGoober", position = { 304, 230 } },
        { class = "Goober", resource = "BomberGoober", position = { 528, 220 } },
    },
}
