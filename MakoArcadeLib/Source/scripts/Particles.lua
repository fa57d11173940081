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
