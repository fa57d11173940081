-- A palace that shimmers in the heat: half of its bricks cannot be seen until a ball
-- finds them, and thieves slip out of the haze to rob the paddle of its loot.
Levels.Mirage = {
    fullName = "The Mirage",
    fromText = "The Water Seller",
    noteText = "That palace is half mirage, half real. Feel out the hidden walls and " ..
               "beware the thieves in the haze: touch one and it snatches your loot.",
    music = "Sands.mid",
    backgroundName = "bkgLevelEgypt.jpg",
    timeBonusAt = 4,
    -- The ball gains a little speed from every brick it strikes.
    addSpeedOnBrickDestruction = 0.5,
    lootCaughtTarget = 70,
    bricks = {
        "",
        ",,,,Y,,,,,Y*,,,,,Y",
        ",,,Y,Y,Y,,,Y,Y,Y,,,Y,Y,Y",
        ",,,Yi$,Yi,Yi$,,,Yi,Yi@,Yi,,,Yi$,Yi,Yi$",
        ",,O,O,O,O,O,O,O$,O?,O$,O,O,O,O,O,O",
        ",,Oi,g$,Oi,Oi*,Oi,Oi,Oi,g&,Oi,Oi,Oi,Oi*,Oi,g$,Oi",
        ",,O,O$,O,O,Os,O,O,O+,O,O,Os,O,O,O$,O",
        ",,Si,Si,Si,Si,Si$,Si,Si,Si,Si,Si,Si$,Si,Si,Si,Si",
        "",
        ",,,Y$,Y,Y$,,,Y$,Y,Y$,,,Y$,Y,Y$",
    },
    levelActors = {
        { class = "Goober", resource = "ThiefGoober", position = { 100, 280 } },
        { class = "Goober", resource = "ThiefGoober", position = { 500, 280 } },
    },
}
