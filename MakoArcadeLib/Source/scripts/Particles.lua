-- Particle templates and emitters of the play field.

-- ---- Bricks: break-up chips and dust, healing and revival sparkles ----------------------
-- Chips cut from the brick's own picture (the brick gives each particle its image).
Resources.BrickExplosionEmitter1 = {
    class = "BufferedIdenticalParticleEmitter",
    emitCount = 1,
    particleTemplate = { lifetime = 650, alpha = 256, destAlpha = 0 },
}
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
