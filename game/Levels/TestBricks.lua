-- A developers' level that holds one of everything the brick text can say: each brick
-- letter, each power-up and loot mark, each trait, the letters and the level's own brick
-- letters.
Levels.TestBricks = {
    fullName = "Test: Bricks",
    fromText = "The Workshop",
    noteText = "Every brick, power-up and trait the brick text knows, in one place.",
    music = "Harbour.mid",
    backgroundName = "bkgGame.jpg",
    brickLetters = { W = "WoodBrick", C = "CrateBrick" },
    bricks = {
        "",
        "R,O,Y,G,B,P,S,M,K,g,L,W,C",
        "Rs,Rb,R-,R+,R$,R*,R@,R&,RP$,Ri,RV,RA,R<,R>",
        "",
        "Ow,Om,OS,OLB,OLR,OLE,OLA,OLK,OLO,OLU,OLT",
        "",
        "Y2,,Y3,,,G2$*,,B3LKs",
    },
}
