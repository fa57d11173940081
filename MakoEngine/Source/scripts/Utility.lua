-- Small helpers every engine and game script may rely on. Loaded first, before the
-- configuration constants and the player scripts.

-- A shallow copy of a table (nil for nil).
function CopyTable(t)
    if t == nil then return nil end
    local copy = {}
    for k, v in pairs(t) do copy[k] = v end
    return copy
end

-- A copy of a table and of every table inside it; shared tables are copied once.
function DeepCopyTable(t, seen)
    if type(t) ~= "table" then return t end
    seen = seen or {}
    if seen[t] then return seen[t] end
    local copy = {}
    seen[t] = copy
    for k, v in pairs(t) do copy[DeepCopyTable(k, seen)] = DeepCopyTable(v, seen) end
    return setmetatable(copy, getmetatable(t))
end

-- Copies every field of src into dest (dest's own fields of the same keys are replaced).
function MergeTables(dest, src)
    for k, v in pairs(src or {}) do dest[k] = v end
    return dest
end

-- value held to [low, high].
function Clamp(value, low, high)
    if value < low then return low end
    if value > high then return high end
    return value
end

-- The number of entries of any table (the # operator counts only the list part).
function CountEntries(t)
    local n = 0
    for _ in pairs(t or {}) do n = n + 1 end
    return n
end
