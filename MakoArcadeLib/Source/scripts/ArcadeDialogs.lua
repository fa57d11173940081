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

-- The player card's figures (CardView adds them over its background): the loot, the balls
-- and secrets with their icons, and the goal-star average as five stars (frame 0 full,
-- 1 empty, 2 half). All but the stars start hidden; the card shows what it fills in.
local function CardFigure(fontName, fontSize, text, position, extra)
    local label = {
        class = "Label", fgColor = "Black", text = text, zorder = 10, visible = false,
        font = { fontName = fontName, fontSize = fontSize }, position = position,
    }
    for key, value in pairs(extra or {}) do
        label[key] = value
    end
    return label
end

local function CardIcon(image)
    return {
        class = "Actor", image = image, alignment = "MidRight", alignTo = "MidLeft",
        alignmentOffset = { -2, 0 },
    }
end

Resources.CardView = {
    children = {
        cardLootLabel = CardFigure(ConstConfig.MainFont, 22, "100000", { 0, 0 }, {
            alignment = "MidTop", alignTo = "MidTop", alignmentOffset = { 10, 33 },
        }),
        cardBallsLabel = CardFigure(ConstConfig.CleanFont, 20, "0", { 45, 59 }, {
            widthLimit = 40, children = { ballIcon = CardIcon("Ball.None.16.png") },
        }),
        cardSecretsLabel = CardFigure(ConstConfig.CleanFont, 20, "0", { 110, 59 }, {
            widthLimit = 45, children = { secretIcon = CardIcon("Powerup.Secret.16.png") },
        }),
        cardStarsLabel = CardFigure(ConstConfig.CleanFont, 12, "star average", { 55, 83 }, {
            children = {},
        }),
    },
}
do
    local offsets = { -50, -25, 0, 25, 50 }
    local frames = { 0, 0, 1, 1, 1 }
    for i = 1, 5 do
        Resources.CardView.children.cardStarsLabel.children["cardStar" .. i] = {
            class = "Actor", image = "star.png", frame = frames[i], zorder = 10,
            alignment = "MidTop", alignTo = "MidBottom", alignmentOffset = { offsets[i], -7 },
        }
    end
end

-- The sign-in dialog's texts: its title, the prompt over the name box and the line that
-- describes the chosen skill profile.
Resources.EnterNameTitleLabel = {
    fgColor = "Black", font = { fontName = ConstConfig.BigFont, fontSize = 42 },
    alignment = "MidTop", alignTo = "MidTop", alignmentOffset = { 0, 25 },
}
Resources.EnterNameLabel = {
    text = "Enter Name:", fgColor = "Black",
    font = { fontName = ConstConfig.MainFont, fontSize = 28 },
    alignment = "MidTop", alignTo = "MidTop", alignmentOffset = { 0, 95 },
}
Resources.ProfileLabel = {
    fgColor = "Black", font = { fontName = ConstConfig.MainFontLight, fontSize = 18 },
    alignment = "MidBottom", alignTo = "MidBottom", alignmentOffset = { 0, -90 },
}
