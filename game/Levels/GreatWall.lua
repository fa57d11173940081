-- The wall runs over the hills further than the eye can see, and here it comes down the
-- slope toward the player, course after course; a painting is bricked into its middle.
Levels.GreatWall = {
    fullName = "The Endless Wall",
    fromText = "The Wall Warden",
    noteText = "The old wall is sliding down the hill toward the river, course after course, " ..
               "faster and faster. Whatever reaches the water is lost. Someone bricked " ..
               "something into the tower, too.",
    music = "Lanterns.mid",
    backgroundName = "bkgLevelChina.jpg",
    timeBonusAt = 5,
    -- The wall creeps down a little faster all the time; courses whose middle passes the
    -- line 17 rows down crumble into the river, and the slide stops once the top course has
    -- come down eight rows.
    timeAttack = { fallRate = 0.03, accel = 0.00001, maxFallRate = 0.08, thresholdLines = 17,
                   stopY = 120, endDestroy = true },
    brickLetters = { U = "ArtefactCoverBrick" },
    artefact = { name = "artifactKite.jpg", position = { 272, 164 }, constrainWidth = 96,
                 score = 1000 },
    bricks = {
        ",K,,K,,K,,K,,K,,K,,K,,K,,K",
        "K,K,K,K,K$,K,K,K,K,K,K,K,K,K,K$,K,K,K,K",
        "S,S,S$,S,S,S,S,S,S,S*,S,S,S,S,S,S,S$,S,S",
        "",
        "K,K,,,,,,,,,,,,,,,,K,K",
        "K$,K,,,,,,,,,,,,,,,,K,K$",
        "S,S,S,S,S,S,S,S,S,S*,S,S,S,S,S,S,S,S,S",
        ",K,,K,,K,,K,,K,,K,,K,,K,,K",
        "K,K,K,K,K,K,K,K,U?,U,U,K,K,K,K,K,K,K,K",
        "S,S,S,S$,S,S,S,S,U,U,U,S,S,S,S$,S,S,S,S",
        ",,,,,,,,U,U,U",
        "Y,Y$,Y,Y,Y,Y,Y,Y,U,U,U,Y,Y,Y,Y,Y,Y$,Y,Y",
        "O,O,O,O,O,O,O,Os,O,O,O,O+,O,O,O,O,O,O,O",
        "S,S,S,S,S,S$,S,S,S,S,S,S,S,S$,S,S,S,S,S",
        "",
        "R,R,R,R$,R,R,R,R,R,R*,R,R,R,R,R,R$,R,R,R",
    },
}
