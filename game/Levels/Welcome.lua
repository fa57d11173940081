-- The first level: five soft rows, a few coins, a shield and a letter to find.
Levels.Welcome = {
    fullName = "Welcome Aboard",
    fromText = "The Harbour Master",
    noteText = "Welcome to the harbour! Swing the paddle to send the ball back up and " ..
               "clear every brick. Catch the coins that fall out: loot counts towards " ..
               "your score.",
    music = "Harbour.mid",
    backgroundName = "bkgLevelCapeHorn.jpg",
    bricks = {
        "",
        "",
        ",,B,B,B,B,B,B,B,B,B,B,B,B,B,B,B",
        ",,G,G$,G,G,G$,G,G,GLB,G,G,G$,G,G,G$,G",
        ",,Y,Y,Y,Y,Y,Y?,Ys,Y+,Ys,Y,Y,Y,Y,Y,Y",
        ",,O,O,O$,O,O,O,O,O,O,O,O,O$,O,O,O",
        ",,R,R,R,R,R$,R,R,R*,R,R,R$,R,R,R,R",
    },
}
