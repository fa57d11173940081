-- Layout of the main menu screen. The screen adds the current player's card itself (at
-- 20, 150) and places "CurrentPlayer" above it; "artifact" shows the player's last find
-- (a button opening its dialog) and "artifactName" its title.

local function MenuButton(text, y, key, extra)
    local button = {
        class = "Button", image = "Button.menu.png", text = text, position = { 260, y },
        font = { fontName = ConstConfig.ButtonFont, fontSize = 20 },
        shortcutKey = string.byte(key),
    }
    for k, value in pairs(extra or {}) do
        button[k] = value
    end
    return button
end

Resources.ArcadeMenuScreen = {
    children = {
        CurrentPlayer = {
            class = "Label", text = "Current Player", fgColor = "Gold", shadowColor = "Black",
            font = { fontName = ConstConfig.MainFont, fontSize = 20 },
        },
        PlayButton = MenuButton("play", 124, "p"),
        MapButton = MenuButton("map", 174, "m"),
        LabButton = MenuButton("lab", 224, "l"),
        FindsButton = MenuButton("finds", 274, "f"),
        OptionsButton = MenuButton("options", 324, "o"),
        QuitButton = MenuButton("quit", 374, "q"),
        ChangePlayerButton = MenuButton("change player", 424, "c", { position = { 40, 424 } }),
        HelpButton = MenuButton("help", 424, "h"),
        artifact = {
            class = "Artefact", position = { 470, 130 },
            constrainWidth = 140,
        },
        artifactName = {
            class = "Label", text = "", fgColor = "White", shadowColor = "Black",
            font = { fontName = ConstConfig.MainFont, fontSize = 16 },
            widthLimit = 170, position = { 455, 320 },
        },
    },
}
