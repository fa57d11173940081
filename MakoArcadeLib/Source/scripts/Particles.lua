-- Particle templates and emitters of the play field.

-- Explosion: embers thrown out of the fireball, and a few slow puffs of smoke left
-- behind. The emitter covers the fireball's rectangle.
Resources.ExplosionParticleEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1,
    numParticles = 24,
    particleTemplate = {
        lifetime = 480,
        alpha = 255,
        destAlpha = 0,
        randomizedImage = {
            "ExplosionEmber.png", "ExplosionEmber.png", "ExplosionEmber.png", "ExplosionSmoke.png",
        },
        randomizedVelocity = { minRadius = 60, maxRadius = 220, minAngle = 0, maxAngle = 6.2832 },
        acceleration = { x = 0, y = 90 },
        randomizedPosition = { minX = -12, maxX = 12, minY = -12, maxY = 12 },
    },
}

-- Walls and shields: lava splashes where something falls into a dangerous wall, and the
-- spray of stars where a ball strikes a shield. Angles in radians, y downwards (so
-- upward sprays lie between pi and 2 pi); speeds in pixels per second.
Resources.LavaSplashEmitter = {
    name = "LavaSplashEmitter", emitCount = 1, interval = 1000, numParticles = 24,
    particleTemplate = {
        image = "LavaDrop.png", lifetime = 700, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 90, maxRadius = 240, minAngle = 3.5, maxAngle = 5.9 },
        acceleration = { x = 0, y = 520 },
    },
}
Resources.LavaSplashEmitterSmall = {
    name = "LavaSplashEmitterSmall", emitCount = 1, interval = 1000, numParticles = 10,
    particleTemplate = {
        image = "LavaDrop.png", lifetime = 500, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 60, maxRadius = 150, minAngle = 3.7, maxAngle = 5.7 },
        acceleration = { x = 0, y = 480 },
    },
}
Resources.LavaSplashEmitterGoober = {
    name = "LavaSplashEmitterGoober", emitCount = 1, interval = 1000, numParticles = 16,
    particleTemplate = {
        image = "LavaDrop.png", lifetime = 600, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 70, maxRadius = 190, minAngle = 3.6, maxAngle = 5.8 },
        acceleration = { x = 0, y = 500 },
    },
}
-- A brick sinking in lava: bubbles rising one after another from where it touches.
Resources.LavaSplashEmitterBrick = {
    name = "LavaSplashEmitterBrick", emitCount = 4, interval = 96, numParticles = 1,
    particleTemplate = {
        image = "LavaDrop.png", lifetime = 400, alpha = 230, destAlpha = 0,
        velocity = { x = 0, y = -70 }, acceleration = { x = 0, y = 160 },
    },
}
Resources.ShieldHitEmitter = {
    name = "ShieldHitEmitter", emitCount = 1, interval = 1000, numParticles = 20,
    particleTemplate = {
        image = "Particle_SmallStar_White.png", lifetime = 250, alpha = 128, destAlpha = 0,
        randomizedVelocity = { minRadius = 150, maxRadius = 300, minAngle = 0, maxAngle = 6.2832 },
    },
}

-- Balls: the trail of a charged ball, the blurred copies of a fast one, the splash of a
-- glued bounce; and the pieces that balls, the paddle and bricks break into.
Resources.BallTrailEmitter1 = {
    class = "IdenticalParticleEmitter",
    emitCount = -1, interval = 0, numParticles = 10,
    particleTemplate = { lifetime = 500, alpha = 128, destAlpha = 0, size = { 3, 3 } },
}
Resources.MotionBlurEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = -1, interval = 0, numParticles = 0,
    zorder = 6, -- Just behind the ball
    particleTemplate = { lifetime = 1, alpha = 64 },
}
Resources.GlueCollisionEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1, interval = 0, numParticles = 50,
    particleTemplate = { image = "Particle_White_Tiny.png", lifetime = 100, destAlpha = 0 },
}
Resources.GlueCollisionExplosionEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1, interval = 0, numParticles = 16,
    particleTemplate = {
        lifetime = 200, destAlpha = 0, size = { 1, 1 }, color = "White",
        randomizedVelocity = { minRadius = 60, maxRadius = 60, minAngle = 0, maxAngle = 6.2832 },
    },
}
-- The flash where a ball splits in three.
Resources.BallSplitEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1, interval = 0, numParticles = 24,
    particleTemplate = {
        lifetime = 350, destAlpha = 0, size = { 2, 2 }, color = "White",
        randomizedVelocity = { minRadius = 80, maxRadius = 140, minAngle = 0, maxAngle = 6.2832 },
    },
}
Resources.BrickExplosionEmitter1 = {
    class = "BufferedIdenticalParticleEmitter",
    emitCount = 1, interval = 0, numParticles = 10,
    particleTemplate = { lifetime = 900, destAlpha = 0, acceleration = { x = 0, y = 500 } },
}

-- ---- Bricks: the dust of a break-up, healing and revival sparkles -----------------------
Resources.BrickExplosionEmitter2 = {
    class = "IdenticalParticleEmitter",
    emitCount = 1,
    numParticles = 12,
    particleTemplate = {
        image = "Particle_White_Tiny.png", lifetime = 400, alpha = 256, destAlpha = 0,
        randomizedVelocity = { minRadius = 25, maxRadius = 150, minAngle = 0, maxAngle = 6.2832 },
    },
}
Resources.HealEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1,
    numParticles = 8,
    particleTemplate = {
        image = "Particle_SmallStar_Green.png", lifetime = 500, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 20, maxRadius = 60, minAngle = 0, maxAngle = 6.2832 },
    },
}
Resources.ReviveEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1,
    numParticles = 16,
    particleTemplate = {
        image = "Particle_Star_Gold.png", lifetime = 600, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 30, maxRadius = 90, minAngle = 0, maxAngle = 6.2832 },
    },
}

