-- The dragon dance winds through the streets. Its head is a firework cart: every knock
-- on it may light a bomb, and now and then a dancer jumps out to join the parade.
local level = {
    fullName = "The Dragon Dance",
    fromText = "The Parade Master",
    noteText = "The dragon's head is packed with fireworks! Hit it and it may drop a bomb: " ..
               "keep the paddle out from under it. Knock the head out and the dancers will " ..
               "stop coming.",
    music = "Lanterns.mid",
    backgroundName = "bkgLevelChina.jpg",
    timeBonusAt = 4,
    brickLetters = { H = "BigRedBrick" },
    bricks = {
        "",
        ",H3m",
        ",,,,R,g,R,R,g$,R,R,g,R,R,g,R",
        ",,,,,,,,,,,,,,,,R",
        ",,,,,,,,,,,,,,,,R,,Y*",
        ",,,R,g,R,R,g,R,R,g$,R,R,g,R,R,R",
        ",,,R",
        ",,,R",
        ",,,R,R,g,R,R,g,R,R,g,R,R,g*,R,R",
        ",,,,,,,,,,,,,,,,R",
        ",,,,,,,,,,,,,,,R,R,R",
        "",
        ",O,O,,O,O,,O,O?,,O,O,,O,O,,O,O",
        ",O$,O,,O,O,,O+,O,,O,Os,,O,O,,O,O$",
    },
}

-- The head: some hits light a bomb that falls straight through the bricks, and every few
-- seconds a dancer leaves it, until the head is broken.
CompileLevel(level, "Dragon")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "BigRedBrick" then
        brick.factories = {
            {
                class = "Factory",
                hitTriggers = { { hittableClasses = { "Ball" }, chance = 0.4 } },
                numCreations = 5,
                creations = { { objectSpec = { class = "Goober", resource = "GooberBomb" },
                                positionVariance = { 16, 0 } } },
            },
            {
                class = "Factory",
                timeTriggers = { { duration = 9 } },
                numCreations = 6,
                creations = { { objectSpec = { class = "Goober", resource = "NormalGoober",
                                               position = { 0, 40 } } } },
            },
        }
    end
end

Levels.Dragon = level
