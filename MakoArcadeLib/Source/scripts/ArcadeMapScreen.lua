-- Layout of the adventure map screen: the voyage map on the left, the episode's levels and
-- the level's notepad on the right, the play and navigation buttons below the map. The
-- pins and routes are made by the screen from EpisodeNames and PinLocations with the
-- templates MapPinButton, MapPushpin and MapRouteDot.

local ink = { 58, 40, 26 }       -- notepad handwriting
local parchment = { 250, 236, 200 }

local function MapFont(size, name)
    return { fontName = name or ConstConfig.ButtonFont, fontSize = size }
end

-- A push button of the bottom rows.
local function MapButton(image, text, x, y, key, size, extra)
    local button = {
        class = "Button", image = image, text = text, position = { x, y },
        font = MapFont(size or 20), textColor = "White",
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

-- One entry of a level list: the level's full name on a plaque; the first text background
-- marks the selected level, the second the newest level not yet played.
local function LevelButton(y)
    return {
        class = "Button", image = "btnMapLevel.png", position = { 0, y },
        font = MapFont(16), textColor = "White",
        textBackground1 = "objMapLevelSelected.png",
        textBackground2 = "objMapLevelNewest.png",
        clickSound = "click2.ogg",
    }
end

local function LevelList(count, spacing)
    local children = {}
    for i = 1, count do
        children["buttonLevel" .. i] = LevelButton((i - 1) * spacing)
    end
    return { class = "Actor", position = { 444, 64 }, size = { 184, count * spacing }, zorder = 4,
             children = children }
end

local function NoteLabel(x, y, text, extra)
    local label = {
        class = "Label", text = text or " ", position = { x, y },
        font = MapFont(13, ConstConfig.CleanFont), fgColor = ink,
    }
    for k, v in pairs(extra or {}) do
        label[k] = v
    end
    return label
end

-- The notepad's rules, as its picture's metadata names them: the first under the title,
-- one every 19 pixels, the last under the secret's row; the big stars stand below them.
-- Each row is written on a rule (the screen sets the foot of each text on its rule); a
-- small star stands on its row's rule.
local function NoteRule(n)
    return 56 + 19 * n
end

-- The bonus-target rows of the notepad: a text and the category's star at the right.
local function TargetRow(children, labelName, starName, rule)
    children[labelName] = NoteLabel(18, rule - 12, " ", { widthLimit = 140 })
    children[starName] = { class = "Actor", image = "objMapStarSmall.png",
                           position = { 158, rule - 14 }, frame = 1 }
end

-- The notepad of the selected level, the same on the map and in the lab: its title, the
-- player's best loot there, the four bonus-target rows with their stars, the secret's row
-- and the five stars earned.
local function Notepad()
    local children = {
        labelLevelName = NoteLabel(0, 30, " ", {
            font = MapFont(16, ConstConfig.MainFontMedium), widthLimit = 160,
        }),
        labelScoreText = NoteLabel(18, NoteRule(1) - 12, "Best Loot:"),
        labelScoreValue = NoteLabel(96, NoteRule(1) - 12, "0", {
            font = MapFont(13, ConstConfig.ScoreFont),
        }),
        secretLabel = NoteLabel(18, NoteRule(6) - 12, "Secret Find:"),
    }
    TargetRow(children, "scoreNeededLabel", "actorScoreStar", NoteRule(2))
    TargetRow(children, "ballLabel", "actorBallStar", NoteRule(3))
    TargetRow(children, "timeLabel", "actorTimeStar", NoteRule(4))
    TargetRow(children, "lootLabel", "actorLootStar", NoteRule(5))
    children.actorSecretStar = { class = "Actor", image = "objMapStarSmall.png",
                                 position = { 158, NoteRule(6) - 14 }, frame = 1 }
    for i = 1, 5 do
        children["actorStar" .. i] = { class = "Actor", image = "objMapStar.png",
                                       position = { 22 + (i - 1) * 30, NoteRule(6) + 8 },
                                       frame = 1 }
    end
    return { class = "Actor", image = "objMapNotepad.png", zorder = 4, children = children }
end
Resources.LevelNotepad = Notepad()

Resources.ArcadeMapScreen = {
    children = {
        objMap = { class = "Actor", image = "objMapWorld.png", position = { 8, 8 }, zorder = 1 },

        -- The episode's name between its arrows. The right column starts below the window
        -- buttons that full screen shows in the top right corner (down to y 23).
        objEpisodePlate = {
            class = "Actor", image = "objMapEpisodePlate.png", position = { 440, 26 }, zorder = 4,
            children = {
                labelEpisodeName = {
                    class = "Label", text = " ", position = { 0, 7 }, font = MapFont(18),
                    fgColor = parchment, shadowColor = "Black", widthLimit = 120,
                },
            },
        },
        EpisodeLeftButton = ArrowButton("Left", 440, 26),
        EpisodeRightButton = ArrowButton("Right", 602, 26),

        LevelListView5 = LevelList(5, 36),
        LevelListView6 = LevelList(6, 32),

        objNotepad = { resource = "LevelNotepad", position = { 442, 258 } },

        LevelLeftButton = ArrowButton("Left", 150, 387, 276),
        PlayButton = MapButton("Button.green.png", "play", 188, 380, string.byte("p"), 28,
                               { enterKey = true }),
        LevelRightButton = ArrowButton("Right", 324, 387, 275),
        MenuButton = MapButton("Button.small.png", "menu", 20, 434, string.byte("m")),
        FindsButton = MapButton("Button.small.png", "finds", 128, 434, string.byte("f")),
        OptionsButton = MapButton("Button.small.png", "options", 236, 434, string.byte("o")),
        HelpButton = MapButton("btnBlankSmall.png", "?", 352, 436, string.byte("h"), 20),
    },
}

-- An episode's pin: a name tag hanging under a pushpin. The first text background marks
-- the selected episode, the second the newest one reached.
Resources.MapPinButton = {
    class = "Button", image = "btnMapTag.png", zorder = 3,
    font = MapFont(12), textColor = ink,
    textBackground1 = "objMapTagSelected.png",
    textBackground2 = "objMapTagNewest.png",
    clickSound = "click2.ogg",
}

-- The pin's head: frame 0 the newest episode, 1 the selected one, 2 any other. Its point
-- is the middle of its lower edge.
Resources.MapPushpin = { class = "Actor", image = "objMapPushpin.png", position = { 38, -22 },
                         frame = 2 }

-- One dot of the route between two stops.
Resources.MapRouteDot = { class = "Actor", image = "objMapRouteDot.png" }
