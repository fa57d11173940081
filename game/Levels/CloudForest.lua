-- Three ruined towers in the cloud forest: stone walls that take two knocks, capped with
-- slabs of metal that no ball can break.
Levels.CloudForest = {
    fullName = "Ruins in the Clouds",
    fromText = "The Cloud Forest Guide",
    noteText = "The old towers are built of stone and roofed with metal. Stone takes a second " ..
               "knock; the metal will never give, so bounce off it. Get in under the towers " ..
               "and clear them from inside.",
    music = "Andes.mid",
    backgroundName = "bkgLevelPeru.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        ",,M,M,M,,,,,M,,,,,M,M,M",
        ",,S,S,S,,,,S,S,S,,,,S,S,S",
        ",,S,P$,S,,,,S,B*,S,,,,S,P$,S",
        ",,S,P,S,,,,S,B+,S,,,,S,P,S",
        ",,S,P,S,,,,S,B,S,,,,S,Ps,S",
        "",
        "G,G$,G,,G,G,G,G?,,,,G,G,G,G,,G,G$,G",
        ",G,G,G,G,,Y,Y,Y,Y$,Y,Y,Y,,G,G,G,G",
        ",,,,M,,,,,,,,,,M",
        "O,O,O,O$,,O,O,O,O,O,O,O,O,O,,O$,O,O,O",
    },
}
