-- The wild south-west, where no track goes: quartz peaks, rainforest full of oil and vines,
-- a river that flows back, walkers trapped in the scrub and two homing flares left behind.
local level = {
    fullName = "The Wild South-West",
    fromText = "The Bush Pilot",
    noteText = "I can't land anywhere out here. Everything you have met so far grows in this " ..
               "wilderness, all at once. The river flows back once after you break it, and some " ..
               "stones can only be broken now and then.",
    music = "Jungle.mid",
    backgroundName = "bkgLevelTasmania.jpg",
    timeBonusAt = 6,
    initalBallSpeed = 195,
    minBallSpeed = 160,
    brickLetters = { F = "LeafBrick", V = "VineBrick", X = "TNTBrick", Q = "PhaseBrick",
                     W = "SpringBrick", T = "TrappedBallBrick", Z = "LightningBrick",
                     H = "StoneBrick" },
    bricks = {
        "",
        ",,KS,,,,,,,KS*,,,,,,,KS",
        ",S,S,S,,,,,S,S,S,,,,,S,S,S",
        "S,S,S$,S,S,,,S,S,S$,S,S,,,S,S,S$,S,S",
        "",
        "Q,Q,,W,,Q,Q,Q,,Q,,Q,Q,Q,,W,,Q,Q",
        "F,V,F,X,F,V,F,F,V,F,V,F,F,V,F,X,F,V,F",
        "F,F$,V,F,F,F,V,F,F*,F,F,V,F,F,F,V,F,F$,F",
        ",,,T,,Z,,,,,,,,Z,,T",
        "B,B,B,B,B$,B,B,B,B?,Bs,B,B,B,B,B$,B,B,B,B",
        "",
        "K,K,K,H,,K,K,K$,K,K+,K,K$,K,K,,H,K,K,K",
    },
}

-- The river grows back once; the marked stones let out homing flares.
CompileLevel(level, "Wilderness")
for _, brick in ipairs(level.compiledBricks) do
    if brick.resource == "BlueBrick" then
        brick.resources = { "ReviveOnce" }
    elseif brick.resource == "StoneBrick" and brick.position[2] == 12 then
        brick.resources = { "BombMarker" }
        brick.factories = FlareOnDestroy()
    end
end

Levels.Wilderness = level
