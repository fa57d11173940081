-- A fjord between snowy cliffs: knocking the snow off the cliff tops sends snowballs
-- rolling down, and the cliffs shed boulders. A painting lies frozen in the ice between.
local level = {
    fullName = "Avalanche Fjord",
    fromText = "The Ferry Captain",
    noteText = "Mind the cliffs! Snow knocked off the top rolls down as snowballs, and the " ..
               "rock sheds boulders when struck. They will not hurt you, but they get in " ..
               "the way. Something is frozen in the ice.",
    music = "Frost.mid",
    backgroundName = "bkgLevelIceland.jpg",
    timeBonusAt = 5,
    -- Every brick broken speeds the ball up.
    addSpeedOnBrickDestruction = 1,
    brickLetters = { I = "IceBrick", N = "SnowBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactGeyser.jpg", position = { 272, 68 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        "N,N,N,N,N,,,,I,I,I,,,,N,N,N,N,N",
        "S,S,S,S,,,,I,U?,U,U,I,,,,S,S,S,S",
        "S,S$,S,,,,,I,U,U,U,I,,,,,S,S$,S",
        "S,S,,,,,,I,U,U,U,I,,,,,,S,S",
        "S,,,,,,,I,U,U,U,I,,,,,,,S",
        ",,,,,,,I,I,I*,I,I",
        "",
        ",,B,B,B$,B,,,,,,,,B,B$,B,B",
        "",
        "G,G,G$,G,G,G,G,G,G,Gs,G,G,G,G,G,G,G$,G,G",
    },
}

-- Every snow brick rolls a snowball down when it breaks; each cliff stone may shed one
-- boulder when struck.
CompileLevel(level, "Fjord")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball")
    elseif brick.resource == "StoneBrick" then
        brick.factories = DropOnHit("Boulder", 0.3)
    end
end

Levels.Fjord = level
