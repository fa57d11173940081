-- Farm terraces stepping down the mountainside: the whole hill slides down a step each time
-- its lowest terrace is cleared, so the slope keeps coming down within reach of the ball.
Levels.Terraces = {
    fullName = "The Sliding Terraces",
    fromText = "The Potato Farmer",
    noteText = "The rains have loosened my terraces! Every time you clear the lowest step, " ..
               "the hill above slides down to take its place. Keep the ball under the slope " ..
               "and it will come to you.",
    music = "Andes.mid",
    backgroundName = "bkgLevelPeru.jpg",
    timeBonusAt = 4,
    -- The hill steps down a row at a time while its lowest required bricks are above the
    -- line 13 rows down, until its top row has come down to 140 pixels.
    progressive = { thresholdLines = 13, stopY = 140, stepSize = 16, rate = 1 },
    bricks = {
        ",,,,,,,,G,G$,G",
        ",,,,,,,S,S,S,S,S",
        ",,,,,,G,G,G,G*,G,G,G",
        ",,,,,S,S,S,S,S,S,S,S,S",
        ",,,,G,G$,G,G,G,G,G,G,G,G$,G",
        ",,,O,O,O,O,O,O?,Os,O,O,O,O,O,O",
        ",,Y,Y,Y$,Y,Y,Y,Y,Y+,Y,Y,Y,Y,Y$,Y,Y",
        ",K,K,K,K,K,K,K,K,K,K,K,K,K,K,K,K,K",
        "G,G,G$,G,G,G,G,G,G,G*,G,G,G,G,G,G,G$,G,G",
    },
}
