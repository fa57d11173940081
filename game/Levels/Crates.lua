-- A stack of crates on the quay, roped together with planks and weighed down with stone.
-- A crate is a double brick (two cells by two) and takes a few knocks; most hold coins.
Levels.Crates = {
    fullName = "Crates on the Quay",
    fromText = "The Dock Foreman",
    noteText = "A storm knocked the cargo into a heap. Break the crates open and catch " ..
               "what falls out. The stone ballast is hard going: leave it for last.",
    music = "Harbour.mid",
    backgroundName = "bkgLevelCapeHorn.jpg",
    timeBonusAt = 3,
    -- The storm still blows in off the sea, gusting from the left.
    wind = { strength = 40, direction = { 1, -0.2 }, variance = 6, normalization = 3 },
    brickLetters = { C = "CrateBrick", W = "WoodBrick" },
    bricks = {
        "",
        ",,,,,,,,W,W,W",
        ",,,,,,,C2$,,C2,,C2$",
        "",
        ",,,,,W,W,W,W,W?,W,W,W,W",
        ",,,,,C2,,C2$,,C2,,C2$,,C2",
        "",
        ",,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W",
        ",,,C2$,,C2,,C2,,C2*,,C2,,C2,,C2$",
        "",
        "S,S,S$,S,S,S,S,S,S,S,S,S,S,S,S,S,S$,S,S",
    },
}
