-- Resource tables of the power-ups and the loot.
--
-- Each kind's table has its class name. Keys: image; score (points the catch is worth);
-- isLoot (coins, gems, gold: counted as the level's loot); isSecret; powerupCreationSound
-- (sounds played together when it appears); powerupCreationEmitter,
-- powerupCollectedEmitter, powerupTrailEmitter (Particles.lua); collectionColor (the
-- paddle's tint and the colour of the sparks from its ends when it catches one).

-- The pull drawing every power-up towards its wall, in pixels per second squared.
LoadConstConfig({ PowerupGravity = 80 })

-- Speeds (pixels per second) of the sparks from the paddle's ends, and their fall.
PaddleSprayLeft = { x = -500, y = 0 }
PaddleSprayRight = { x = 500, y = 0 }
PaddleSprayUp = { x = 0, y = 100 }
PaddleSprayDown = { x = 0, y = -100 }
PaddleSprayFallUp = { x = 0, y = 0 }
PaddleSprayFallDown = { x = 0, y = 0 }
PaddleSprayFallRight = { x = 0, y = 0 }
PaddleSprayFallLeft = { x = 0, y = 0 }

local function emitters(family)
    return {
        powerupCreationEmitter = family .. "PowerupCreationEmitter",
        powerupCollectedEmitter = family .. "PowerupCollectedEmitter",
        powerupTrailEmitter = family .. "PowerupTrailEmitter",
    }
end
local function with(base, extra)
    local t = {}
    for k, v in pairs(base) do t[k] = v end
    for k, v in pairs(extra) do t[k] = v end
    return t
end

-- ---- Families ---------------------------------------------------------------------------------
Resources.StandardPowerup = { powerupCreationSound = { "cash-heal.ogg" } }
Resources.GoodPowerup = with(emitters("Good"), {
    resource = "StandardPowerup", powerupCreationSound = { "powerupCreationSound.ogg" }, collectionColor = "Blue",
})
Resources.BadPowerup = with(emitters("Bad"), {
    resource = "StandardPowerup", powerupCreationSound = { "powerupCreationSound.ogg" }, collectionColor = "Red",
})
Resources.NeutralPowerup = with(emitters("Neutral"), {
    resource = "StandardPowerup", powerupCreationSound = { "powerupCreationSound.ogg" }, collectionColor = "White",
})

-- ---- Loot -------------------------------------------------------------------------------------
Resources.BlingCoin = with(emitters("Gold"), {
    image = "Bling.Coin.png", powerupCreationSound = { "cash-heal.ogg" }, collectionColor = "Yellow",
    score = 100, isLoot = true,
})
Resources.BlingDiamond = with(emitters("White"), {
    resource = "StandardPowerup", image = "Bling.Diamond.png", collectionColor = "White", score = 1000, isLoot = true,
})
Resources.BlingEmerald = with(emitters("Green"), {
    resource = "StandardPowerup", image = "Bling.Emerald.png", collectionColor = "Green", score = 500, isLoot = true,
})
Resources.BlingRuby = with(emitters("Red"), {
    resource = "StandardPowerup", image = "Bling.Ruby.png", collectionColor = "Red", score = 250, isLoot = true,
})
Resources.GoldBrickPowerup = with(emitters("Gold"), {
    image = "Shape.Rectangle.96.Bevel.0.Sharp.png", powerupCreationSound = {}, collectionColor = "Yellow",
    score = 150, isLoot = true,
})
Resources.Secret = with(emitters("Gold"), {
    image = "Powerup.Secret.png", powerupCreationSound = { "Pickup_GemBells16.ogg", "Heal.ogg" },
    collectionColor = "Yellow", score = 0, isSecret = true,
})

-- ---- Effects ----------------------------------------------------------------------------------
for name, entry in pairs({
    IncreaseShield = { "Powerup.AddShield.png", "GoodPowerup" },
    Breakthru = { "Powerup.Breakthru.png", "GoodPowerup" },
    DecreasePaddlePower = { "Powerup.DecreasePower.png", "BadPowerup" },
    IncreasePaddlePower = { "Powerup.IncreasePower.png", "GoodPowerup" },
    RubberBall = { "Powerup.Rubber.png", "BadPowerup" },
    GlueBall = { "Powerup.Glue.png", "GoodPowerup" },
    HeavyBall = { "Powerup.LeadBall.png", "NeutralPowerup" },
    LightBall = { "Powerup.BeachBall.png", "NeutralPowerup" },
    BigBall = { "Powerup.Large.png", "GoodPowerup" },
    SmallBall = { "Powerup.Small.png", "BadPowerup" },
    Faster = { "Powerup.Fast.png", "BadPowerup" },
    Slower = { "Powerup.Slow.png", "GoodPowerup" },
    Split = { "Powerup.Divide.png", "GoodPowerup" },
    Lightning = { "Powerup.Lightning.png", "GoodPowerup" },
    LetterB = { "MOSSGRAIN.1B.png", "GoodPowerup" },
    LetterR = { "MOSSGRAIN.2R.png", "GoodPowerup" },
    LetterE = { "MOSSGRAIN.3E.png", "GoodPowerup" },
    LetterA = { "MOSSGRAIN.4A.png", "GoodPowerup" },
    LetterK = { "MOSSGRAIN.5K.png", "GoodPowerup" },
    LetterO = { "MOSSGRAIN.6O.png", "GoodPowerup" },
    LetterU = { "MOSSGRAIN.7U.png", "GoodPowerup" },
    LetterT = { "MOSSGRAIN.8T.png", "GoodPowerup" },
    ExpandPaddle = { "PowerUp.EnlargePaddle.png", "GoodPowerup" },
    ContractPaddle = { "Powerup.ContractPaddle.png", "BadPowerup" },
    PaddleCatch = { "Powerup.BallCatcher.png", "GoodPowerup" },
    Laser = { "PowerUp.Laser.png", "GoodPowerup" },
    ExtraBall = { "Powerup.ExtraBall.png", "GoodPowerup" },
    NormalBall = { "Powerup.NormalBall.png", "NeutralPowerup" },
    NormalPaddle = { "Powerup.NormalPaddle.png", "NeutralPowerup" },
}) do
    Resources[name] = { image = entry[1], resource = entry[2] }
end
