-- Rows of vines on their trellises with the grapes hanging between them. A vine brick
-- heals its damage a point at a time, so it has to be cut down in quick strokes.
Levels.Vineyard = {
    fullName = "The Vineyard",
    fromText = "The Vintner",
    noteText = "The vines have run wild and the harvest is trapped behind them. Vines grow " ..
               "back if you leave them be: hit them again quickly to cut them down.",
    music = "Boulevard.mid",
    backgroundName = "bkgLevelFrance.jpg",
    timeBonusAt = 4,
    brickLetters = { v = "VineBrick" },
    bricks = {
        "",
        ",G,G,G$,G,G,,G,G,G+,G,G,,G,G,G$,G,G",
        ",v,v,v,v,v,,v,v,v,v,v,,v,v,v,v,v",
        ",P,P$,P,P*,P,,P,P$,P,P$,P,,P,P*,P,P$,P",
        "",
        ",Y,Y,Y,Ys,Y,,Y,Y$,Y?,Y$,Y,,Y,Ys,Y,Y,Y",
        ",,v,,v,,,,v,,v,,,,v,,v",
        ",P,P@,P,P$,P,,P,P,P&,P,P,,P,P$,P,P@,P",
        "",
        ",,,,O,O,O$,O,O,O,O,O$,O,O,O",
    },
}
