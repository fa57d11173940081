-- The fonts the game's labels use.

-- Flying texts: scores and bonus names that pop out of the play field, bold gold on a
-- dark shadow so they read over bricks of any colour.
Resources.FlyingScoreFont = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 14 },
    fgColor = "Gold",
    shadowColor = "Black",
}

-- The marquee: one line of white text on a dark shadow along the bottom of the play area.
Resources.MarqueeLabel = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 16 },
    fgColor = "White",
    shadowColor = "Black",
}
