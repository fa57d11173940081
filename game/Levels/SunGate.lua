-- The gate of the sun temple, where the stones of the doorposts swallow balls and throw
-- them back all at once. The episode's painting hides behind the stones in the doorway.
Levels.SunGate = {
    fullName = "The Sun Gate",
    fromText = "The Temple Keeper",
    noteText = "The doorposts of the Sun Gate catch any ball that strikes them. When three " ..
               "are caught, they fire them all back together! Something precious was walled " ..
               "up in the doorway.",
    music = "Andes.mid",
    backgroundName = "bkgLevelPeru.jpg",
    timeBonusAt = 5,
    brickLetters = { H = "BallHopperBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactCondor.jpg", position = { 272, 68 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        ",,,K,K,K,K,K,K,K$,K,K,K,K,K,K",
        ",,,Kw,H,,,,U?,U,U,,,,H,Kw",
        ",,,S,Y,,,,U,U,U,,,,Y,S",
        ",,,S,Y$,,,,U,U,U,,,,Y$,S",
        ",,,S,Y,,,,U,U,U,,,,Y,S",
        ",,,S,H,,,,,,,,,,H,S",
        "",
        "O,O,O$,O,,,,R,R,R*,R,R,,,,O,O$,O,O",
        "",
        "P,P,P,Ps,P,P,P,P,P,P+,P,P,P,P,P,Ps,P,P,P",
    },
}
