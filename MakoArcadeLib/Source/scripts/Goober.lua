-- Resource tables of the goobers: the creatures that wander the field and steal loot, and
-- the falling hazards built the same way (boulders, snowballs, bombs, anvils, smart bombs).

-- The most objects made by factories that may be alive at once; a level that keeps
-- firing its factories past this makes nothing more until some are gone.
LoadConstConfig({
    factoryObjectLimit = 200,
})

-- The common parts of a goober: a round creature with the picture "Goober.<name>.png"
-- worth score points (half of it when the paddle destroys it), with extra values on top.
-- Its pushes (randomWalk, gravity, seekPaddle) are accelerations in pixels per second²
-- and speedLimit a speed in pixels per second; without them a goober wanders at up to
-- 40 pixels per second (randomWalk 400) with a slight downward drift (gravity {0, 10}).
local function MakeGoober(name, score, extra)
    local goober = {
        class = "Goober",
        image = "Goober." .. name .. ".png",
        gooberScore = score,
        strength = 1,
        circle = 15,
        showScore = true,
        halfPaddle = true,
    }
    for key, value in pairs(extra or {}) do
        goober[key] = value
    end
    return goober
end

-- A motion that lets balls be blocked again once the goober has fallen clear of the
-- brick that dropped it.
local function ClearNoBlockBall()
    return {
        class = "MotionProperties",
        stopProperties = { noBlockBall = false },
        addMotionList = { { class = "MotionWait", duration = 15 } },
    }
end

-- The factory of a bomber: a bomb falls where the bomber is destroyed.
Resources.Bomber = {
    factories = {
        {
            class = "Factory",
            destroyTriggers = { {} },
            creations = { { objectSpec = { class = "Goober", resource = "GooberBomb" } } },
        },
    },
}

Resources.NormalGoober = MakeGoober("Normal", 20)
Resources.DestructiveGoober = MakeGoober("Destructive", 20, { destroyOnCollision = { "Brick" } })
Resources.SuicideGoober = MakeGoober("Suicide", 20, { dieOnCollision = { "Brick" } })
Resources.BomberGoober = MakeGoober("Bomber", 40, { resource = "Bomber" })
Resources.StrongGoober = MakeGoober("Strong", 40, { strength = 10, damageFrames = true })
Resources.ThiefGoober = MakeGoober("Thief", 50, {
    stealLoot = true,
    -- It comes down steadily and, once near the paddle, follows it sideways.
    gravity = { 0, 60 },
    seekPaddle = 160,
    seekDistance = 200,
    destroyOnPaddle = false,
    showScore = false,
})
Resources.Boulder = MakeGoober("Boulder", 10, {
    strength = 10,
    bounciness = "BounceAlways",
    gravity = { 0, 100 },
    speedLimit = 600,
    randomWalk = 0,
    takeDamageOnCollision = { "Paddle" },
    collisionSound = "hitBoulder.ogg",
    destructionSound = "crashBoulder.ogg",
})
Resources.Snowball = MakeGoober("Snowball", 1, {
    bounciness = "BounceAlways",
    gravity = { 0, 100 },
    speedLimit = 600,
    randomWalk = 0,
    circle = 16,
    destructionSound = "crashSnow.ogg",
})
Resources.GooberBomb = MakeGoober("Bomb", 500, {
    image = "Bomb.png",
    -- Falls at its top speed (40 pixels per second) within a quarter of a second.
    gravity = { 0, 160 },
    explosivePower = 5,
    explosionDangerous = true,
    passThruBricks = true,
    noBlockBall = true,
    motion = ClearNoBlockBall(),
    destroyOnPaddle = true,
    lifetimeSound = "fuse.ogg",
    lifetimeSound2 = "Whistle.ogg",
})
Resources.GooberAnvil = {
    class = "Goober",
    image = "Anvil.png",
    gooberScore = 250,
    -- Read when each anvil is made: the playing card's skill decides how many hits it takes.
    strength = GetAnvilStrength,
    damageFrames = true,
    showScore = true,
    gravity = { 0, 200 },
    destroyOnShield = true,
    passThruBricks = true,
    noBlockBall = true,
    motion = ClearNoBlockBall(),
    rectangle = { 48, 24 },
}
Resources.SmartBomb = MakeGoober("SmartBomb", 750, {
    seekPaddle = 160,
    seekDistance = 300,
    speedLimit = 100,
    gravity = { 0, 160 },
    explosivePower = 5,
    explosionDangerous = true,
    homingBlink = true,
    lifetimeSound = "tracking.ogg",
})
