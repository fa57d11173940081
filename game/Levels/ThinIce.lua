-- A frozen lake whose ice sheet creeps slowly down toward the shore while the player
-- works: it settles for good once its top has come halfway down the field.
Levels.ThinIce = {
    fullName = "Thin Ice",
    fromText = "The Ice Fisherman",
    noteText = "The lake ice has broken loose and is creeping toward the shore. It moves " ..
               "slowly, but it never stops until it runs aground: break it up before it " ..
               "crowds your paddle.",
    music = "Frost.mid",
    backgroundName = "bkgLevelIceland.jpg",
    timeBonusAt = 4,
    -- The sheet falls steadily, a little faster as time goes on, until its top row reaches
    -- 180 pixels; any brick pushed to the shore line melts away.
    timeAttack = { fallRate = 0.03, accel = 0.00001, maxFallRate = 0.08, stopY = 180,
                   thresholdLines = 21, endDestroy = true },
    brickLetters = { I = "IceBrick", N = "SnowBrick" },
    bricks = {
        "",
        "N,N,N,N$,N,N,N,N,N,N,N,N,N,N,N,N$,N,N,N",
        "I,I,I,I,I,I,I,I,I,I*,I,I,I,I,I,I,I,I,I",
        ",N,N,N,N,N,N$,N,N,N,N,N,N$,N,N,N,N,N",
        ",,I,I,Is,I,I,I,I,I,I,I,I,I,I,I,I",
        ",,,B,B,B,B$,B,B?,B+,B,B,B$,B,B,B",
        ",,,,N,N,N,N,N,N,N,N,N,N,N",
    },
}
