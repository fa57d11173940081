-- Settings and helper functions of the game controller.

-- The play parameters of each skill. ApplyPlayerSkill copies the row of the current
-- player's skill (its option "player.skill") into the globals that levels, paddles, balls
-- and bricks read when they are built, and ballsLeft into GameOptions.
Skills = {
    kid = {
        paddleSize = 4,
        ballsLeft = 5,
        defaultInitialBallSpeed = 120.0,
        defaultMinBallSpeed = 95.0,
        defaultMaxBallOrdinarySpeed = 350.0,
        brickStrengthOverride = 0.5,
        defaultAddSpeedPerTick = 0.030,
        defaultSpeedPerEnergy = 25.0,
        defaultAnvilStrength = 1,
        defaultScoreBonusAtAdjustment = -2000,
        defaultLootCaughtTargetAdjustment = -10,
        defaultBallUsedTargetAdjustment = 2,
        defaultTimeBonusAtAdjustment = 1.0,
    },
    casual = {
        paddleSize = 3,
        ballsLeft = 4,
        defaultInitialBallSpeed = 150.0,
        defaultMinBallSpeed = 125.0,
        defaultMaxBallOrdinarySpeed = 450.0,
        brickStrengthOverride = 1.0,
        defaultAddSpeedPerTick = 0.060,
        defaultSpeedPerEnergy = 35.0,
        defaultAnvilStrength = 2,
        defaultScoreBonusAtAdjustment = -1000,
        defaultLootCaughtTargetAdjustment = -5,
        defaultBallUsedTargetAdjustment = 0,
        defaultTimeBonusAtAdjustment = 0.25,
    },
    gamer = {
        paddleSize = 3,
        ballsLeft = 3,
        defaultInitialBallSpeed = 180.0,
        defaultMinBallSpeed = 155.0,
        defaultMaxBallOrdinarySpeed = 550.0,
        brickStrengthOverride = 1.25,
        defaultAddSpeedPerTick = 0.075,
        defaultSpeedPerEnergy = 45.0,
        defaultAnvilStrength = 3,
        defaultScoreBonusAtAdjustment = 0,
        defaultLootCaughtTargetAdjustment = 0,
        defaultBallUsedTargetAdjustment = 0,
        defaultTimeBonusAtAdjustment = 0.0,
    },
}

-- The Skills row of a player card's skill (the first current player's without a card);
-- "casual" for a card without a known skill.
local function SkillRowOf(player)
    player = player or (Players and Players.current and Players.current[1])
    local skill = player and player.Options and player.Options["player.skill"]
    return Skills[skill] or Skills.casual
end

-- The anvil strength of the player card's skill: the hits an anvil takes to break.
function GetAnvilStrength(player)
    return SkillRowOf(player).defaultAnvilStrength
end

-- The balls a game starts with at the player card's skill.
function GetBallsLeft(player)
    return SkillRowOf(player).ballsLeft
end
