-- The seventh experiment: a ceiling of bricks that creeps down faster and faster. Losing a
-- ball winds it back a little; bricks that reach the paddle's line crumble away.
Levels.Bonus7 = {
    fullName = "The Falling Ceiling",
    fromText = "Tinkerwit",
    noteText = "I may have over-oiled the ceiling. It is coming down, a little faster every " ..
               "second! Break it up before it reaches you. Every ball you lose winds it back " ..
               "a notch.",
    music = "Workshop.mid",
    backgroundName = "bkgLevelLab.jpg",
    timeBonusAt = 3,
    -- The field falls from a crawl to about five pixels a second until its top row has
    -- come down to the stop line at 280 pixels; bricks crossing the line 19 rows down are
    -- crushed against the floor.
    timeAttack = { fallRate = 0.03, accel = 0.00005, maxFallRate = 0.15, stopY = 280,
                   thresholdLines = 19, endDestroy = true },
    bricks = {
        "K,K,K,K$,K,K,K,K,K,K,K,K,K,K,K,K$,K,K,K",
        "R,R,R,R,R,R*,R,R,R,R,R,R,R,R*,R,R,R,R,R",
        "O,O$,O,O,O,O,O,O,O$,O,O,O,O,O,O,O,O$,O,O",
        "Y,Y,Y,Ys,Y,Y,Y,Y,Y?,Y+,Y,Y,Y,Y,Y,Ys,Y,Y,Y",
        "G,G,G$,G,G,G,G,G@,G,G,G,G&,G,G,G,G,G$,G,G",
    },
}
