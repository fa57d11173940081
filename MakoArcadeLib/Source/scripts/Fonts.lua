-- The fonts the game's labels use.

-- Flying texts: scores and bonus names that pop out of the play field, bold gold on a
-- dark shadow so they read over bricks of any colour.
Resources.FlyingScoreFont = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 14 },
    fgColor = "Gold",
    shadowColor = "Black",
}

-- The marquee: one line of white text on a dark shadow along the bottom of the play area,
-- centred between the level's title (24 .. 152) and its land (from 500): a longer text is
-- drawn smaller to keep clear of both.
Resources.MarqueeLabel = {
    font = { fontName = ConstConfig.BumperluxFont, fontSize = 16 },
    fgColor = "White",
    shadowColor = "Black",
    widthLimit = 300,
}

-- The heads-up labels of a game: loot (right of the letter tiles, drawn smaller when it
-- would reach the ball icon), balls left and the clock along the top edge, the
-- level's title and its land in the bottom corners beside the marquee, clear of the side
-- walls (16 px wide). The clock ends well short of the window buttons (from 577) that full
-- screen shows over a paused game. The game lays a smoked strip under each row (see
-- ArcadeGameLogic::CreateHud) so that the texts read over the wood and the lava.
local function HudLabel(x, y, size, color, widthLimit)
    return {
        font = { fontName = ConstConfig.BumperluxFont, fontSize = size },
        fgColor = color,
        shadowColor = "Black",
        position = { x, y },
        widthLimit = widthLimit or 0,
    }
end
Resources.ScoreLabel = HudLabel(340, 4, 16, "Gold", 126)
Resources.BallsLabel = HudLabel(488, 4, 16, "White", 30)
Resources.TimeLabel = HudLabel(522, 4, 16, "White")
Resources.GameLevelLabel = HudLabel(24, 458, 14, "White", 128)
Resources.GameEpisodeLabel = HudLabel(500, 458, 14, "White", 116)
