-- Resources that levels share until they carry their own: named paddle and ball starts.
-- A level's start names one as its `resource` and inherits its keys (flattenObject).

-- The usual paddle at the bottom, moving sideways with its face up.
Resources.BottomPaddleStart = { position = { 288, 416 }, vertical = false, facePositive = false }
-- Side paddles moving up and down, facing into the field.
Resources.LeftPaddleStart = { position = { 40, 200 }, vertical = true, facePositive = true }
Resources.RightPaddleStart = { position = { 584, 200 }, vertical = true, facePositive = false }
-- A free ball dropping from the middle of the field, and from its left and right thirds.
Resources.CentreBallStart = { position = { 304, 200 }, velocity = { 0, 120 } }
Resources.LeftBallStart = { position = { 200, 200 }, velocity = { 0, 120 } }
Resources.RightBallStart = { position = { 408, 200 }, velocity = { 0, 120 } }
