-- Ribbons of the northern lights over two cabins: the sky pulls everything gently upward,
-- and some bricks change the ball into lead or into a beach ball.
local level = {
    fullName = "Under the Aurora",
    fromText = "The Stargazer",
    noteText = "Tonight the aurora draws everything skyward. A heavy ball of lead feels the " ..
               "pull strongly and a light one hardly at all, and some bricks hide both. " ..
               "Choose which ones you catch!",
    music = "Frost.mid",
    backgroundName = "bkgLevelIceland.jpg",
    timeBonusAt = 4,
    -- Every brick broken speeds the ball up a little.
    addSpeedOnBrickDestruction = 0.5,
    -- The pull of the lights: the same everywhere, straight up.
    gravity = { strength = 30, direction = { 0, -1 } },
    bricks = {
        "",
        ",,,,,,,G,G,G$,G,G",
        ",,,,G,G,G,B,B,B?,B,B,G,G,G",
        ",,G,G,B,B,B,Pw,Pw,Pw*,Pw,Pw,B,B,B,G,G",
        ",G,B,B,P,P$,,,,,,,,P$,P,B,B,G",
        "G,B,P,Ps,,,,,,,,,,,,P,P,B,G",
        "",
        "",
        ",,,,K,K,K,K,,,,K,K,K,K",
        ",,,,K,K$,K+,K,,,,K,K,K$,K",
    },
}

-- Where the lead and the light balls hide.
local extras = {
    ["8,4"] = "HeavyBall", ["12,4"] = "HeavyBall",
    ["3,5"] = "LightBall", ["17,5"] = "LightBall",
}
CompileLevel(level, "AuroraNight")
for _, brick in ipairs(level.compiledBricks) do
    local extra = extras[brick.position[1] .. "," .. brick.position[2]]
    if extra then
        brick.powerups = brick.powerups or {}
        table.insert(brick.powerups, extra)
    end
end

Levels.AuroraNight = level
