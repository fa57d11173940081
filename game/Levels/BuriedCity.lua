-- A city buried under the sand, its temple sealed with stone. Two sand pits in the top
-- corners swallow any ball that touches them, behind an iron rim; a fuse of powder kegs
-- runs down the wall under each, and its blast fills the pit in. A painting lies in the
-- temple's sealed vault.
local level = {
    fullName = "The Buried City",
    fromText = "The Archaeologist",
    noteText = "We have dug down to the old temple. Mind the dark sand pits: a ball that " ..
               "touches one is swallowed whole. Blow them shut with the powder kegs below them.",
    music = "Sands.mid",
    backgroundName = "bkgLevelEgypt.jpg",
    timeBonusAt = 5,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 0.5,
    brickLetters = { U = "ArtefactCoverBrick", E = "BallEaterBrick",
                     T = "TNTBrick" },
    artefact = { name = "artifactScarab.jpg", position = { 272, 52 }, constrainWidth = 96,
                 score = 1000 },
    -- A light wind off the desert.
    wind = { strength = 25, direction = { 1, 0 }, variance = 8, normalization = 3 },
    bricks = {
        "E,M,,,,,,,,,,,,,,,,M,E",
        "M,T,S$,S,S,S,S,Sw,U?,U,U,Sw,S,S,S,S,S$,T,M",
        "T,,g,Y,Y,Y*,Y,Sw,U,U,U,Sw,Y,Y*,Y,Y,g,,T",
        "T,,Y$,Y,O,O,Y,Sw,U,U,U,Sw,Y,O,O,Y,Y$,,T",
        "T,,Y,Y,O,O$,Y,Sw,U,U,U,Sw,Y,O$,O,Y,Y,,T",
        "T,,S,S,S,S,S,S,S$,S,S$,S,S,S,S,S,S,,T",
        "",
        ",,,,,K,K$,K,K,Ks,K,K,K$,K",
        ",,,,,B,B,B@,B,B+,B,B@,B,B",
    },
}

-- The sand pits swallow every ball that touches them and need not be broken to win, but
-- a blast from the powder kegs below them fills them in.
CompileLevel(level, "BuriedCity")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "BallEaterBrick" then
        brick.strength = 1
        brick.necessary = false
    end
end

Levels.BuriedCity = level
