-- The end of the journey: a lighthouse on the last cape of the last island, in a storm.
-- Everything the adventure taught comes back once more, and the keeper's cottage holds
-- the painting of the light itself.
local level = {
    fullName = "The End of the World",
    fromText = "The Lighthouse Keeper",
    noteText = "You've come all the way round the world to my lighthouse! The storm has " ..
               "wrecked a ship on the rocks, the waves keep coming back and the lamp is " ..
               "crackling. Bring the light home, and look inside my cottage.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 7,
    initalBallSpeed = 195,
    minBallSpeed = 160,
    -- The storm blows in from the sea in gusts.
    wind = { strength = 25, direction = { -1, 0.15 }, variance = 10, normalization = 3 },
    brickLetters = { N = "SnowBrick", Z = "LightningBrick", J = "JungleWoodBrick",
                     T = "TrappedBallBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactLighthouse.jpg", position = { 48, 180 }, constrainWidth = 96,
                 score = 2000 },
    -- The last brick of the adventure throws out a handful of diamonds.
    lastBrickBonus = {
        { powerupClass = "BlingDiamond" },
        { powerupClass = "BlingDiamond" },
        { powerupClass = "BlingDiamond" },
    },
    bricks = {
        "",
        "P,P,P$,P,,,,,,g,,,,,,P,P$,P,P",
        ",P,P,,,,,,g,Z,g,,,,,,P,P",
        ",,,,,,,g,Z,Z*,Z,g",
        ",,,,,,,,K,K,K",
        ",,,,,,,,Rw,Rw,Rw",
        ",,,,,,,,N,N,N",
        ",K,K,K,K,K,,,Rw,Rw$,Rw",
        "K,K,K$,K,K,K,K,,N,N,N,,,,,,,J,J",
        "K,U?,U,U,K,,,,Rw,Rw,Rw,,,,J,T,J,J$,J",
        "K,U,U,U,K,,,,N,N$,N,,,J,J,J,T,J",
        "K,U,U,U,K,,,,Rw,Rw*,Rw,,,,SS,,KS&",
        "K,U,U,U,K,,,,N,N,N",
        "",
        "B,B,B,B$,B,B,B,B,B,Bs,B,B,B,B,B,B$,B,B,B",
        "O,O$,O,O,O,O,O,O,O+,O,O,O,O,O,O,O,O,O$,O",
    },
}

-- The waves come back once after they are broken.
CompileLevel(level, "EndOfTheWorld")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "BlueBrick" then
        brick.resources = { "ReviveOnce" }
    end
end

Levels.EndOfTheWorld = level
