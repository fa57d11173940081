-- The combos the combo meter pays for unless a level gives its own list (the meter's
-- property "combos"). Each combo: comboType "Colors", "Powerups" or "Custom";
-- numberRequired distinct items, each within timeLimit / numberRequired seconds of the
-- last; requirements (optional: any item counts), inOrder, mustDestroy, property (Custom),
-- repetitions (absent: without limit), rewardScore and rewardText.
defaultCombos = {
    {
        comboType = "Powerups",
        numberRequired = 3,
        requirements = { "BlingCoin", "BlingEmerald", "BlingRuby", "BlingDiamond" },
        timeLimit = 2.0,
        rewardScore = 250,
        repetitions = 2,
        rewardText = "Triple Loot Trick! $250!",
    },
}
