-- Resource tables of the balls and their trails.

-- The speed limits every ball of a level shares, in pixels per second. A level table may
-- override each of them; the player's skill may rewrite some before a level is built.
defaultInitialBallSpeed = 165
defaultMinBallSpeed = 130
defaultMaxBallSpeed = 1200
defaultMaxBallOrdinarySpeed = 600
defaultAddSpeedOnBrickDestruction = 0
defaultAddSpeedOnGooberDestruction = 0
defaultAddSpeedOnLevelUp = 40
defaultAddSpeedPerTick = 0.07
defaultAddSpeedOnSpring = 20
defaultSpeedPerEnergy = 40
defaultExtraSpeedUpwards = 0
defaultRubberSpeed = 4
defaultRubberEnergy = 2
defaultGlueSpeed = 8

