-- The eighth experiment: a store room of explosives. Red TNT bricks blow up their
-- neighbours, two zigzag fuses of them burn across the room in one go, yellow lightning
-- bricks throw sparks, and the paddle carries a laser.
Levels.Bonus8 = {
    fullName = "The Chain Reaction",
    fromText = "Tinkerwit",
    noteText = "Please do not touch the red bricks. They are full of TNT, and one bang sets " ..
               "off the next. The yellow ones hold lightning. I fitted your paddle with a " ..
               "laser, just in case.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 3,
    brickLetters = { X = "TNTBrick", Z = "LightningBrick" },
    initialPowerups = { perLevel = { { powerupClass = "Laser" } } },
    bricks = {
        "",
        ",K,K,K$,K,K,K,K,K,K,K,K,K,K,K,K$,K,K",
        ",K,K,X,K,K,K,X,K,K*,K,X,K,K,K,X,K,K",
        ",S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S",
        ",,B,B,Z,B,B$,B,B,Z,B,B,B$,B,Z,B,B",
        ",,X,,X,,X,,,,,,X,,X,,X",
        ",,,X,,X,,X,,,,X,,X,,X",
        ",,G,G$,G,G,G,G,G,G@,G,G,G,G,G,G$,G",
        ",,G,G,G,Gs,G,G,G,G?,G,G,G,Gs,G,G,G",
        "",
        ",,,,,,Z,,,,,,Z",
        ",,,,P,P,P$,P,P,P+,P,P,P$,P,P",
    },
}
