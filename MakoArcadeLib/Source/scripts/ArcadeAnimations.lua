-- Frame animations and motions shared by the game's screens and letters.

-- The captions that announce the end of play (a won level, the last ball lost, the game
-- over): large white text with a black shadow, centred a little above the middle of the
-- field. The last two always show the text the game gives them.
local function caption(text, z)
    return {
        text = text, fgColor = "White", shadowColor = "Black",
        font = { fontName = ConstConfig.BigFont, fontSize = 48 },
        alignment = "Center", alignmentOffset = { 0, -50 }, zorder = z,
    }
end
Resources.LevelCompleteLabel = caption("Mission Complete!")
Resources.AllBallsLostLabel = caption("All Balls Lost!", 9)
Resources.GameOverLabel = caption("Game Over!", 9)
