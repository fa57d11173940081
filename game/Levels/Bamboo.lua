-- A bamboo grove on the hillside: thick clumps of canes, each a big brick three cells wide
-- and three tall that takes a beating, with leaves between them that give way at a touch.
Levels.Bamboo = {
    fullName = "The Bamboo Grove",
    fromText = "The Panda Keeper",
    noteText = "The bamboo has grown so thick the pandas can't get through. The big clumps " ..
               "take three good knocks each; the leaves between them let the ball slip past.",
    music = "Lanterns.mid",
    backgroundName = "bkgLevelChina.jpg",
    timeBonusAt = 4,
    brickLetters = { F = "LeafBrick" },
    bricks = {
        "",
        "",
        "G3w,,,F,G3w$,,,F,G3w,,,F,G3w$,,,F,G3w",
        ",,,F,,,,F$,,,,F,,,,F",
        ",,,F,,,,F,,,,F,,,,F",
        "",
        ",,G3w$,,,F,G3w,,,F,G3w*,,,F,G3w$",
        ",F,,,,F,,,,F,,,,F,,,,F",
        ",F$,,,,F,,,,F,,,,F,,,,F$",
        "",
        "G3w,,,F,G3w,,,Y,G3ws,,,Y,G3w,,,F,G3w",
        ",,,F,,,,Y$,,,,Y+,,,,F",
        ",,,F,,,,Y?,,,,Y,,,,F",
    },
}
