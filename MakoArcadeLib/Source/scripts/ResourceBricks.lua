-- Brick resources: the bricks that levels name, and the traits, sizes and strengths that
-- levels combine on them ({resources = {"StoneBrick", "Strength3", "SteelTop"}}). Later
-- entries of a brick's resources override earlier ones.

-- ---- Looks ------------------------------------------------------------------------------
Resources.ColorStandard = { variant = { "1", "2", "6" }, colorVariance = 8, brightnessVariance = 48 }
Resources.Grouty = { groutEdges = 15, groutColor = { 40, 30, 24, 170 } }
Resources.SharpBevel = { bevelVariant = "Sharp" }
Resources.NoBevel = { bevelVariant = "NoBevel" }
Resources.NoCracks = { crackVariant = "NoCrack" }
Resources.NoRotateTexture = { noRotateTexture = true }
Resources.ShowScore = { showScore = true }
Resources.NoFlash = { noFlash = true }

-- ---- Sizes ------------------------------------------------------------------------------
Resources.HalfBrick = { brickSize = "Half" }
Resources.NormalBrick = { brickSize = "Normal" }
Resources.DoubleBrick = { brickSize = "Double" }
Resources.TripleBrick = { brickSize = "Triple" }
for _, s in ipairs({ { 8, 0.5 }, { 16, 1.0 }, { 24, 1.5 }, { 32, 2.0 }, { 48, 3.0 }, { 64, 4.0 }, { 96, 6.0 } }) do
    Resources["Size" .. s[1]] = { polyScale = s[2] }
end
Resources.PreferLowRes = { preferredResolution = 64 }
Resources.PreferHighRes = { preferredResolution = 96 }

-- ---- Strength, damage and score -----------------------------------------------------------
for n = 1, 10 do
    Resources["Strength" .. n] = { strength = n }
end
Resources.Indestructible = { strength = -1 }
Resources.InvisibleBrick = { invisible = true }
Resources.HiddenBrick = { invisible = true, strength = -2 }
Resources.RequireSmash = { damageThreshold = 2 }
Resources.NoScaleStrength = { noScaleStrength = true }
Resources.Necessary = { necessary = true }
Resources.MustUncover = { mustUncover = true }
for _, n in ipairs({ 5, 10, 25, 50, 100, 250, 500, 1000 }) do
    Resources["Score" .. n] = { score = n }
end
Resources.DestroyedByPaddle = { takeDamageOnCollision = { "Paddle" }, blockPaddle = true }
Resources.BlockPaddle = { blockPaddle = true }
Resources.PassBalls = { noBlockBall = true }
Resources.LightningProof = { lightningProof = true }
Resources.BombProof = { bombProof = true }

-- ---- Edges --------------------------------------------------------------------------------
local sides = {
    Top = { top = true },
    Bottom = { bottom = true },
    Left = { left = true },
    Right = { right = true },
    Sides = { left = true, right = true },
    All = 15,
}
for side, mask in pairs(sides) do
    Resources["Steel" .. side] = { steelEdges = mask }
    Resources["Weak" .. side] = { weakEdges = mask }
    Resources["Spring" .. side] = { springEdges = mask }
    Resources["Energy" .. side] = { energyEdges = mask, addEnergy = 2 }
    Resources["ScoreOn" .. side] = { scoreOnEdges = mask }
end
Resources.Bumper = { addEnergy = 4 }

-- ---- Traits -------------------------------------------------------------------------------
Resources.BallEater = { ballEater = true, strength = -1 }
for p = 1, 5 do
    Resources["Explosive" .. p] = { explosivePower = p }
    Resources["Lightning" .. p] = { explosivePower = p, explodeAsLightning = true }
end
Resources.Heals = { heals = 300 }
Resources.HealsFast = { heals = 100 }
Resources.HealsSilently = { heals = 300, healsSilently = true }
Resources.Regenerates = { regenerates = 600 }
-- Each break applies reviveTraits to the brick, so the last life's table ends the chain.
Resources.ReviveOnce = { regenerates = 600, necessary = true,
    reviveTraits = { reviveTraits = { regenerates = 0 } } }
Resources.ReviveTwice = { regenerates = 600, necessary = true,
    reviveTraits = { reviveTraits = { reviveTraits = { regenerates = 0 } } } }
