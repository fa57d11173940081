-- Cherry trees in blossom along the river, hung with raindrops of glass: a ball breaks
-- glass at a touch and flies on through it.
Levels.Cherries = {
    fullName = "Cherry Blossom Rain",
    fromText = "The Park Gardener",
    noteText = "Spring rain has frozen on the cherry trees into drops of glass. Glass breaks " ..
               "at a touch and the ball sails straight through, so it can clear a whole " ..
               "row in one flight.",
    music = "Capital.mid",
    backgroundName = "bkgLevelWashington.jpg",
    timeBonusAt = 3,
    bricks = {
        "",
        ",P,P,P$,P,,,,P,P,P,,,,P,P$,P,P",
        "P,P,L,P,P,P,,P,P,L,P,P,,P,P,P,L,P,P",
        "P,L,P,Ps,P,L,,P?,L,P*,L,P,,L,P,P,P,L,P",
        ",P,P,L,P,,,,P,P,P,,,,P,L,P,P",
        ",,K,K,,,,,,K,,,,,,K,K",
        ",,K,K,,L,,L,,K,,L,,L,,K,K",
        "L,L,L,L$,L,L,L,L,L,L,L,L,L,L,L,L$,L,L,L",
        "",
        "G,G,G$,G,G,G,G,G,G,G+,G,G,G,G,G,G,G$,G,G",
    },
}
