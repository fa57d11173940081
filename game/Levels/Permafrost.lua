-- Ground that has not thawed since the mammoths walked on it. The frozen lumps take ten
-- hits each, and the best finds are locked inside them.
local level = {
    fullName = "Frozen Ground",
    fromText = "The Mammoth Hunter",
    noteText = "Treasure is frozen into the permafrost, and it is harder than stone: each " ..
               "frozen lump takes ten good hits. Chip away at it when the ball has nothing " ..
               "better to do.",
    music = "Frost.mid",
    backgroundName = "bkgLevelSiberia.jpg",
    timeBonusAt = 5,
    initalBallSpeed = 175,
    minBallSpeed = 140,
    brickLetters = { I = "IceBrick", N = "SnowBrick" },
    bricks = {
        "",
        "I,I,I,I$,I,I,I,I,I,I,I,I,I,I,I,I$,I,I,I",
        "B,B,B,B,B,B$,B,B,B,B,B,B,B$,B,B,B,B,B,B",
        "",
        ",,IS*,,,,IS$,,,IS&,,,IS$,,,,IS*",
        ",S,S,S,,S,S,S,,S,,S,S,S,,S,S,S",
        "",
        "I,I,,I,I,,I,I$,,I,,I$,I,,I,I,,I,I",
        "N,,N,,N,,N,,N,,N,,N,,N,,N,,N",
        "",
        ",,,IS@,,,,,,Ps,,,,,,IS@",
        "P,P,P,P,P,P$,P,P,P?,P+,P,P,P,P$,P,P,P,P,P",
        "S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S",
    },
}

-- The snow on the ground rolls up into snowballs now and then.
CompileLevel(level, "Permafrost")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball", 0.5, { 80, 0 })
    end
end

Levels.Permafrost = level
