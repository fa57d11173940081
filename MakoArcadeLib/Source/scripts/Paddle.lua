-- Resource tables of the paddle and its power levels.

-- The swing: distances in pixels, speeds in pixels per tick (32 ms), accelerations in
-- pixels per tick per tick, energies in power units.
LoadConstConfig({
    paddleReturnRate = 5.0,
    paddleServeDistance = 15.0,
    paddleServeReleaseSpot = 7.0,
    paddleServeAcceleration = 5.0,
    paddleServeDeceleration = 5.0,
    paddleServeEnergyGain = 0.5,
    paddleServeEnergyLoss = 1.0,
    paddleServeChargeRate = 0.05,
    paddleServeMaxCharge = 1.0,
    paddleSwingDistance = 15.0,
    paddleSwingSweetSpot = 7.0,
    paddleSwingAcceleration = 3.0,
    paddleSwingDeceleration = 3.0,
    paddleSwingEnergyGain = 0.5,
    paddleSwingEnergyLoss = 1.0,
    paddlePowerDelay = 10.0,
    paddlePullRate = 0.5,
    paddlePullDistance = 20.0,
    paddleChargeRate = 0.05,
    paddleWhackMaxCharge = 2.0,
    paddleWhackDistance = 15.0,
    paddleWhackSweetSpot = 0.0,
    paddleWhackAcceleration = 5.0,
    paddleWhackDeceleration = 5.0,
    paddleWhackEnergyGain = 0.75,
    paddleWhackEnergyLoss = 1.5,
    -- Paddle hits that award power (read by the game logic).
    HitCounterLimit = 10,
})

-- The size index (0..6) every new paddle starts at; nil keeps the normal 64 pixels.
paddleInitialSizeOverride = 3

Resources.Paddle = {
    image = "Paddle_Gold.png",
    position = { 300, 400 },
}

Resources.PaddleGlow = {
    image = "Paddle_Pulsate.png",
    loopAnimation = "Pulsate",
    alignment = "Center",
    shaderType = "SHADERTYPE_BLENDCOMBINEDALPHA",
}

-- The labels' typeface: the game's clean font.
local PaddleLabelFont = ConstConfig.CleanFont or ConstConfig.cleanfont or "DejaVuSans.ttf"

-- The label under the paddle (what the goober took), and beside a vertical paddle.
Resources.PaddleLabel = {
    class = "Label",
    fgColor = "White",
    font = { fontName = PaddleLabelFont, fontSize = 18 },
    alignment = "MidBottom",
    alignmentOffset = { 0, 20 },
}
Resources.PaddleLabelVerticalLeft = {
    class = "Label",
    fgColor = "White",
    font = { fontName = PaddleLabelFont, fontSize = 12 },
    alignment = "MidRight",
    alignmentOffset = { -40, 0 },
}
Resources.PaddleLabelVerticalRight = {
    class = "Label",
    fgColor = "White",
    font = { fontName = PaddleLabelFont, fontSize = 12 },
    alignment = "MidRight",
    alignmentOffset = { -10, 0 },
}

-- Energy: one yellow spark at a time drifting off the paddle's back while it holds power;
-- the paddle sets the interval by its power level.
local function PaddleEnergy(ax, ay, minX, maxX, minY, maxY)
    return {
        class = "IdenticalParticleEmitter",
        emitCount = -1,
        numParticles = 1,
        interval = 400,
        particleTemplate = {
            lifetime = 750,
            color = "Yellow",
            size = { 2, 2 },
            alpha = 255,
            destAlpha = 0,
            velocity = { 0, 0 },
            acceleration = { ax, ay },
            randomizedPosition = { minX = minX, maxX = maxX, minY = minY, maxY = maxY },
        },
    }
end
Resources.PaddleEnergyBottom = PaddleEnergy(0, 240, -28, 28, 0, 4)
Resources.PaddleEnergyTop = PaddleEnergy(0, -240, -28, 28, -4, 0)
Resources.PaddleEnergyLeft = PaddleEnergy(-240, 0, -4, 0, -28, 28)
Resources.PaddleEnergyRight = PaddleEnergy(240, 0, 0, 4, -28, 28)

-- The burst where a powered ball leaves the paddle; its velocities come from one of the
-- spray ranges below and its colour from the power.
Resources.PaddleWhackEmitter = {
    class = "IdenticalParticleEmitter",
    emitCount = 1,
    numParticles = 30,
    particleTemplate = {
        lifetime = 300,
        size = { 3, 3 },
        alpha = 255,
        destAlpha = 0,
        color = "White",
    },
}

-- Sweet-spot flashes: a small ring of stars for a swing, a big one for a whack.
local function SweetSpot(image, count, minRadius, maxRadius, lifetime)
    return {
        class = "IdenticalParticleEmitter",
        emitCount = 1,
        numParticles = count,
        particleTemplate = {
            image = image,
            lifetime = lifetime,
            alpha = 255,
            destAlpha = 0,
            randomizedVelocity = { minRadius = minRadius, maxRadius = maxRadius,
                                   minAngle = 0, maxAngle = 6.2832 },
        },
    }
end
Resources.SweetSpotEmitterSmall = SweetSpot("Particle_SmallStar_Gold.png", 16, 80, 120, 300)
Resources.SweetSpotEmitterBig = SweetSpot("Particle_Star_Gold.png", 40, 120, 260, 450)

-- Power gained or lost: stars rising (green) or falling (red) from the paddle's ends.
local function PowerChange(image, minAngle, maxAngle)
    return {
        class = "IdenticalParticleEmitter",
        emitCount = 1,
        numParticles = 12,
        particleTemplate = {
            image = image,
            lifetime = 500,
            alpha = 255,
            destAlpha = 0,
            randomizedVelocity = { minRadius = 40, maxRadius = 110,
                                   minAngle = minAngle, maxAngle = maxAngle },
        },
    }
end
Resources.PaddlePowerUpEmitter = PowerChange("Particle_SmallStar_Green.png", 3.93, 5.50)
Resources.PaddlePowerDownEmitter = PowerChange("Particle_SmallStar_Red.png", 0.79, 2.36)

-- The stroke trail: faint copies of the paddle left behind while it strokes (the paddle
-- gives each particle its picture).
Resources.PaddlePowerupTrail = {
    class = "ParticleEmitter",
    emitCount = -1,
    numParticles = 1,
    interval = 0,
    particleTemplate = {
        lifetime = 160,
        alpha = 200,
        destAlpha = 0,
    },
}

-- Spray ranges of the whack burst by the side the paddle faces: speeds in pixels per
-- second, angles in radians (0 = right, pi / 2 = down).
WhackSprayUp1 = { minRadius = 75, maxRadius = 200, minAngle = 3.67, maxAngle = 4.71 }
WhackSprayUp2 = { minRadius = 75, maxRadius = 200, minAngle = 4.71, maxAngle = 5.76 }
WhackSprayDown1 = { minRadius = 75, maxRadius = 200, minAngle = 0.52, maxAngle = 1.57 }
WhackSprayDown2 = { minRadius = 75, maxRadius = 200, minAngle = 1.57, maxAngle = 2.62 }
WhackSprayLeft1 = { minRadius = 75, maxRadius = 200, minAngle = 2.09, maxAngle = 3.14 }
WhackSprayLeft2 = { minRadius = 75, maxRadius = 200, minAngle = 3.14, maxAngle = 4.19 }
WhackSprayRight1 = { minRadius = 75, maxRadius = 200, minAngle = -1.05, maxAngle = 0 }
WhackSprayRight2 = { minRadius = 75, maxRadius = 200, minAngle = 0, maxAngle = 1.05 }
