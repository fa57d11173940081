-- Lavender fields in bloom with the bee hives between the rows. The lavender heals its
-- damage while it is left alone; a hive that is knocked down is rebuilt once by the bees.
local level = {
    fullName = "Fields of Lavender",
    fromText = "The Beekeeper",
    noteText = "My bees are cross: the lavender keeps growing back and so do their hives. " ..
               "Strike the tough stems again before they heal, and knock each hive down twice.",
    music = "Boulevard.mid",
    backgroundName = "bkgLevelFrance.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        ",,,Y$,,,,,,Y*,,,,,,Y$",
        "",
        ",Pw,G,Pw,G$,Pw,G,Pw,G,Pw,G,Pw,G$,Pw,G,Pw,G,Pw",
        ",G,Pw,G,Pw,Gs,Pw,G,Pw$,G,Pw$,G,Pw,Gs,Pw,G,Pw,G",
        ",Pw,G$,Pw,G,Pw,G,Pw,G?,Pw+,G,Pw,G,Pw,G,Pw,G$,Pw",
        "",
        ",B,B,B$,B,B,B,B,B@,B,B@,B,B,B,B,B$,B,B",
        "",
        ",,,,Y,,,,,Y&,,,,,Y",
    },
}

-- The strong lavender heals a point of damage every 200 ticks; the hives (yellow) come
-- back once, 600 ticks after they are broken, and stay down the second time.
CompileLevel(level, "Lavender")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "PurpleBrick" and brick.strength then
        brick.heals = 200
    elseif brick.resource == "YellowBrick" then
        brick.regenerates = 600
        brick.reviveTraits = { reviveTraits = { regenerates = 0 } }
    end
end

Levels.Lavender = level
