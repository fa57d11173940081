-- The first level of the mountains: a condor laid out in brick across the valley wall.
-- Its wings and body are tougher than the bricks of the harbour and take several knocks.
Levels.Condor = {
    fullName = "The Brick Condor",
    fromText = "The Llama Herder",
    noteText = "The village built a condor of brick to guard the pass. It is sturdier than " ..
               "it looks: the wings take three knocks and the head five. Keep hitting them " ..
               "and they will crack.",
    music = "Andes.mid",
    backgroundName = "bkgLevelPeru.jpg",
    timeBonusAt = 3,
    bricks = {
        "",
        ",,,,,,,,,Km",
        "B,B$,B,,,,,,Bw,Kw,Bw,,,,,,B,B$,B",
        ",B,B,B,B,,,Bw,Bw,Kw$,Bw,Bw,,,B,B,B,B",
        ",,G,G$,G,G,Gw,Gw,Gw,Ks,Gw,Gw,Gw,G,G,G$,G",
        ",,,,,G,G,Y?,Yw,K*,Yw,Y,G,G",
        ",,,,,,,,Ym,Y+,Ym",
        ",,,,,,,O,O$,,O$,O",
        "",
        ",,R,R$,R,,,R,R,R,R,R,,,R,R$,R",
    },
}
