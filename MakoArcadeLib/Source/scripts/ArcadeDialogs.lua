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
}

-- The letter that closes a won level: a row per bonus (caption, star, the play's result),
-- the level's score, the best score so far, five award stars and three buttons that each
-- close the letter. The game fills in the texts and lights the stars.
do
    local rowsY, awardsY = -28, -16
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
        scoreLabel = label("$1000", ConstConfig.BigFont, 42, "MidTop", "MidTop", { 0, 115 + rowsY },
            { fgColor = "OffWhite", shadowColor = "Black", visible = false }),
        lastScoreLabel = label("$1000", ConstConfig.BigFont, 42, "MidTop", "MidTop",
            { 0, 115 + rowsY }, { fgColor = "OffWhite", alpha = 128, visible = false }),
        topScoreLabel = label("Top Loot:", ConstConfig.BigFont, 22, "MidTop", "MidTop",
            { -100, 300 + awardsY }),
        topScoreValue = label("$0", ConstConfig.BigFont, 28, "MidTop", "MidTop",
            { -100, 325 + awardsY }),
        awardLabel = label("Top Stars:", ConstConfig.BigFont, 22, "MidTop", "MidTop",
            { 100, 300 + awardsY }),
        -- The message line between the rows and the best scores: "New Record!" when the
        -- tally ends with one.
        messageLabel = label(" ", ConstConfig.BigFont, 17, "MidTop", "MidTop", { 0, 279 + awardsY },
            { fgColor = "DarkRed", visible = false }),
        QuitButton = button("Button.red.png", "map", 113, "BottomRight", { -80, -30 },
            { escapeKey = true }),
        ReplayButton = button("Button.yellow.png", "replay", 114, "MidBottom", { 0, -30 }),
        NextButton = button("Button.green.png", "next", 110, "BottomLeft", { 80, -30 },
            { enterKey = true }),
    }
    -- The rows: ball, time, loot, secret, score needed.
    local rows = {
        { "ball", "Ball", " ", -40 }, { "time", "Time", " ", -15 },
        { "loot", "Loot", "100% Loot Caught:", 10 }, { "secret", "Secret", "Secret Found:", 35 },
        { "scoreNeeded", "Score", " ", 60, "score" },
    }
    for _, row in ipairs(rows) do
        local y = row[4] + rowsY
        children[row[1] .. "Label"] = label(row[3], ConstConfig.BigFont, 22, "MidRight", "MidLeft",
            { 250, y })
        children["actor" .. row[2] .. "Star"] = star("Center", { 0, y })
        children[(row[5] or row[1]) .. "LabelMessage"] = label(" ", ConstConfig.CleanFont, 22,
            "MidLeft", "MidRight", { -250, y })
    end
    for i = 1, 5 do
        children["actorStar" .. i] = star("MidTop", { 25 + 25 * i, 325 + awardsY })
    end

    Resources.EndLevelBonusDialog = {
        title = "Mission Complete",
        image = "bkgLetter.png",
        children = children,
    }
end
