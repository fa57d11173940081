-- Paper lanterns strung across the market square for the festival. The yellow ones are
-- charged with storm light and throw lightning at their neighbours when they break.
Levels.Lanterns = {
    fullName = "Festival of Lanterns",
    fromText = "The Lantern Maker",
    noteText = "The festival lanterns hang over the square, and some are filled with storm " ..
               "light. Break a yellow one and its lightning leaps to the bricks around it.",
    music = "Lanterns.mid",
    backgroundName = "bkgLevelChina.jpg",
    timeBonusAt = 4,
    brickLetters = { Z = "LightningBrick" },
    bricks = {
        "",
        "K,K,K$,K,K,K,K,K,K*,K,K,K,K,K,K,K$,K,K,K",
        ",O,,,,O,,,,O,,,,O,,,,O",
        "R,R,R,,R,R$,R,,R,R,R,,R,R$,R,,R,R,R",
        "R,Z,R,,R,Z,R,,R,Z,R,,R,Z,R,,R,Z,R",
        "R,R$,R,,R,R,R,,Rs,R,R,,R,R,R,,R,R$,R",
        ",O,,,,O,,,,O,,,,O,,,,O",
        "",
        ",,,O,,,,O?,,,,O,,,,O",
        ",,P,P,P,,P,P$,P,,P,P,P,,P,P*,P",
        ",,P,Z,P,,P,Z,P,,P,Z,P,,P,Z,P",
        ",,P,P+,P,,P,P,P,,P,P$,P,,P,P,P",
        ",,,O,,,,O,,,,O,,,,O",
        "",
        "S,S,S,S$,S,S,S,S,S,S,S,S,S,S,S$,S,S,S,S",
    },
}
