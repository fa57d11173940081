-- The open tundra, where a blizzard has frozen a whole team of balls into the ice. Some
-- sit beside charged stones that free two at once when the lightning cracks the ice.
Levels.Tundra = {
    fullName = "Frozen in the Tundra",
    fromText = "The Weather Station",
    noteText = "Last night's blizzard froze seven balls into the ice out on the tundra. " ..
               "Crack them free and they play on your side. Hit a yellow charge and its " ..
               "lightning frees both its neighbours at once.",
    music = "Frost.mid",
    backgroundName = "bkgLevelSiberia.jpg",
    timeBonusAt = 4,
    initalBallSpeed = 175,
    minBallSpeed = 140,
    brickLetters = { I = "IceBrick", T = "TrappedBallBrick", Z = "LightningBrick" },
    bricks = {
        "",
        "S,S,S,S$,S,S,S,S,S,S*,S,S,S,S,S,S$,S,S,S",
        "I,I,I,I,I,I,I,I,I,I,I,I,I,I,I,I,I,I,I",
        "",
        ",I,I$,I,,,,,I,I*,I,,,,,I,I$,I",
        ",I,T,I,,,,,I,T,I,,,,,I,T,I",
        ",I,I,I,,,,,I,I,I,,,,,I,I,I",
        "",
        ",,,,,T,Z,T,,,,T,Z,T",
        "",
        "G,G,G$,G,G,G,G,G,G,G+,G,G,G,G,G,G,G$,G,G",
        "Y,Y,Y,Y,Y,Ys,Y,Y,Y,Y?,Y,Y,Y,Ys,Y,Y,Y,Y,Y",
        ",,O,O$,O,O,O,O,O,O,O,O,O,O,O,O$,O",
    },
}