-- ---- Power-ups: creation bursts, trails and collection bursts of every family -------------
-- Good power-ups sparkle blue, bad ones red, neutral ones white; loot in its gem's colour
-- or gold. A burst is bought ahead (buffered) and released where the power-up appears or
-- is caught; a trail is an endless emitter that rides on the power-up.
local function powerupCreation(name, colour)
    return {
        name = name, class = "BufferedIdenticalParticleEmitter",
        numParticles = 20, emitCount = 1, interval = 1000,
        particleTemplate = {
            image = "Particle_Star_" .. colour .. ".png", lifetime = 500, alpha = 256, destAlpha = 0,
            randomizedVelocity = { minRadius = 50, maxRadius = 150, minAngle = 0, maxAngle = 6.2832 },
        },
    }
end
local function powerupTrail(name, colour)
    return {
        name = name, numParticles = 1, emitCount = -1, interval = 0,
        particleTemplate = {
            image = "Particle_SmallStar_" .. colour .. ".png", lifetime = 500, alpha = 256, destAlpha = 0,
        },
    }
end
local function powerupCollectedPlain(name, colour)
    return {
        name = name, class = "BufferedIdenticalParticleEmitter",
        numParticles = 30, emitCount = 1, interval = 1000,
        particleTemplate = {
            color = colour, size = { 2, 2 }, lifetime = 500, alpha = 256, destAlpha = 0,
            randomizedVelocity = { minRadius = 80, maxRadius = 90, minAngle = 0, maxAngle = 6.2832 },
        },
    }
end
local function powerupCollectedStars(name, colour)
    return {
        name = name, class = "BufferedIdenticalParticleEmitter",
        numParticles = 20, emitCount = 1, interval = 1000,
        particleTemplate = {
            randomizedImage = { "Particle_Star_" .. colour .. ".png", "Particle_SmallStar_" .. colour .. ".png" },
            lifetime = 500, alpha = 256, destAlpha = 0,
            randomizedVelocity = { minRadius = 80, maxRadius = 90, minAngle = 0, maxAngle = 6.2832 },
        },
    }
end

for family, colour in pairs({ Good = "Blue", Bad = "Red", Neutral = "White", Green = "Green", Gold = "Gold" }) do
    Resources[family .. "PowerupCreationEmitter"] = powerupCreation(family .. "PowerupCreationEmitter", colour)
    Resources[family .. "PowerupTrailEmitter"] = powerupTrail(family .. "PowerupTrailEmitter", colour)
end
for family, colour in pairs({ Good = "Blue", Bad = "Red", Neutral = "White" }) do
    Resources[family .. "PowerupCollectedEmitter"] = powerupCollectedPlain(family .. "PowerupCollectedEmitter", colour)
end
for _, colour in ipairs({ "Red", "Green", "White", "Gold" }) do
    Resources[colour .. "PowerupCollectedEmitter"] = powerupCollectedStars(colour .. "PowerupCollectedEmitter", colour)
end
Resources.RedPowerupCreationEmitter = Resources.BadPowerupCreationEmitter
Resources.RedPowerupTrailEmitter = Resources.BadPowerupTrailEmitter
Resources.BluePowerupCreationEmitter = Resources.GoodPowerupCreationEmitter
Resources.BluePowerupTrailEmitter = Resources.GoodPowerupTrailEmitter
Resources.WhitePowerupCreationEmitter = Resources.NeutralPowerupCreationEmitter
Resources.WhitePowerupTrailEmitter = Resources.NeutralPowerupTrailEmitter
Resources.BluePowerupCollectedEmitter = Resources.GoodPowerupCreationEmitter

-- Sparks shooting from the paddle's two ends when it catches a power-up; the catch sets
-- their colour, direction and fall.
Resources.PaddleEdgePowerupCollectedEmitter = {
    name = "PaddleEdgePowerupCollectedEmitter", numParticles = 1, emitCount = 6,
    particleTemplate = { position = { 0, 0 }, lifetime = 150, alpha = 128, destAlpha = 0, size = { 1, 16 } },
}

-- A ball appearing on its paddle: a ring of stars bursting out from the ball.
Resources.BallSpawnEmitter = {
    class = "IdenticalParticleEmitter",
    name = "BallSpawnEmitter", emitCount = 1, interval = 0, numParticles = 16,
    particleTemplate = {
        image = "Particle_SmallStar_White.png", lifetime = 400, alpha = 200, destAlpha = 0,
        randomizedVelocity = { minRadius = 80, maxRadius = 120, minAngle = 0, maxAngle = 6.2832 },
    },
}

-- A star lit on the end-of-level letter: one ring of small gold stars flying out from it.
Resources.StarGotEmitter = {
    name = "StarGotEmitter", emitCount = 1, interval = 250, numParticles = 35,
    particleTemplate = {
        image = "Particle_SmallStar_Gold.png", lifetime = 250, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 190, maxRadius = 200, minAngle = 0, maxAngle = 6.2832 },
    },
}