Resources.ReviveThrice = { regenerates = 600, necessary = true,
    reviveTraits = { reviveTraits = { reviveTraits = { reviveTraits = { regenerates = 0 } } } } }
Resources.ReviveAlways = { regenerates = 600, necessary = false }
Resources.Phasing = { phases = { x = 150, y = 150 } }
Resources.PhasingFast = { phases = { 75, 75 } }
Resources.PhaseToInvisible = { phases = { x = 150, y = 150 }, phaseToInvisible = true }
Resources.WeakStart = { phaseStrong = false, phaseProgress = 0, stageProgress = 0 }
Resources.WeakEnd = { phaseStrong = false, phaseProgress = 0, stageProgress = 140 }
Resources.StrongStart = { phaseStrong = true, phaseProgress = 0, stageProgress = 0 }
Resources.StrongEnd = { phaseStrong = true, phaseProgress = 0, stageProgress = 140 }
Resources.HalfWeak = { phaseStrong = false, phaseProgress = 0, stageProgress = 75 }
Resources.HalfStrong = { phaseStrong = true, phaseProgress = 0, stageProgress = 75 }
Resources.Key = { key = true, icons = { "Icon.Key.png" } }
Resources.BombMarker = { icons = { "BombIcon.png" } }
Resources.UpArrow = { icons = { "Icon.UpArrow.png" } }
Resources.NoRotateIcons = { noRotateIcons = true }

-- ---- Ball hoppers, carriers and trapped balls ----------------------------------------------
Resources.BallHopper = { ballHopperSize = 1, groupID = 1 }
Resources.DoubleBallHopper = { ballHopperSize = 2, groupID = 1 }
Resources.TripleBallHopper = { ballHopperSize = 3, groupID = 1 }
for n = 2, 4 do
    Resources["HopperRequire" .. n] = { ballHopperRequirement = n }
end
Resources.HopperLaunchUp = { launchAngle = 0 }
Resources.HopperLaunchRight = { launchAngle = 90 }
Resources.HopperLaunchDown = { launchAngle = 180 }
Resources.HopperLaunchLeft = { launchAngle = -90 }
Resources.HopperNoVariance = { ballHopperError = 0 }
Resources.HopperDefaultVariance = { ballHopperError = 10 }
Resources.HopperWideVariance = { ballHopperError = 45 }
for g = 1, 4 do
    Resources["HopperGroup" .. g] = { groupID = g }
end
Resources.ShootInPlace = { ballHopperInPlace = true }
Resources.ShootAtRange = { ballHopperInPlace = false }
Resources.BallCarrier = { ballHopperRequirement = 1, ballHopperSize = 1, releaseBallTimerLength = 3, groupID = 10 }
Resources.BallCarrierFast = { ballHopperRequirement = 1, ballHopperSize = 1, releaseBallTimerLength = 1.75, groupID = 10 }
Resources.BallCarrierFaster = { ballHopperRequirement = 1, ballHopperSize = 1, releaseBallTimerLength = 0.75, groupID = 10 }
Resources.TrappedBall = { trappedBallOnly = { size = 2, activateBall = true, speed = 100 },
    reviveTraits = { trappedBallOnly = { size = 2, activateBall = true, speed = 100 } } }
Resources.TrappedBallShow = { trappedBall = { size = 2, activateBall = true, speed = 100 } }
Resources.TrappedLeadBall = { trappedBall = { size = 2, substance = "Lead", activateBall = true, speed = 100 } }
Resources.TrappedBigLeadBall = { trappedBall = { size = 4, substance = "Lead", activateBall = true, speed = 100 } }
Resources.TrappedBeachBall = { trappedBall = { size = 6, substance = "Air", activateBall = true, speed = 100 } }
Resources.TrappedRubberBall = { trappedBall = { size = 2, substance = "Rubber", activateBall = true, speed = 100 } }

-- ---- Power-ups and loot --------------------------------------------------------------------
Resources.PowerupSplit = { powerups = "Split" }
Resources.PowerupGrow = { powerups = "BigBall" }
Resources.PowerupLaser = { powerups = "Laser" }
Resources.PowerupAnyPositive = { powerups = { "Split", "BigBall", "Laser" }, showAnonymousPowerup = true }
Resources.EndLevelLootDiamond = { powerups = "BlingDiamond", powerupIsLoot = true }
Resources.ExtraLoot = { extraLoot = 1 }

