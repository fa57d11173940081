-- Bricks: the globals the brick reads, the colours of its materials, and the helper
-- functions that declare brick resources.

-- Scales every strength above 1 (the player's skill setting rewrites it before a game).
brickStrengthOverride = 1.0

-- Resolutions (pixels of the larger side) and rotations (degrees) in which brick shape
-- images are drawn; a brick picks the nearest that exists.
BrickResolutions = { 16, 24, 32, 48, 64, 96, 128 }
BrickRotations = { 0, 45, 90, 135, 180, 225, 270, 315 }

-- Colours of the materials that the built-in colour table does not name. A brick's
-- texture name is also its colour name.
Colors {
    Metal = { 150, 158, 170 },
    Ice = { 168, 214, 236 },
    Snow = { 236, 242, 248 },
    Crate = { 176, 124, 62 },
    JungleWood = { 120, 84, 40 },
    OldWood = { 132, 112, 86 },
    Chain = { 112, 116, 124 },
    Leaf = { 76, 150, 56 },
    Jar = { 196, 132, 84 },
    Rubber = { 214, 64, 120 },
    Transparent = { 255, 255, 255 },
    Placeholder = { 255, 0, 255 },
}

-- A brick of a material must be broken to finish the level (it is "necessary"), unless it
-- cannot be broken (a negative strength) or its traits say otherwise.
local function brickEntry(name, resources, traits)
    local entry = { class = "Brick", textureOnly = name, resources = resources or {} }
    for k, v in pairs(traits or {}) do
        entry[k] = v
    end
    if entry.necessary == nil then
        entry.necessary = not (entry.strength and entry.strength < 0)
    end
    return entry
end

-- Declares Resources[name .. "Brick"]: a normal brick of that material (texture and
-- colour), after the named resources, with any further properties given in traits.
function brick(name, resources, traits)
    local entry = brickEntry(name, resources, traits)
    Resources[name .. "Brick"] = entry
    return entry
end

-- As brick, for the big 96 x 48 brick Resources["Big" .. name .. "Brick"].
function bigBrick(name, resources, traits)
    local entry = brickEntry(name, resources, traits)
    entry.brickSize = "Triple"
    Resources["Big" .. name .. "Brick"] = entry
    return entry
end
