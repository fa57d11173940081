-- Small templates shared by the screens: labels, buttons and pictures.

-- The labels of one row of a top-ten list and of its title, made by the top-record views:
-- place, player's name, score and game type.
Resources.TopRecordsTitleLabel = {
    name = "IndexLabel", fgColor = "Green",
    font = { fontName = ConstConfig.CleanFont, fontSize = 16 },
}
Resources.TopScores_IndexLabel = {
    name = "IndexLabel", fgColor = "Yellow", position = { 0, 0 },
    font = { fontName = ConstConfig.CleanFont, fontSize = 14 },
}
Resources.TopScores_PlayerNameLabel = {
    name = "PlayerNameLabel", fgColor = "White", position = { 24, 0 },
    font = { fontName = ConstConfig.MainFontLight, fontSize = 14 },
}
Resources.TopScores_GameScoreLabel = {
    name = "GameScoreLabel", fgColor = "MildPurple", position = { 100, 0 },
    font = { fontName = ConstConfig.MainFontLight, fontSize = 12 },
}
Resources.TopScores_GameTypeLabel = {
    name = "GameTypeLabel", fgColor = "White", position = { 135, 0 },
    font = { fontName = ConstConfig.MainFontLight, fontSize = 12 },
}

-- The big digits of a ball's count-down when play resumes.
Resources.CountDownFont = {
    fgColor = "Yellow",
    font = { fontName = BigFont, fontSize = 28 },
}
