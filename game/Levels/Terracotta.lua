-- The buried army of clay warriors. Each warrior falls to pieces and, a while later,
-- stands up again: only a warrior broken a second time stays down.
local level = {
    fullName = "The Clay Army",
    fromText = "The Excavation Chief",
    noteText = "The clay soldiers in the pit won't stay down! Break one and it rises again " ..
               "after a while; break it once more and it is dust. Clear the ranks before " ..
               "they regroup.",
    music = "Lanterns.mid",
    backgroundName = "bkgLevelChina.jpg",
    timeBonusAt = 5,
    brickLetters = { W = "JarBrick" },
    bricks = {
        "",
        "K,K,K,K,K,K,K,K,K$,K*,K$,K,K,K,K,K,K,K,K",
        "",
        ",W,,W,,W,,W$,,W,,W$,,W,,W,,W",
        ",W,,W,,W,,W,,W,,W,,W,,W,,W",
        "",
        ",,W,,W,,W$,,W,,W,,W$,,W,,W",
        ",,W,,W,,W,,W,,W,,W,,W,,W",
        "",
        "S,S,S$,S,S,S,S,S,S,Ss,S,S,S,S,S,S,S$,S,S",
        "",
        ",,,,Y,Y,Y$,Y,Y?,Y+,Y,Y,Y$,Y,Y",
    },
}

-- Every clay warrior stands up once more after it is broken.
CompileLevel(level, "Terracotta")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "JarBrick" then
        brick.resources = { "ReviveOnce" }
    end
end

Levels.Terracotta = level
