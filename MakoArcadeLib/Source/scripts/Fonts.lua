-- The fonts the game's labels use.

-- Flying texts: scores and bonus names that pop out of the play field, bold gold on a
-- dark shadow so they read over bricks of any colour.
Resources.FlyingScoreFont = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 14 },
    fgColor = "Gold",
    shadowColor = "Black",
}

-- The marquee: one line of white text on a dark shadow along the bottom of the play area,
-- centred between the level's title (16 .. 151) and its land (from 500): a longer text is
-- drawn smaller to keep clear of both.
Resources.MarqueeLabel = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 16 },
    fgColor = "White",
    shadowColor = "Black",
    widthLimit = 320,
}

-- The heads-up labels of a game: loot, balls left and the clock along the top edge, the
-- level's title and its land in the bottom corners beside the marquee. The clock ends
-- short of the window buttons (from 577) that full screen shows over a paused game.
local function HudLabel(x, y, size, color, widthLimit)
    return {
        font = { fontName = ConstConfig.BumperluxFont, fontSize = size },
        fgColor = color,
        shadowColor = "Black",
        position = { x, y },
        widthLimit = widthLimit or 0,
    }
end
Resources.ScoreLabel = HudLabel(340, 4, 16, "Gold")
Resources.BallsLabel = HudLabel(490, 4, 16, "White", 30)
Resources.TimeLabel = HudLabel(524, 4, 16, "White")
Resources.GameLevelLabel = HudLabel(16, 458, 14, "White", 135)
Resources.GameEpisodeLabel = HudLabel(500, 458, 14, "White", 120)
