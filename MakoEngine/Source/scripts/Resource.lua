-- Resource trees: how parameter tables and the table resources they name combine.
--
-- A parameter table may name table resources by "resource" (one name) and "resources"
-- (a name or a list of names). Applying the table applies those resources first, so the
-- table inherits every entry of the resources it names and overrides what it sets itself.
-- A table resource is the table Resources[name]; other resources (images) name no keys.
--
-- Everything here walks tables in a fixed order (see orderedKeys), so the result never
-- depends on the order in which Lua happens to keep a table's keys.

-- Ranks of properties that must be applied before others. "resource" and "resources"
-- always come first; keys ranked here follow, lowest rank first; all other keys come
-- last. Subsystems whose properties depend on each other (a shape before its scale)
-- give them ranks here.
PropertyOrder = PropertyOrder or {}

local function compareKeys(a, b)
    local ta, tb = type(a), type(b)
    if ta ~= tb then
        -- numbers before strings before anything else
        local rank = { number = 1, string = 2 }
        return (rank[ta] or 3) < (rank[tb] or 3)
    end
    if ta == "number" or ta == "string" then
        return a < b
    end
    return false
end

-- The keys of t: numbers ascending, then names in byte order, then any other keys in
-- traversal order.
local function orderedKeys(t)
    local numbers, names, others = {}, {}, {}
    for k in pairs(t) do
        local tk = type(k)
        if tk == "number" then
            table.insert(numbers, k)
        elseif tk == "string" then
            table.insert(names, k)
        else
            table.insert(others, k)
        end
    end
    table.sort(numbers, compareKeys)
    table.sort(names, compareKeys)
    local keys = numbers
    for _, k in ipairs(names) do table.insert(keys, k) end
    for _, k in ipairs(others) do table.insert(keys, k) end
    return keys
end

-- The table resource of that name, or nil for a resource of another kind (an image
-- names no keys). An unknown name raises an error naming it.
local function resourceTable(name)
    local resource = nil
    if Resources ~= nil then
        resource = Resources[name]
    end
    if resource == nil then
        error("Could not find resource info with name = " .. tostring(name), 0)
    end
    if type(resource) ~= "table" then
        return nil
    end
    return resource
end

-- The resource names a parameter table builds on, in the order they are applied.
local function resourceNames(t)
    local names = {}
    if t.resource ~= nil then
        table.insert(names, t.resource)
    end
    local list = t.resources
    if type(list) == "table" then
        for _, k in ipairs(orderedKeys(list)) do
            table.insert(names, list[k])
        end
    elseif list ~= nil then
        table.insert(names, list)
    end
    return names
end

-- The resource list an object built from t records (Object::TryToRecordResource): the
-- one "resource" if there is one, else the "resources" name or list.
local function recordedResourceNames(t)
    if t.resource ~= nil then
        return { t.resource }
    end
    if type(t.resources) == "table" then
        local names = {}
        for _, k in ipairs(orderedKeys(t.resources)) do
            table.insert(names, t.resources[k])
        end
        return names
    end
    if t.resources ~= nil then
        return { t.resources }
    end
    return {}
end

local function collectKeys(key, t, results, visiting)
    local className = t.class
    if type(className) == "string" and type(Classes) == "table" then
        local classTable = Classes[className]
        if type(classTable) == "table" and type(classTable.defaults) == "table" then
            local value = classTable.defaults[key]
            if value ~= nil then
                table.insert(results, value)
            end
        end
    end
    for _, name in ipairs(resourceNames(t)) do
        if visiting[name] then
            error("The resource \"" .. tostring(name) .. "\" names itself through its resources.", 0)
        end
        local resource = resourceTable(name)
        if resource ~= nil then
            visiting[name] = true
            collectKeys(key, resource, results, visiting)
            visiting[name] = nil
        end
    end
    local own = t[key]
    if own ~= nil then
        table.insert(results, own)
    end
end

-- Every value of key found in the resource tree of t, least derived first: for each
-- table, its class's defaults, then the trees of the resources it names ("resource",
-- then "resources" in order), then the table's own entry. Returns them as multiple
-- results (none when the key is set nowhere).
function findKeysInResourceTree(key, t)
    local results = {}
    collectKeys(key, t, results, {})
    return unpack(results)
end

-- Applies every entry of t to the object through its proxy: "resource" first, then
-- "resources", then the keys ranked in PropertyOrder, then all others in key order.
function applyPropertiesToObject(object, t)
    if t.resource ~= nil then
        object.resource = t.resource
    end
    if t.resources ~= nil then
        object.resources = t.resources
    end
    local ranked, rest = {}, {}
    for _, k in ipairs(orderedKeys(t)) do
        if k ~= "resource" and k ~= "resources" then
            if PropertyOrder[k] ~= nil then
                table.insert(ranked, k)
            else
                table.insert(rest, k)
            end
        end
    end
    table.sort(ranked, function(a, b)
        if PropertyOrder[a] ~= PropertyOrder[b] then
            return PropertyOrder[a] < PropertyOrder[b]
        end
        return compareKeys(a, b)
    end)
    for _, k in ipairs(ranked) do
        object[k] = t[k]
    end
    for _, k in ipairs(rest) do
        object[k] = t[k]
    end
end

-- Whether the parameter table t can only take effect on a new object rather than by
-- being applied to the existing one: true when t names (itself or through its resource
-- tree) another class than the object's, or when it builds on other resources than the
-- object recorded (the entries the old resources gave the object would stay behind).
function objectPropertiesRequireObjectRecreation(object, t)
    local classes = { findKeysInResourceTree("class", t) }
    local className = classes[#classes]
    if className ~= nil and className ~= object.class then
        return true
    end
    local wanted = recordedResourceNames(t)
    local recorded = object.resources
    if type(recorded) == "string" then
        recorded = { recorded }
    elseif type(recorded) ~= "table" then
        recorded = {}
    end
    local have = {}
    for _, k in ipairs(orderedKeys(recorded)) do
        table.insert(have, recorded[k])
    end
    if #have ~= #wanted then
        return true
    end
    for i = 1, #wanted do
        if have[i] ~= wanted[i] then
            return true
        end
    end
    return false
end
