-- Balls trapped in glass cages behind metal bars: free them and they join the game.
-- Goobers guard the cages, and a painting hides behind the stones between the first two;
-- the first stone over it holds the level's secret.
Levels.ScreamForHelp = {
    fullName = "Scream for Help",
    fromText = "Somewhere in the Cellar",
    noteText = "Help! We're locked in the cellar and the goobers have the keys. Break the " ..
               "bars, smash the glass and let us out. Every ball you free plays on your side.",
    music = "Harbour.mid",
    backgroundName = "bkgLevelCapeHorn.jpg",
    timeBonusAt = 4,
    brickLetters = { T = "TrappedBallBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactScream.jpg", position = { 176, 52 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        ",,Mw,Mw,Mw,U?,U,U,Mw,Mw,Mw,,,,Mw,Mw,Mw",
        ",,Mw,T,Mw,U,U,U,Mw,T,Mw,,,,Mw,T,Mw",
        ",,Mw,MwA,Mw,U,U,U,Mw,MwA,Mw,,,,Mw,MwA,Mw",
        ",,,,,U,U,U",
        ",B,B,B$,B,B,B,B,B,B,B,B,B,B,B,B$,B,B",
        ",P,P,P,P,Ps,P,P,P,P+,P,P,P,Ps,P,P,P,P",
    },
    levelActors = {
        { class = "Goober", resource = "NormalGoober", position = { 120, 240 } },
        { class = "Goober", resource = "NormalGoober", position = { 488, 240 } },
    },
}
