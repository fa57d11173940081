-- Resource tables of the game's dialogs and letters.

-- The in-game menu: back to the game, restart the level, or leave the game. Each button
-- closes the menu; the game reads which one was clicked.
local function InGameMenuButton(text, y, extra)
    local button = {
        class = "Button", image = "Button.png", text = text, position = { 80, y },
        font = { fontName = ConstConfig.ButtonFont, fontSize = ConstConfig.ButtonFontSize or 28 },
        buttonClosesDialog = true,
    }
    for key, value in pairs(extra or {}) do
        button[key] = value
    end
    return button
end

Resources.InGameMenuDialog = {
    size = { 320, 280 },
    children = {
        ReturnButton = InGameMenuButton("resume", 40, { escapeKey = true }),
        RestartButton = InGameMenuButton("restart", 120),
        QuitButton = InGameMenuButton("quit", 200),
    },
}
