-- A geyser field under the glacier: vents of stone swallow the ball and a moment later
-- blow it straight up into the ice.
local level = {
    fullName = "The Geyser Field",
    fromText = "The Hot Spring Keeper",
    noteText = "The ground here is alive! A ball that drops into one of the stone vents is " ..
               "blown straight back up a moment later. Let the geysers do the work on the " ..
               "ice above them.",
    music = "Frost.mid",
    backgroundName = "bkgLevelIceland.jpg",
    timeBonusAt = 4,
    brickLetters = { H = "BallHopperBrick", I = "IceBrick", N = "SnowBrick" },
    bricks = {
        "",
        ",N,N,N,N,N,N,N,N,N,N,N,N,N,N,N,N,N",
        ",N,N$,N,N,N,N,N,N,N*,N,N,N,N,N,N,N$,N",
        ",,I,I,I,I,,,I,I,I,,,I,I,I,I",
        ",,I,I$,I,I,,,I,Is,I,,,I,I$,I,I",
        "",
        ",,B,B,B,B,,,B?,B+,B,,,B,B,B,B",
        "",
        "",
        ",,,H,,,,,,H,,,,,,H",
    },
}

-- The vents never wear out: each one holds a ball for a second and shoots it upward, a
-- little off straight, on its own, from just above the vent (a ball let go inside its vent
-- would drop straight back into it).
CompileLevel(level, "Geyser")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "BallHopperBrick" then
        brick.strength = -1
        brick.launchAngle = 0
        brick.ballHopperError = 12
        brick.ballHopperRequirement = 1
        brick.ballHopperInPlace = false
        brick.groupID = 2
    end
end

Levels.Geyser = level
