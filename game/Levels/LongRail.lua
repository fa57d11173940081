-- The long railway across the snow. The goods wagons catch the ball and throw it back up a
-- moment later; a painting of a sledge rides hidden in the mail van.
local level = {
    fullName = "The Long Railway",
    fromText = "The Stationmaster",
    noteText = "The express is stuck in the snow. The steel wagons catch the ball and fire it " ..
               "back up a moment later. Dig the train out; the mail van is carrying something " ..
               "precious.",
    music = "Frost.mid",
    backgroundName = "bkgLevelSiberia.jpg",
    timeBonusAt = 5,
    initalBallSpeed = 175,
    minBallSpeed = 140,
    brickLetters = { N = "SnowBrick", I = "IceBrick", C = "BallCarrierFastBrick",
                     T = "TrappedBallBrick", Z = "LightningBrick", X = "StoneBrick",
                     U = "ArtefactCoverBrick" },
    artefact = { name = "artifactSledge.jpg", position = { 272, 52 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        "N,,N,,N,,N,,U?,U,U,,N,,N,,N,,N",
        "S,S,S$,S,S,S,S,S,U,U,U,S,S,S,S,S,S$,S,S",
        "I,I,I,I,I,I,I,I,U,U,U,I,I,I,I,I,I,I,I",
        "B,B$,B,B,B,B,B,B,U,U,U,B,B,B,B,B,B,B$,B",
        "",
        ",,,,,,,,,,,,,,,,P,P",
        "C,O,O$,C,O,O,C,O*,O,C,O,O,C,K,K,KS&,g,Z,g",
        ",M,,,M,,,M,,,M,,,M,,,M,,M",
        "",
        "G,G,G,G$,G,G,G,G,G,G+,G,G,G,G,G,G$,G,G,G",
        ",,,T,,,,,,X,,,,,,T",
        "Y,Y$,Y,Y,Y,Y,Ys,Y,Y,Y,Y,Y,Ys,Y,Y,Y,Y,Y$,Y",
    },
}

-- Snow rolls into snowballs; the marked stone hides a homing flare.
CompileLevel(level, "LongRail")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "StoneBrick" and brick.position[2] == 12 then
        brick.resources = { "BombMarker" }
        brick.factories = FlareOnDestroy()
    elseif brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball", 0.5, { 80, 0 })
    end
end

Levels.LongRail = level
