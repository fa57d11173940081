-- The vault of the national archives: shelves of records, glass cases, locked plates of
-- metal and a painting under the stones at the back. Catching the ball helps aim.
local level = {
    fullName = "Secrets of the Archives",
    fromText = "The Night Archivist",
    noteText = "The vault's plates only open from outside and the cases are dark. Catch the " ..
               "hand power-up: the paddle will hold the ball until you click, so you can aim " ..
               "it. A painting was sealed in here.",
    music = "Capital.mid",
    backgroundName = "bkgLevelWashington.jpg",
    timeBonusAt = 5,
    brickLetters = { X = "KeyBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactCapitol.jpg", position = { 272, 68 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        ",B,B$,B,B,B,,,K,K,K,,,B,B,B,B$,B",
        ",L,L,L,L,L,,M>,U?,U,U,M<,,L,L,L,L,L",
        ",X,L,L,L,X,,M>,U,U,U,M<,,X,L,L,L,X",
        ",L,L,L,L,L,,M>,U,U,U,M<,,L,L,L,L,L",
        ",,,,,,,M>,U,U,U,M<",
        ",,,,,,,MA,MA,MA,MA,MA",
        "",
        "Pi,Pi,Pi$,Pi,,,Y,Y,Y,Y+,Y,Y,Y,,,Pi,Pi$,Pi,Pi",
        "",
        "O,O$,O,O,O,O,O,O,O,Os,O,O,O,O,O,O,O,O$,O",
    },
}

-- The glass cases nearest the middle of each shelf hold a catch; the key bricks a split.
local extras = { ["4,4"] = "PaddleCatch", ["16,4"] = "PaddleCatch" }
CompileLevel(level, "Archives")
for _, brick in ipairs(level.compiledBricks) do
    local extra = extras[brick.position[1] .. "," .. brick.position[2]]
    if brick.resource == "KeyBrick" then
        extra = "Split"
    end
    if extra then
        brick.powerups = brick.powerups or {}
        table.insert(brick.powerups, extra)
    end
end

Levels.Archives = level
