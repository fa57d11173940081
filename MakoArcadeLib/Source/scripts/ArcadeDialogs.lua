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

-- The artefact letter: the heading "Recovered!" along the top, the work's title under it
-- across the card, the recovered work on the left, its artist and story on the right, one
-- "okay" to close it. The texts stay inside the card's inset line (14 pixels in from its
-- left and top edges, 22 from its right and bottom ones): the title shrinks to the card's
-- width, the artist and the story wrap to the right half and shrink to their height.
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
        artifactTitle = CardLabel("MainFont", 22, { 0, -110 }, {
            text = "title", textAlignment = "Center", alignment = "Center", widthLimit = 470,
        }),
        artifactBy = CardLabel("CleanFont", 18, { 0, -92 }, { text = "By:", textAlignment = "Left" }),
        artifactArtist = CardLabel("CleanFont", 18, { 0, -72 }, {
            text = " ", wrapWidth = 236, heightLimit = 44, textAlignment = "Left",
        }),
        artifactDescription = CardLabel("CleanFont", 16, { 0, -26 }, {
            text = " ", wrapWidth = 236, heightLimit = 146, textAlignment = "Left",
        }),
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

-- The letters: a sheet of writing paper with a greeting, a note and a signature in a
-- handwriting font, the sender's picture in the upper left corner, and buttons along the
-- bottom edge. The code places the greeting right above the note and the signature right
-- below it, however long the note is. The lines wrap to the ruled part of the paper (the
-- rules end 30 pixels from its right edge); a long note is written smaller so that it
-- stays between the title and the buttons.
local letterRulesRight = 546
local function LetterLine(alignment, offset, heightLimit)
    return {
        class = "Label", fgColor = "Black", textAlignment = "Left",
        wrapWidth = letterRulesRight - 8 - 70, heightLimit = heightLimit,
        font = { fontName = ConstConfig.ScriptFont, fontSize = 20 },
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
        toLabel = LetterLine("MidLeft", { 70, -100 }, 30),
        noteLabel = LetterLine("MidLeft", { 70, 0 }, 190),
        fromLabel = LetterLine("MidRight", { -75, 100 }, 30),
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
        StartButton = LetterButton("Button.green.png", "loading...", 20, "BottomLeft", { 16, -30 },
            { finalText = "start", shortcutKey = 115, enterKey = true, active = false }),
        QuitButton = LetterButton("Button.red.png", "back", 20, "BottomRight", { -16, -30 },
            { shortcutKey = 98, escapeKey = true }),
        OkayButton = LetterButton("Button.green.png", "okay", 20, "MidBottom", { 0, -30 },
            { shortcutKey = 111, escapeKey = true, visible = false }),
    }),
}

-- The letter after a lost game: back to the map, or try the level again. The letters'
-- buttons are captioned alike; "try again" is drawn smaller to fit, and "map" with it.
Resources.GameOverDialog = {
    image = "bkgLetter.png",
    children = LetterChildren({
        MapButton = LetterButton("Button.red.png", "map", 20, "BottomRight", { -16, -30 }),
        ReplayButton = LetterButton("Button.green.png", "try again", 20, "BottomLeft", { 16, -30 }),
    }),
}

