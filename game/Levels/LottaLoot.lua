-- A treasure room: every brick holds coins or gems, some hidden until struck, and a thief
-- wanders in to take what falls.
Levels.LottaLoot = {
    fullName = "Lotta Loot",
    fromText = "The Harbour Master",
    noteText = "We found the smugglers' store room. Everything in it is yours, if you can " ..
               "catch it, and if that thief doesn't get to it first.",
    music = "Harbour.mid",
    backgroundName = "bkgLevelCapeHorn.jpg",
    timeBonusAt = 3,
    lootCaughtTarget = 80,
    -- The hoard draws everything toward it: balls and loot drift up to the treasure.
    gravity = { strength = 60, center = { 320, 100 }, decreaseWith = "none" },
    bricks = {
        "",
        ",P$$,,P$$,,P*,,P@,,P&,,P*,,P$$,,P$$",
        "",
        ",,g$,g*,g$,g@,g$,g&,g$,g*,g$,g@,g$,g&,g$,g*,g$",
        ",,O$,O$,O$,O$,O$,O$,O$,O$?,O$,O$,O$,O$,O$,O$,O$",
        ",,Pi$,Pi$,Pi*,Pi$,Pi$,Pi@,Pi$,Pi$,Pi$,Pi&,Pi$,Pi$,Pi*,Pi$,Pi$",
        ",,Y$,Y$,Y$,Y$,Y$,Y$,Y$,Y+,Y$,Y$,Y$,Y$,Y$,Y$,Y$",
        ",,K$,K$,K*,K$,K$,K$,K$,K$s,K$,K$,K$,K$,K*,K$,K$",
    },
    levelActors = {
        { class = "Goober", resource = "ThiefGoober", position = { 80, 300 } },
    },
}
