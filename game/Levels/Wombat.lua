-- A hillside riddled with wombat burrows. The wombats dig through whatever is in their way,
-- and some of the tunnels hide bricks nobody can see until the ball finds them.
Levels.Wombat = {
    fullName = "Wombat Burrows",
    fromText = "The Wombat Watcher",
    noteText = "The wombats have dug the whole hill hollow, and they dig through any brick " ..
               "they bump into. Let them help! The dark tunnels hide bricks you can't see " ..
               "until the ball strikes them.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 5,
    initalBallSpeed = 185,
    minBallSpeed = 150,
    brickLetters = { D = "OldWoodBrick" },
    bricks = {
        "",
        "G,G,G,G,G$,G,G,G,G,G*,G,G,G,G,G$,G,G,G,G",
        "D,D,D,D$,K,D,D,D,D,D,D,D,D,D,D,K,D,D,D",
        "D,,,,D,D,D,D,D,,Ki,,D$,K,D,,Ki$,,D",
        "K,,,,D,D,D,D,D,,,,D,D,D,,,,D",
        "D,D,D,,,,,,D,K,D,,D,D,D,,D,D,D",
        "S,S,S,S,S,S,S,,S,S,S,,S,S,S,,S,S,S",
        "D,D,D$,D,D,KS,D,Ki,D,D,D,,D,D,D,,K,D,D",
        "D,D,,,,,D,,D,D,D,,,Ki*,,,D,D,D",
        "D,K,Ki$,,,,D,D,D,D,D,D,K,D,D,D,D,D,D",
        "S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S,S",
        "",
        "Y,Y,Y$,Y,Y,Y,Ys,Y,Y?,Y+,Y,Y,Ys,Y,Y,Y,Y$,Y,Y",
    },
    -- Three wombats start in their chambers.
    levelActors = {
        { class = "Goober", resource = "DestructiveGoober", position = { 82, 85 } },
        { class = "Goober", resource = "DestructiveGoober", position = { 338, 85 } },
        { class = "Goober", resource = "DestructiveGoober", position = { 530, 85 } },
    },
}
