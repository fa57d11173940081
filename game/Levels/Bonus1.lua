-- The first of the inventor's experiments: a magnet in the middle of the room pulls the
-- ball and the loot toward it, around two rings of coils.
Levels.Bonus1 = {
    fullName = "The Magnet Test",
    fromText = "Tinkerwit",
    noteText = "My new magnet works! Mostly. It pulls everything toward the middle of the " ..
               "room, so the ball curves as it flies. Knock out the coils around it.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 3,
    -- The magnet: a gentle pull toward the centre of the rings.
    gravity = { strength = 45, center = { 320, 130 }, decreaseWith = "none" },
    bricks = {
        "",
        ",,,,,,B,B,B$,B,B,B,B",
        ",,,,,G,G,,,,,,,G,G",
        ",,,,Y,Y$,,,R,R*,R,,,Y$,Y",
        ",,,,Y,Y,,,R+,,R?,,,Y,Y",
        ",,,,Y,Y$,,,R,R$,R,,,Y$,Y",
        ",,,,,G,G,,,,,,,G,G",
        ",,,,,,B,B,B$,Bs,B,B,B",
    },
}
