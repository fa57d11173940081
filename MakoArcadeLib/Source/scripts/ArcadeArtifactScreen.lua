-- Layout of the screen of recovered artifacts: the heading, three artefacts side by side
-- with their names below (the screen centres each picture on its position and puts the
-- name under it), the arrows that turn the carousel, and the row of navigation buttons.

local function FindsFont(size, name)
    return { fontName = name or ConstConfig.ButtonFont, fontSize = size }
end

local function FindsButton(image, text, x, y, key, size, extra)
    local button = {
        class = "Button", image = image, text = text, position = { x, y },
        font = FindsFont(size or 20), textColor = "White", shortcutKey = key,
    }
    for k, v in pairs(extra or {}) do
        button[k] = v
    end
    return button
end

-- One slot: the position is where the picture's centre stands.
-- The screen makes each slot a button reporting to itself; keys 1, 2 and 3 open the
-- slot's card.
local function Slot(x)
    return { class = "Artefact", position = { x, 200 }, constrainWidth = 180, zorder = 3 }
end

-- A name wraps to the 180 pixels under its picture (the slots stand 200 apart) and is
-- written smaller when it would need more than three lines.
local function SlotName(x)
    return {
        class = "Label", text = " ", position = { x - 60, 300 }, wrapWidth = 180, heightLimit = 66,
        textAlignment = "Center", fgColor = "White", shadowColor = "Black", zorder = 3,
        font = FindsFont(18, ConstConfig.MainFont),
    }
end

Resources.ArcadeArtifactScreen = {
    children = {
        CurrentFinds = {
            class = "Label", text = "Recovered Artifacts", fgColor = "Gold", shadowColor = "Black",
            font = FindsFont(32, ConstConfig.MainFont),
            alignment = "MidTop", alignTo = "MidTop", alignmentOffset = { 0, 24 },
        },
        artifact1 = Slot(120),
        artifact2 = Slot(320),
        artifact3 = Slot(520),
        artifact1Name = SlotName(120),
        artifact2Name = SlotName(320),
        artifact3Name = SlotName(520),

        LeftButton = {
            class = "Button", image = "btnMapArrowLeft.png", position = { 270, 372 },
            shortcutKey = 276, clickSound = "click2.ogg", zorder = 5,
        },
        RightButton = {
            class = "Button", image = "btnMapArrowRight.png", position = { 340, 372 },
            shortcutKey = 275, clickSound = "click2.ogg", zorder = 5,
        },

        MenuButton = FindsButton("Button.small.png", "menu", 20, 434, string.byte("m"), 20,
                                 { escapeKey = true }),
        HelpButton = FindsButton("btnBlankSmall.png", "?", 138, 436, string.byte("h"), 20),
        PlayButton = FindsButton("Button.green.png", "play", 256, 424, string.byte("p"), 28,
                                 { enterKey = true }),
        MapButton = FindsButton("Button.small.png", "map", 402, 434, string.byte("a")),
        FindsButton = FindsButton("Button.small.png", "finds", 516, 434, string.byte("f")),
    },
}