-- The letters' titles: large handwriting, centred along the top of the sheet.
Resources.LetterTitleLabel = {
    fgColor = "Black",
    font = { fontName = ConstConfig.ScriptFont, fontSize = 32 },
    alignment = "MidTop", alignmentOffset = { 0, 35 },
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
        cardStarsLabel = CardFigure(ConstConfig.CleanFont, 12, "star average", { 55, 79 }, {
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
            alignment = "MidTop", alignTo = "MidBottom", alignmentOffset = { offsets[i], 0 },
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

-- The letter that closes a won level: a row per bonus (caption, star, the play's result),
-- the level's score, the best score so far, five award stars and three buttons that each
-- close the letter. The game fills in the texts and lights the stars. Everything is
-- written on the letter paper's rules (24 pixels apart from row 104 down, the paper's
-- metadata names them): the letter sets the foot of each text on the rule it is placed
-- nearest to, and a star stands between two rules, above the rule its row is written on.
do
    local function rule(n) -- the row of the paper's rule n, from the letter's centre
        return 104 + 24 * n - 216
    end
    local captionSize = 18 -- every caption of the letter
    local function label(text, fontName, fontSize, alignment, alignTo, offset, extra)
        local t = {
            class = "Label", text = text, fgColor = "Black",
            font = { fontName = fontName, fontSize = fontSize },
            alignment = alignment, alignTo = alignTo, alignmentOffset = offset,
        }
        for key, value in pairs(extra or {}) do
            t[key] = value
        end
        return t
    end
    local function star(alignment, offset)
        return {
            class = "Actor", image = "star.png", frame = 1,
            alignment = alignment, alignTo = alignment, alignmentOffset = offset,
        }
    end
    local function button(image, text, key, alignment, offset, extra)
        local t = {
            class = "Button", image = image, text = text, shortcutKey = key,
            font = { fontName = ConstConfig.MainFont, fontSize = 26 },
            alignment = alignment, alignTo = "MidBottom", alignmentOffset = offset,
            buttonClosesDialog = true,
        }
        for k, value in pairs(extra or {}) do
            t[k] = value
        end
        return t
    end

    local children = {
        missionLabel = label("Mission Name Complete", ConstConfig.CleanFont, 24, "MidTop", "MidTop",
            { 0, 90 }, { visible = false }),
        -- The amount in dark blue ink on the first rule: a light colour would not read on the
        -- cream paper, and a taller figure would be struck through by the rule above.
        scoreLabel = label("$1000", ConstConfig.BigFont, 28, "MidBottom", "Center",
            { 0, rule(0) + 6 }, { fgColor = "DarkGrayBlue", shadowColor = "Black", visible = false }),
        lastScoreLabel = label("$1000", ConstConfig.BigFont, 28, "MidBottom", "Center",
            { 0, rule(0) + 6 }, { fgColor = "DarkGrayBlue", alpha = 128, visible = false }),
        -- The message line between the rows and the best scores: "New Record!" when the
        -- tally ends with one.
        -- Its lines are centred between the red margin line (60 pixels in) and 20 pixels short
        -- of the paper's right edge (EndLevelBonusDialog::GetMessageWidth).
        messageLabel = label(" ", ConstConfig.BigFont, 17, "MidBottom", "Center", { 20, rule(6) + 4 },
            { fgColor = "DarkRed", visible = false }),
        -- The reason of a warning too long for the message line, on the rule below it: the
        -- best scores and the award stars then move down a rule (the paper has one free).
        messageReasonLabel = label(" ", ConstConfig.BigFont, 17, "MidBottom", "Center",
            { 20, rule(7) + 4 }, { fgColor = "DarkRed", visible = false }),
        topScoreLabel = label("Top Loot:", ConstConfig.BigFont, captionSize, "MidBottom", "Center",
            { -100, rule(7) + 5 }),
        topScoreValue = label("$0", ConstConfig.BigFont, 24, "MidBottom", "Center",
            { -100, rule(8) + 6 }),
        awardLabel = label("Top Stars:", ConstConfig.BigFont, captionSize, "MidBottom", "Center",
            { 100, rule(7) + 5 }),
        QuitButton = button("Button.red.png", "map", 113, "BottomRight", { -80, -30 },
            { escapeKey = true }),
        ReplayButton = button("Button.yellow.png", "replay", 114, "MidBottom", { 0, -30 }),
        NextButton = button("Button.green.png", "next", 110, "BottomLeft", { 80, -30 },
            { enterKey = true }),
    }
    -- The rows, one rule each: ball, time, loot, secret, score needed. The captions share one
    -- size, at which the longest ("100% Loot Caught:", "03:15 Time Bonus:") ends at 262 and
    -- keeps right of the paper's red margin line (at 60).
    local rows = {
        { "ball", "Ball", " ", 1 }, { "time", "Time", " ", 2 },
        { "loot", "Loot", "100% Loot Caught:", 3 }, { "secret", "Secret", "Secret Found:", 4 },
        { "scoreNeeded", "Score", " ", 5, "score" },
    }
    for _, row in ipairs(rows) do
        local y = rule(row[4])
        children[row[1] .. "Label"] = label(row[3], ConstConfig.BigFont, captionSize, "BottomRight",
            "MidLeft", { 262, y + 5 }, { widthLimit = 262 - 66 })
        children["actor" .. row[2] .. "Star"] = star("Center", { 0, y - 12 })
        children[(row[5] or row[1]) .. "LabelMessage"] = label(" ", ConstConfig.CleanFont, 20,
            "BottomLeft", "MidRight", { -262, y + 5 })
    end
    for i = 1, 5 do
        children["actorStar" .. i] = star("Center", { 25 + 25 * i, rule(9) - 12 })
    end

    Resources.EndLevelBonusDialog = {
        title = "Mission Complete",
        image = "bkgLetter.png",
        children = children,
    }
end

-- The developer test screen's resources: a brick, labels and emitters for its key tests,
-- and the table its instantiation test builds. Names another area already made are kept.
Resources.TestBrick = Resources.TestBrick or { resource = "RedBrick" }
Resources.FallingGoldBrick = Resources.FallingGoldBrick or { class = "Actor", color = "Yellow", size = { 32, 16 } }
Resources.TestLabel = Resources.TestLabel or {
    text = "Test Label", fgColor = "White",
    font = { fontName = ConstConfig.MainFont, fontSize = 24 },
}
Resources.TestButtonLabel = Resources.TestButtonLabel or {
    text = "Test", fgColor = "Black",
    font = { fontName = ConstConfig.MainFont, fontSize = 20 },
}
Resources.BombSparkEmitter = Resources.BombSparkEmitter or { resource = "ExplosionParticleEmitter" }
Resources.TestEmitter2 = Resources.TestEmitter2 or { resource = "ExplosionParticleEmitter" }
