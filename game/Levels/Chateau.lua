-- A chateau of brick with stone towers, and the cellars full of powder kegs: a TNT brick
-- blows up its neighbours when it goes, and a row of them goes up one after another.
Levels.Chateau = {
    fullName = "The Powder Chateau",
    fromText = "The Count's Butler",
    noteText = "The old Count kept gunpowder in every wall of the chateau. Hit a red keg " ..
               "and it blows up everything around it, and the kegs next to it too.",
    music = "Boulevard.mid",
    backgroundName = "bkgLevelFrance.jpg",
    timeBonusAt = 4,
    brickLetters = { T = "TNTBrick" },
    bricks = {
        "",
        ",S,,S,,,,,S,,S,,,,,S,,S",
        ",S,S$,S,,,,,S,S*,S,,,,,S,S$,S",
        ",K,T,K,,,,,K,T,K,,,,,K,T,K",
        ",K,K,K,O,O$,O,O?,K,K,K,O,O,O$,O,K,K,K",
        ",K,T,K,K,K,K,K,K,T,K,K,K,K,K,K,T,K",
        ",K$,T,K,L,L$,K,T,T,T,T,T,K,L$,L,K,T,K$",
        ",K,T,K,K,K,K,K,K,,K,K,K,K,K,K,T,K",
        ",K,K+,K,K,Ks,K,K,,,,K,K,Ks,K,K,K+,K",
    },
}
