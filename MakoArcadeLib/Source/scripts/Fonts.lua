-- The fonts the game's labels use.

-- Flying texts: scores and bonus names that pop out of the play field, bold gold on a
-- dark shadow so they read over bricks of any colour.
Resources.FlyingScoreFont = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 14 },
    fgColor = "Gold",
    shadowColor = "Black",
}
