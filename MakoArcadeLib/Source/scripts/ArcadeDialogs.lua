-- Resource tables of the game's dialogs and letters.

-- The in-game menu: options, restart the level, leave the game or go back to it. Every
-- button but "options" closes the menu; the game reads which one was clicked.
Resources.InGameMenuTitleLabel = {
    fgColor = "Black",
    font = { fontName = ConstConfig.BigFont, fontSize = 32 },
    alignment = "MidTop", alignmentOffset = { 0, 25 },
}

local function InGameMenuButton(image, text, x, y, key, extra)
    local button = {
        class = "Button", image = image, text = text,
        font = { fontName = ConstConfig.MainFont, fontSize = 26 },
        alignment = "Center", alignTo = "Center", alignmentOffset = { x, y },
        shortcutKey = key, buttonClosesDialog = true,
    }
    for k, v in pairs(extra or {}) do
        button[k] = v
    end
    return button
end

local menuGap = 20
Resources.InGameMenuDialog = {
    image = "bkgAreYouSureDlg.png",
    children = {
        OptionsButton = InGameMenuButton("Button.png", "options", -70, -25 + menuGap, 111),
        RestartButton = InGameMenuButton("Button.red.png", "restart", 70, -25 + menuGap, 115),
        QuitButton = InGameMenuButton("Button.red.png", "quit", -70, 25 + menuGap, 113),
        ReturnButton = InGameMenuButton("Button.green.png", "resume", 70, 25 + menuGap, 114,
                                        { escapeKey = true, enterKey = true }),
    },
}

-- The artefact letter: the recovered work on the left, its title, artist and story on
-- the right, one "okay" to close it.
local function CardLabel(font, size, offset, extra)
    local label = {
        class = "Label", fgColor = "Black",
        font = { fontName = ConstConfig[font], fontSize = size },
        alignment = "TopLeft", alignTo = "Center", alignmentOffset = offset,
    }
    for k, v in pairs(extra or {}) do
        label[k] = v
    end
    return label
end

Resources.ArtifactDialog = {
    image = "bkgArtifactCard.png",
    children = {
        artifactImage = {
            class = "Artefact", artefact = "artifactScream.jpg", frame = 1, zorder = 1,
            alignment = "Center", alignTo = "Center", alignmentOffset = { -125, 5 },
            constrainWidth = 220,
        },
        artifactTitle = CardLabel("MainFont", 22, { 0, -140 },
                                  { text = "title", textAlignment = "Center", alignment = "Center" }),
        artifactBy = CardLabel("CleanFont", 18, { 0, -105 }, { text = "By:", textAlignment = "Left" }),
        artifactArtist = CardLabel("CleanFont", 18, { 0, -85 },
                                   { text = " ", wrapLimit = 24, textAlignment = "Left" }),
        artifactDescription = CardLabel("CleanFont", 16, { 0, -50 },
                                        { text = " ", wrapLimit = 26, textAlignment = "Left" }),
        OkayButton = {
            class = "Button", image = "Button.png", text = "okay",
            font = { fontName = ConstConfig.MainFont, fontSize = 26 },
            alignment = "MidBottom", alignTo = "MidBottom", alignmentOffset = { 0, -30 },
            shortcutKey = 111, enterKey = true, escapeKey = true, buttonClosesDialog = true,
        },
    },
}

-- The settings page and the credits share the plain plate; their controls are built in
-- code.
Resources.OptionsDialog = { image = "bkgOptionsDlg.png" }
Resources.CreditsDialog = { image = "bkgOptionsDlg.png" }
