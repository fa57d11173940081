-- The reindeer herd on its winter pasture. The herders have hidden homing flares among
-- the stones to scare off the wolves, and a flare chases whatever moves: the paddle too.
local level = {
    fullName = "The Reindeer Herd",
    fromText = "The Reindeer Herder",
    noteText = "Mind the stones with the bomb mark: the flares inside chase the paddle and " ..
               "burst when they touch it. Knock them out with the ball before they reach you, " ..
               "then round up the herd.",
    music = "Frost.mid",
    backgroundName = "bkgLevelSiberia.jpg",
    timeBonusAt = 4,
    initalBallSpeed = 175,
    minBallSpeed = 140,
    brickLetters = { N = "SnowBrick", D = "JungleWoodBrick", T = "TrappedBallBrick",
                     X = "StoneBrick" },
    bricks = {
        "",
        "N,,N,,N,,N,,N,,N,,N,,N,,N,,N",
        "B,B,B$,B,B,B,B,B,B,B,B,B,B,B,B,B,B$,B,B",
        "",
        ",O,O,,,,,O,O$,,,,,O,O",
        ",D2,,,,,,D2*,,,,,,D2",
        ",,,X,,,,,,,,,,,,X",
        ",,,,,,,,,,T",
        "X,,,,,,,,,,,,,,,,,,X",
        ",,,,O$,O,,,,,O?,O,,,,,O,O$",
        ",,,,D2,,,,,,D2,,,,,,D2",
        "",
        "S,S,S,S$,S,S,S,S,S,KS*,S,S,S,S,S,S$,S,S,S",
        "G,G,G,G,G,Gs,G,G,G,G,G,G,G,G+,G,G,G,G,G",
    },
}

-- Every marked stone lets a homing flare out as it breaks; snow rolls into snowballs.
CompileLevel(level, "Reindeer")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "StoneBrick" and brick.position[2] >= 7 and brick.position[2] <= 9 then
        brick.resources = { "BombMarker" }
        brick.factories = FlareOnDestroy()
    elseif brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball", 0.5, { 80, 0 })
    end
end

Levels.Reindeer = level
