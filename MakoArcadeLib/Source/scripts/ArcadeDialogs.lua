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

-- The letters: a sheet of writing paper with a greeting, a note and a signature in a
-- handwriting font, the sender's picture in the upper left corner, and buttons along the
-- bottom edge. The code places the greeting right above the note and the signature right
-- below it, however long the note is.
local function LetterLine(alignment, offset, wrap)
    return {
        class = "Label", fgColor = "Black", textAlignment = "Left", wrapLimit = wrap,
        font = { fontName = ConstConfig.ScriptFont, fontSize = 24 },
        alignment = alignment, alignTo = alignment, alignmentOffset = offset,
    }
end

local function LetterButton(image, text, size, alignment, offset, extra)
    local button = {
        class = "Button", image = image, text = text,
        font = { fontName = ConstConfig.MainFont, fontSize = size },
        alignment = alignment, alignTo = "MidBottom", alignmentOffset = offset,
        buttonClosesDialog = true,
    }
    for key, value in pairs(extra or {}) do
        button[key] = value
    end
    return button
end

local function LetterChildren(buttons)
    local children = {
        characterPicture = {
            class = "Actor", image = "Character.Miriel.Frame.png",
            alignment = "Center", alignTo = "TopLeft", alignmentOffset = { 15, 50 },
        },
        toLabel = LetterLine("MidLeft", { 70, -100 }, 50),
        noteLabel = LetterLine("MidLeft", { 70, 0 }, 40),
        fromLabel = LetterLine("MidRight", { -75, 100 }, 50),
    }
    for name, button in pairs(buttons) do
        children[name] = button
    end
    return children
end

-- The letter before a level, which is also the tip letter: "start" becomes usable when
-- the level is ready ('s' or Return), "back" (b or Escape) leaves; a tip shows "okay" only.
Resources.StartLevelDialog = {
    image = "bkgLetter.png",
    children = LetterChildren({
        StartButton = LetterButton("Button.green.png", "loading...", 26, "BottomLeft", { 16, -30 },
            { finalText = "start", shortcutKey = 115, enterKey = true, active = false }),
        QuitButton = LetterButton("Button.red.png", "back", 26, "BottomRight", { -16, -30 },
            { shortcutKey = 98, escapeKey = true }),
        OkayButton = LetterButton("Button.green.png", "okay", 26, "MidBottom", { 0, -30 },
            { shortcutKey = 111, escapeKey = true, visible = false }),
    }),
}

-- The letter after a lost game: back to the map, or try the level again.
Resources.GameOverDialog = {
    image = "bkgLetter.png",
    children = LetterChildren({
        MapButton = LetterButton("Button.red.png", "map", 26, "BottomRight", { -16, -30 }),
        ReplayButton = LetterButton("Button.green.png", "try again", 22, "BottomLeft", { 16, -30 }),
    }),
}

-- The letters' titles: large handwriting, centred along the top of the sheet.
Resources.LetterTitleLabel = {
    fgColor = "Black",
    font = { fontName = ConstConfig.ScriptFont, fontSize = 32 },
    alignment = "MidTop", alignmentOffset = { 0, 35 },
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
