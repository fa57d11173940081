-- A snowbound forest of firs. The snow on the branches comes down when the branch is
-- knocked, and snowballs bounce all over the field.
local level = {
    fullName = "Snow in the Taiga",
    fromText = "The Forest Ranger",
    noteText = "The firs are heavy with snow. Knock a snowy branch and its snow comes down " ..
               "as a snowball that bounces around. They do no harm: catch them or let them go.",
    music = "Frost.mid",
    backgroundName = "bkgLevelSiberia.jpg",
    timeBonusAt = 4,
    initalBallSpeed = 175,
    minBallSpeed = 140,
    brickLetters = { N = "SnowBrick", W = "WoodBrick" },
    bricks = {
        "",
        ",,N,,,,,,,N,,,,,,,N",
        ",N,G,N,,,,,N,G,N,,,,,N,G,N",
        ",G,G$,G,,,,,G,G*,G,,,,,G,G$,G",
        "N,G,G,G,N,,,N,G,G,G,N,,,N,G,G,G,N",
        "G,G,G,G,G,,,G,G,G,G,G,,,G,G,G,G,G",
        ",,W,,,,,,,W,,,,,,,W",
        ",,W,,,,,,,W,,,,,,,W",
        ",,,,,N,,,,,,,,N",
        ",,,,N,G?,N,,,,,,N,G,N",
        ",,,,G,Gs,G,,,,,,G,G+,G",
        ",,,N,G,G,G,N,,,,N,G,G,G,N",
        ",,,G,G,G,G,G,,,,G,G,G,G,G",
        ",,,,,W,,,,,,,,W",
        ",,,,,W,,,,,,,,W",
        "K,K,K$,K,K,K,K,K,K,K,K,K,K,K,K,K,K$,K,K",
    },
}

-- Most snowy branches drop a snowball as they break.
CompileLevel(level, "Taiga")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "SnowBrick" then
        brick.factories = DropOnDestroy("Snowball", 0.6, { 80, 0 })
    end
end

Levels.Taiga = level
