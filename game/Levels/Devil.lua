-- A devil's den in the scrub. Two devils prowl the field and snatch loot from the paddle,
-- the purple bushes around the den grow back once, and the den hides a painting.
local level = {
    fullName = "The Devil's Howl",
    fromText = "The Night Ranger",
    noteText = "Hear that howl? Two devils guard this den, and they steal loot right off " ..
               "your paddle. The purple scrub grows back once before it is gone. Something " ..
               "is hidden at the back of the den.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 5,
    initalBallSpeed = 185,
    minBallSpeed = 150,
    brickLetters = { Z = "LightningBrick", U = "ArtefactCoverBrick" },
    artefact = { name = "artifactDevil.jpg", position = { 272, 100 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        "",
        "B,B,B$,B,B,B,B,B,B,B*,B,B,B,B,B,B,B$,B,B",
        "",
        ",,Z,,,K,K,K,K,K,K,K,K,K,,,Z",
        ",P,P,P,,K,,,U?,U,U,,,K,,P,P,P",
        ",P,Z,P,,K,,,U,U,U,,,K,,P,Z,P",
        ",P,P$,P,,S,,,U,U,U,,,S,,P,P$,P",
        ",,,,,S,,,U,U,U,,,S",
        ",,,,,S,S,S,,,,S,S,S",
        "",
        "O,O,O$,O,O,O,O,O,O,O,O,O,O,O,O,O$,O,O,O",
        "R,R,R,R,Rs,R,R,R,R+,R,R,R,R,R,Rs,R,R,R,R",
    },
    levelActors = {
        { class = "Goober", resource = "ThiefGoober", position = { 100, 250 } },
        { class = "Goober", resource = "ThiefGoober", position = { 500, 250 } },
    },
}

-- The purple scrub grows back once after it is broken.
CompileLevel(level, "Devil")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "PurpleBrick" then
        brick.resources = { "ReviveOnce" }
    end
end

Levels.Devil = level
