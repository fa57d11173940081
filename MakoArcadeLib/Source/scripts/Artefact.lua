-- The works of art the player recovers from the rubble, keyed by their picture's name:
-- each with its title, the artist and the story the artefact letter tells.
Artifacts = {
    ["artifactScream.jpg"] = {
        title = "The Echo in the Cellar",
        artist = "Tamsin Orrovey",
        description = "A figure on a cellar stair calls into the dark, and the dark calls back in " ..
            "ribbons of orange. The old housekeeper had it bricked up: she swore it shouted at night.",
    },
    ["artifactLighthouse.jpg"] = {
        title = "Lantern at the Horn",
        artist = "Captain Ibbot Marle",
        description = "Painted from the deck of a storm-tossed whaler by its captain, who " ..
            "promised the lamp-keeper a portrait if the light held until morning. It did.",
    },
    ["artifactCondor.jpg"] = {
        title = "Condor over the Terraces",
        artist = "Quilla Soncco",
        description = "Two brushstrokes make the bird and a hundred make the mountains. " ..
            "Farmers say that whoever owns it never has a bad harvest.",
    },
    ["artifactCapitol.jpg"] = {
        title = "The Senator's Umbrella",
        artist = "Harlan Pettigrew",
        description = "A rainy afternoon at the great dome. The umbrella in the corner belonged " ..
            "to a senator who left it behind and spent ten years trying to buy it back.",
    },
    ["artifactGeyser.jpg"] = {
        title = "Steam Lace at Dawn",
        artist = "Ragna Thollsdottir",
        description = "She set up her easel beside a geyser every morning for a winter and " ..
            "finished the painting in the forty seconds between two eruptions.",
    },
    ["artifactBaker.jpg"] = {
        title = "The Baker's Daughter Reading",
        artist = "Aurelie Vantongeren",
        description = "Flour on the table, a letter in her hands and the morning loaf " ..
            "forgotten in the oven. Art students still argue about who wrote the letter.",
    },
    ["artifactScarab.jpg"] = {
        title = "Scarab of the Ninth Hour",
        artist = "The Workshop of Nebet-Ankh",
        description = "A golden sun disc carried by a green beetle, painted on cedar for a " ..
            "tomb that was never finished. It rolls the sun across the sky, one brick at a time.",
    },
    ["artifactLemur.jpg"] = {
        title = "Supper under the Baobab",
        artist = "Hery Rabenandrasana",
        description = "A ring-tailed guest waits politely for the fruit to fall. The painter " ..
            "waited beside it for three days and ate none of the fruit himself.",
    },
    ["artifactSledge.jpg"] = {
        title = "Sledge Bells on the Taiga",
        artist = "Pyotr Ulanko",
        description = "The red sledge, the silver birches and a pale winter sun. You can " ..
            "almost hear the bells, though the paint froze twice while he worked.",
    },
    ["artifactKite.jpg"] = {
        title = "A Hundred Kites over the Wall",
        artist = "Lin Weishan",
        description = "Only four kites made it into the picture; the other ninety-six, the " ..
            "painter said, had flown too high to be seen.",
    },
    ["artifactDevil.jpg"] = {
        title = "The Night the Island Sang",
        artist = "Bramwell Coote",
        description = "A small dark shape on the hill, a large bright moon, and a howl that " ..
            "kept the whole town awake. The painter slept through it and painted it from hearsay.",
    },
}

-- The sparkles at the corners of an artefact the moment it is uncovered.
Resources.SparkleExplosionEmitterBigWhite = {
    class = "IdenticalParticleEmitter",
    emitCount = 1, interval = 0, numParticles = 14,
    particleTemplate = {
        image = "Particle_SmallStar_White.png", lifetime = 600, alpha = 255, destAlpha = 0,
        randomizedVelocity = { minRadius = 40, maxRadius = 140, minAngle = 0, maxAngle = 6.2832 },
    },
}

-- A stone brick over a hidden artefact: it must be broken for the artefact to show, and
-- the level is not won while it stands.
Resources.ArtefactCoverBrick = {
    class = "Brick", textureOnly = "Stone", resources = { "MustUncover" },
    necessary = true, score = 2,
}
