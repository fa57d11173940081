-- The catacombs under the city, dark enough that most of the bones cannot be seen until
-- a ball finds them, with empty ghost slabs in the way. A painting lies walled up in the
-- middle vault; lanterns hidden in the yellow bricks light a laser on the paddle.
local level = {
    fullName = "The Catacombs",
    fromText = "The Baker",
    noteText = "Thieves hid my daughter's portrait in the catacombs. It is pitch dark down " ..
               "there: feel for the walls. Catch a lantern, then hold the button to fire " ..
               "its laser.",
    music = "Boulevard.mid",
    backgroundName = "bkgLevelFrance.jpg",
    timeBonusAt = 5,
    brickLetters = { U = "ArtefactCoverBrick", X = "GhostBrick" },
    artefact = { name = "artifactBaker.jpg", position = { 272, 52 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        ",S,S$,S,S,S,S,S,U?,U,U,S,S,S,S,S,S$,S",
        ",Ki,,Ki,,Ki,,Si,U,U,U,Si,,Ki,,Ki,,Ki",
        ",Ki$,,Ki,,Ki*,,Si,U,U,U,Si,,Ki*,,Ki,,Ki$",
        ",Ki,,Ki,,Ki,,Si,U,U,U,Si,,Ki,,Ki,,Ki",
        ",X,X,X,X,X,X,X,X,X,X,X,X,X,X,X,X,X",
        "",
        ",Y,Y$,Y,Y,Y,Y,Y,Y,Ys,Y,Y,Y,Y,Y,Y,Y$,Y",
        ",,X,,X,,X,,X,,X,,X,,X,,X",
    },
}

-- Three of the yellow bricks hold a lantern: the laser power-up, shown on the brick.
CompileLevel(level, "Catacombs")
for _, brick in ipairs(level.compiledBricks) do
    local column, row = brick.position[1], brick.position[2]
    local lantern = column == 4 or column == 10 or column == 16
    if brick.resource == "YellowBrick" and row == 8 and lantern then
        brick.powerups = brick.powerups or {}
        table.insert(brick.powerups, "Laser")
        brick.showPowerup = true
    end
end

Levels.Catacombs = level
