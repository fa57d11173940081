-- The memorial and its trees mirrored in the long pool: the reflection is there, but it
-- cannot be seen until a ball finds it.
Levels.ReflectingPool = {
    fullName = "The Reflecting Pool",
    fromText = "The Park Ranger",
    noteText = "On a still day the pool mirrors everything above it, and the mirror is solid! " ..
               "The reflected bricks are invisible until a ball strikes them. Look for them " ..
               "where the picture says they should be.",
    music = "Capital.mid",
    backgroundName = "bkgLevelWashington.jpg",
    timeBonusAt = 4,
    bricks = {
        "",
        ",,G,G$,G,,,,,P,,,,,G,G$,G",
        ",,G,G,G,,,,P,P,P,,,,G,G,G",
        ",,,K,,,,O,O?,O+,O,O,,,,K",
        "B,B,B$,B,B,B,B,B,B,Bs,B,B,B,B,B,B,B$,B,B",
        "",
        ",,,Ki,,,,Oi,Oi,Oi,Oi,Oi,,,,Ki",
        ",,Gi,Gi,Gi,,,,Pi,Pi,Pi,,,,Gi,Gi,Gi",
        ",,Gi,Gi*,Gi,,,,,Pi$,,,,,Gi,Gi*,Gi",
    },
}