-- ---- Bricks ---------------------------------------------------------------------------------
-- The colour bricks. Every brick a level can be finished by breaking is "necessary";
-- metal (which cannot be broken unless a level gives it a strength), hoppers, carriers,
-- ball eaters (which eat every ball that touches them), springs and ghosts are not.
for _, colour in ipairs({ "Red", "Orange", "Yellow", "Green", "Blue", "Purple" }) do
    brick(colour, { "ColorStandard" })
    bigBrick(colour, { "ColorStandard" }, { strength = 3, score = 10 })
end
brick("Stone", {}, { strength = 2, score = 2 })
bigBrick("Stone", {}, { strength = 6, score = 10 })
Resources.MetalBrick = { class = "Brick", texture = "Steel", score = 0 }
Resources.BigMetalBrick = { class = "Brick", texture = "Steel", brickSize = "Triple", score = 0 }
brick("Brick", { "Grouty" }, { strength = 3, score = 3 })
brick("Gold", {}, { strength = 4, score = 50 })
Resources.GlassBrick = { class = "Brick", necessary = true, texture = "Glass", score = 2 }

-- Materials of the lands.
brick("Ice", {}, { strength = 2, score = 2 })
brick("Snow", {}, { score = 1 })
brick("Wood", {}, { strength = 2, score = 2 })
brick("Crate", { "NoBevel" }, { strength = 4, score = 5 })
brick("JungleWood", {}, { strength = 3, score = 3 })
brick("OldWood", {}, { score = 1 })
brick("Chain", {}, { strength = 5, score = 5 })
brick("Leaf", {}, { bush = true, score = 1 })
brick("Jar", { "NoBevel" }, { strength = 2, score = 5 })
brick("Rubber", { "Bumper" }, { strength = -1, score = 0 })

-- Bricks with traits of their own.
Resources.BallHopperBrick = { class = "Brick", resources = { "BallHopper" }, textureOnly = "Stone", strength = 3 }
Resources.DoubleBallHopperBrick = { class = "Brick", resources = { "DoubleBallHopper" }, textureOnly = "Stone", strength = 3 }
Resources.TripleBallHopperBrick = { class = "Brick", resources = { "TripleBallHopper" }, textureOnly = "Stone", strength = 3 }
Resources.BallCarrierBrick = { class = "Brick", resources = { "BallCarrier", "HopperLaunchUp" }, textureOnly = "Metal", strength = 3 }
Resources.BallCarrierFastBrick = { class = "Brick", resources = { "BallCarrierFast", "HopperLaunchUp" }, textureOnly = "Metal", strength = 3 }
Resources.BallCarrierFasterBrick = { class = "Brick", resources = { "BallCarrierFaster", "HopperLaunchUp" }, textureOnly = "Metal", strength = 3 }
-- A ball eater cannot be broken by balls (it eats them) nor by blasts, so it is not required.
Resources.BallEaterBrick = { class = "Brick", necessary = false, resources = { "ColorStandard", "BallEater" }, textureOnly = "Purple" }
Resources.TNTBrick = { class = "Brick", necessary = true, resources = { "ColorStandard", "Explosive3" }, textureOnly = "Red" }
Resources.LightningBrick = { class = "Brick", necessary = true, resources = { "ColorStandard", "Lightning3" }, textureOnly = "Yellow" }
Resources.KeyBrick = { class = "Brick", necessary = true, resources = { "Key" }, textureOnly = "Gold", score = 100 }
Resources.VineBrick = { class = "Brick", necessary = true, resources = { "Heals" }, textureOnly = "Leaf", strength = 3 }
Resources.TrappedBallBrick = { class = "Brick", necessary = true, resources = { "TrappedBallShow" }, textureOnly = "Glass", glass = true }
Resources.SpringBrick = { class = "Brick", resources = { "SpringAll" }, texture = "Steel" }
Resources.PhaseBrick = { class = "Brick", necessary = true, resources = { "ColorStandard", "Phasing" }, textureOnly = "Blue", strength = 2 }
Resources.GhostBrick = { class = "Brick", resources = { "InvisibleBrick" }, textureOnly = "Stone" }
