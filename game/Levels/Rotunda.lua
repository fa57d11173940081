-- The great dome of the capitol, its gallery holding the golden keys of the city. Every
-- key brick holds a split: catch it and the ball divides.
local level = {
    fullName = "Keys to the Rotunda",
    fromText = "The Capitol Doorkeeper",
    noteText = "The golden key bricks under the dome are the keys to the city. Each one " ..
               "holds a split: catch it and every ball in play divides in three. More " ..
               "balls, more broken bricks!",
    music = "Capital.mid",
    backgroundName = "bkgLevelWashington.jpg",
    timeBonusAt = 4,
    brickLetters = { X = "KeyBrick" },
    bricks = {
        "",
        ",,,,,,,,Y,Y$,Y",
        ",,,,,,B,B,B,B,B,B,B",
        ",,,,,B,B,X,B,B,B,X,B,B",
        ",,,,B,B,B,B,B$,B,B$,B,B,B,B",
        ",,,S,S,S,S,S,S,S,S,S,S,S,S,S",
        ",,,O,,O,,O?,,O*,,O,,O,,O",
        ",,,O,,O$,,X,,O,,X,,O$,,O",
        ",,,O,,O,,O,,Os,,O,,O,,O",
        "",
        ",,R,R,R,R$,R,R,R,R,R,R,R,R$,R,R,R",
    },
}

-- Every key brick holds a split.
CompileLevel(level, "Rotunda")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "KeyBrick" then
        brick.powerups = brick.powerups or {}
        table.insert(brick.powerups, "Split")
    end
end

Levels.Rotunda = level
