-- A pool under the palms in the middle of the desert. The water draws everything to it:
-- the ball curves toward the middle of the pool wherever it flies.
Levels.Oasis = {
    fullName = "The Oasis",
    fromText = "The Caravan Leader",
    noteText = "Welcome to the desert! Everything here is drawn to the water, the ball " ..
               "too: it bends toward the pool as it flies. Use the pull to reach round the palms.",
    music = "Sands.mid",
    backgroundName = "bkgLevelEgypt.jpg",
    timeBonusAt = 4,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 0.5,
    -- The pool pulls balls and loot toward its middle.
    gravity = { strength = 55, center = { 320, 124 }, decreaseWith = "none" },
    bricks = {
        "",
        ",G,G$,G,,,,,,,,,,,,G,G$,G",
        ",,Ow,,,,,Y,Y,Y$,Y,Y,,,,,Ow",
        ",,Ow,,,,Y,B,B,B*,B,B,Y,,,,Ow",
        ",,Ow,,,Y,B,B@,,,,B@,B,Y,,,Ow",
        ",,Ow,,,Y$,B?,,,,,,B,Y$,,,Ow",
        ",,Ow,,,Y,B,B&,,,,B&,B,Y,,,Ow",
        ",,Ow,,,,Y,B,B,Bs,B,B,Y,,,,Ow",
        ",Y,Y,Y$,,,,Y,Y,Y+,Y,Y,,,,Y$,Y,Y",
        "",
        ",,S,S,S$,S,S,,,,,,S,S,S$,S,S",
    },
}
