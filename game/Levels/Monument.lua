-- The great obelisk on the mall, cased in plates of metal that each give way from one
-- side only: the tip from above, the faces from outside, the base from below.
Levels.Monument = {
    fullName = "The Needle on the Mall",
    fromText = "The Monument Warden",
    noteText = "The obelisk is cased in metal plates, and each plate only gives way when " ..
               "struck from the side it faces: the base from below, the faces from outside, " ..
               "the tip from above.",
    music = "Capital.mid",
    backgroundName = "bkgLevelWashington.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        "",
        ",,,,,,,,,MV",
        ",,,,,,,,M>,S,M<",
        ",B,B$,B,,,,,M>,S$,M<,,,,,B,B$,B",
        ",B,Bs,B,,,,,M>,S,M<,,,,,B,B,B",
        ",,,,,,,,M>,S*,M<",
        ",,,,,,,,M>,S,M<",
        ",,,,,,,,MA,MA,MA",
        "",
        "G,G,G$,G,,,G,G,G?,G+,G,G,G,,,G,G$,G,G",
        ",Y,Y,Y,Y,,,,Y,Y,Y,,,,Y,Y,Y,Y",
    },
}
