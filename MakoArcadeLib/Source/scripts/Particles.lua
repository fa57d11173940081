-- Particle templates and emitters of the play field.

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
