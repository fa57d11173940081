-- Layout of the lab screen: the sticky note with the lab's ten levels and the secrets each
-- needs on the left, the selected level's notepad with its arrows and Play on the right,
-- the navigation buttons below. The plaques, arrows, notepad and stars are the map's.

local ink = { 58, 40, 26 }       -- handwriting on paper

local function LabFont(size, name)
    return { fontName = name or ConstConfig.ButtonFont, fontSize = size }
end

local function LabButton(image, text, x, y, key, size, extra)
    local button = {
        class = "Button", image = image, text = text, position = { x, y },
        font = LabFont(size or 20), textColor = "White",
        shortcutKey = key,
    }
    for k, v in pairs(extra or {}) do
        button[k] = v
    end
    return button
end

local function ArrowButton(direction, x, y, key)
    return {
        class = "Button", image = "btnMapArrow" .. direction .. ".png", position = { x, y },
        shortcutKey = key, clickSound = "click2.ogg", zorder = 5,
    }
end

local function PaperLabel(x, y, text, extra)
    local label = {
        class = "Label", text = text or " ", position = { x, y },
        font = LabFont(13, ConstConfig.CleanFont), fgColor = ink,
    }
    for k, v in pairs(extra or {}) do
        label[k] = v
    end
    return label
end

-- One lab level: its full name on a plaque, the secrets it needs written beside it. The
-- first text background marks the selected level. Keys 1 .. 9 and 0 pick levels 1 .. 10.
local function LevelButton(i)
    return {
        class = "Button", image = "btnMapLevel.png", position = { 12, 48 + (i - 1) * 32 },
        font = LabFont(16), textColor = "White",
        textBackground1 = "objMapLevelSelected.png",
        textBackground2 = "objMapLevelNewest.png",
        clickSound = "click2.ogg",
        shortcutKey = string.byte(tostring(i % 10)),
        children = {
            labelSecretsNeeded = PaperLabel(204, 6, " ", { font = LabFont(16, ConstConfig.CleanFont) }),
        },
    }
end

local function LevelList()
    local children = {
        labelEpisodeName = PaperLabel(0, 10, "The Lab", {
            font = LabFont(20, ConstConfig.MainFontMedium), widthLimit = 200,
        }),
        labelSecretsHeading = PaperLabel(206, 10, "Secrets\nNeeded", {
            font = LabFont(11, ConstConfig.CleanFont),
        }),
        actorSecretIcon = { class = "Actor", image = "Powerup.Secret.16.png",
                            position = { 20, 376 } },
        labelSecretsFound = PaperLabel(42, 375, " ", { font = LabFont(15, ConstConfig.CleanFont) }),
    }
    for i = 1, 10 do
        children["buttonLevel" .. i] = LevelButton(i)
    end
    return { class = "Actor", image = "stickynotebig.png", position = { 16, 12 }, zorder = 4,
             children = children }
end

Resources.ArcadeLabScreen = {
    children = {
        LevelListView10 = LevelList(),
        -- The map's notepad (Resources.LevelNotepad), the best loot written as the map writes it.
        LevelView = { resource = "LevelNotepad", position = { 420, 40 } },

        LevelLeftButton = ArrowButton("Left", 392, 307, 276),
        PlayButton = LabButton("Button.green.png", "play", 430, 300, string.byte("p"), 28,
                               { enterKey = true }),
        LevelRightButton = ArrowButton("Right", 566, 307, 275),

        MenuButton = LabButton("Button.small.png", "menu", 20, 434, string.byte("m")),
        FindsButton = LabButton("Button.small.png", "finds", 128, 434, string.byte("f")),
        MapButton = LabButton("Button.small.png", "map", 236, 434, string.byte("a")),
        OptionsButton = LabButton("Button.small.png", "options", 344, 434, string.byte("o")),
        HelpButton = LabButton("btnBlankSmall.png", "?", 460, 436, string.byte("h"), 20),
    },
}
