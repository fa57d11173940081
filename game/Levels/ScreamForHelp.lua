-- Balls trapped in glass cages behind metal bars: free them and they join the game.
-- Goobers guard the cages.
Levels.ScreamForHelp = {
    fullName = "Scream for Help",
    fromText = "From: Somewhere in the Cellar",
    noteText = "Help! We're locked in the cellar and the goobers have the keys. Break the " ..
               "bars, smash the glass and let us out. Every ball you free plays on your side.",
    music = "Theme.mid",
    timeBonusAt = 4,
    brickLetters = { T = "TrappedBallBrick" },
    bricks = {
        "",
        ",,Mw,Mw,Mw,,,,Mw,Mw,Mw,,,,Mw,Mw,Mw",
        ",,Mw,T,Mw,,,,Mw,T,Mw,,,,Mw,T,Mw",
        ",,Mw,MwA,Mw,,,,Mw,MwA,Mw,,,,Mw,MwA,Mw",
        "",
        ",B,B,B$,B,B,B,B,B,B,B,B,B,B,B,B$,B,B",
        ",P,P,P,P,Ps,P,P,P,P+,P,P,P,Ps,P,P,P,P",
    },
    levelActors = {
        { class = "Goober", resource = "NormalGoober", position = { 120, 240 } },
        { class = "Goober", resource = "NormalGoober", position = { 488, 240 } },
    },
}
