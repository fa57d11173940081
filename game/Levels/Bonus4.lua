-- The fourth experiment: a hall of ball hoppers that catch balls and shoot them out three
-- at a time, ball carriers that throw them back up, and hungry ball eaters in the corners.
Levels.Bonus4 = {
    fullName = "The Hopper Hall",
    fromText = "Tinkerwit",
    noteText = "My hoppers catch balls and fire them out once three are loaded. Spare balls " ..
               "sit in the glass jars. Mind the purple eaters in the corners: they swallow " ..
               "anything they touch!",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 4,
    brickLetters = { H = "BallHopperBrick", D = "DoubleBallHopperBrick", C = "BallCarrierBrick",
                     E = "BallEaterBrick", T = "TrappedBallBrick" },
    bricks = {
        "",
        "E,,,,B,B$,B,B,B,B,B,B,B,B$,B,,,,E",
        ",,,,G,G,G*,G,G,G,G,G,G*,G,G",
        "",
        ",,H,,,,,,T,,T,,,,,,H",
        "",
        ",,,Y,Y$,Y?,,C,,,,C,,Y,Y$,Y",
        ",,,O,O,O,,,,,,,,O,O,O",
        "",
        ",,,,,,D,,,,,,D",
        "",
        ",R,R$,R,R,R,R,,,T,,,R,R,R,R+,R,Rs",
    },
}
