-- Gum trees on the last island, their trunks full of oil that goes up with a bang, and
-- vines between them that grow back if they are left alone.
Levels.Eucalyptus = {
    fullName = "The Gum Forest",
    fromText = "The Park Ranger",
    noteText = "Welcome to the last island. The gum trunks are full of oil: a red knot " ..
               "explodes and takes the wood around it. The vines heal if you leave them, " ..
               "so finish what you start.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 5,
    initalBallSpeed = 185,
    minBallSpeed = 150,
    brickLetters = { F = "LeafBrick", J = "JungleWoodBrick", X = "TNTBrick", V = "VineBrick" },
    bricks = {
        "",
        ",,F,F,F,,,,F,F,F,,,,F,F,F",
        ",F,F,G$,F,F,,F,F,G*,F,F,,F,F,G$,F,F",
        ",F,G,X,G,F,,F,G,X,G,F,,F,G,X,G,F",
        ",F,F,G,F,F,,F,F,G,F,F,,F,F,G,F,F",
        ",,,J,,,,,,J,,,,,,J",
        ",,V,J,V,,,,V,J,V,,,,V,J,V",
        ",,,X,,,,,,X,,,,,,X",
        ",,,J,,,,,,J,,,,,,J",
        "",
        "V,G,V,G$,V,G,V,G?,V,Gs,V,G,V,G,V,G$,V,G,V",
        "K,K,K,K,K,K,K$,K,K,K+,K,K$,K,K,K,K,K,K,K",
        "Y,Y$,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y,Y$,Y",
    },
}
