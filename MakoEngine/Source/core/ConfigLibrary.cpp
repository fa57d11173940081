#include "core/ConfigLibrary.h"

namespace {

// Promises of the library:
// - Script reads through Config give the user value when there is one (false included),
//   else the constant.
// - Assigning a constant key through Config raises "Cannot overwrite a const config
//   variable" and changes nothing. LoadConfig instead skips such a key with a warning, so
//   one stray key never stops a file from loading; it also keeps the current value, with a
//   warning, when a loaded value is of another type than the value it would replace (so a
//   user file cannot turn the default of log_level or full_screen into text). A value that
//   is or holds a number that is not finite (an overflow to infinity, 0/0) is refused the
//   same way: no setting of the program means anything with it. So is the key
//   Do_Not_Serialize, with which the writer would leave all the user's values out (and
//   write a file that does not read back). So is a value the file writer could not write
//   (a table that holds itself, nesting too deep, tables shared so often that the text
//   would not end): the configuration must always be written back.
// - LoadConstConfig drops, with a warning, user values of keys that become constant, so
//   they are neither read nor written back. The user's file is read before the constant
//   file, so this is where a constant key in it is found; without it the user value would
//   shadow the constant for scripts while native code read the constant.
// - Every assignment through Config signals the observers of its key.
// Warnings name the file being read when Config:ReadFile set Config_CurrentSource.
const char kLibrary[] = R"lua(
local function Config_Warn(text)
    local source = Config_CurrentSource
    if source ~= nil then
        text = text .. ' (in "' .. tostring(source) .. '")'
    end
    if logprint ~= nil then
        logprint("Warning: " .. text)
    end
end

local function Config_KeyText(key)
    return '"' .. tostring(key) .. '"'
end

-- The first number in value (a number, or a table searched through, each table once) that
-- is infinite or not a number; nil when there is none.
local function Config_NonFinite(value, seen)
    if type(value) == "number" then
        if value ~= value or value - value ~= 0 then
            return value
        end
    elseif type(value) == "table" then
        seen = seen or {}
        if seen[value] then
            return nil
        end
        seen[value] = true
        for key, item in pairs(value) do
            local found = Config_NonFinite(key, seen) or Config_NonFinite(item, seen)
            if found ~= nil then
                return found
            end
        end
    end
    return nil
end

function InitTables()
    assert(ConstConfig == nil)
    assert(Config == nil)
    assert(Config_Data == nil)
    assert(Config_Metadata == nil)
    ConstConfig = {}
    Config = {}
    Config_Data = {}
    Config_GlobalObservers = {}
    Config_Metadata = {}
    setmetatable(Config, { __index = Config_OnIndex, __newindex = Config_OnNewIndex })
end

function Config_OnIndex(table, key)
    local value = Config_Data[key]
    if value == nil then
        value = ConstConfig[key]
    end
    return value
end

function Config_OnNewIndex(table, key, value)
    if ConstConfig[key] ~= nil then
        error("Cannot overwrite a const config variable", 2)
    end
    rawset(Config_Data, key, value)
    local record = Config_Metadata[key]
    if record ~= nil and record.observers ~= nil then
        Config_SignalObservers(key)
    end
end

function LoadConstConfig(t)
    assert(type(ConstConfig) == "table")
    assert(type(t) == "table", "LoadConstConfig expects a table")
    for key, value in pairs(t) do
        rawset(ConstConfig, key, value)
        if rawget(Config_Data, key) ~= nil then
            Config_Warn("configuration key " .. Config_KeyText(key) ..
                        " is a constant; the user value was dropped")
            rawset(Config_Data, key, nil)
        end
    end
end

function LoadConfig(t)
    assert(type(Config) == "table")
    assert(type(t) == "table", "LoadConfig expects a table")
    for key, value in pairs(t) do
        local current = rawget(Config_Data, key)
        if ConstConfig[key] ~= nil then
            Config_Warn("configuration key " .. Config_KeyText(key) ..
                        " is a constant and was ignored")
        elseif key == "Do_Not_Serialize" then
            Config_Warn("configuration key " .. Config_KeyText(key) ..
                        " is reserved by the file writer and was ignored")
        elseif current ~= nil and type(current) ~= type(value) then
            Config_Warn("configuration key " .. Config_KeyText(key) .. " should be a " ..
                        type(current) .. ", not a " .. type(value) ..
                        "; the value " .. tostring(current) .. " was kept")
        elseif Config_CannotSave(value) ~= nil then
            local kept = "it was ignored"
            if current ~= nil then
                kept = "the value " .. tostring(current) .. " was kept"
            end
            Config_Warn("configuration key " .. Config_KeyText(key) ..
                        " cannot be saved: it " .. Config_CannotSave(value) .. "; " .. kept)
        elseif Config_NonFinite(value) ~= nil then
            local kept = "it was ignored"
            if current ~= nil then
                kept = "the value " .. tostring(current) .. " was kept"
            end
            Config_Warn("configuration key " .. Config_KeyText(key) ..
                        " should be a finite number, not " ..
                        tostring(Config_NonFinite(value)) .. "; " .. kept)
        else
            Config[key] = value
        end
    end
end

function WriteConfigHeader()
    io.write("LoadConfig ")
end

function Config_AttachObserver(observer, key)
    local record = Config_Metadata[key]
    if record == nil then
        record = {}
        Config_Metadata[key] = record
    end
    if record.observers == nil then
        record.observers = {}
    end
    table.insert(record.observers, observer)
end

function Config_DetachObserver(observer, key)
    local record = Config_Metadata[key]
    assert(record ~= nil)
    local observers = record.observers
    assert(observers ~= nil)
    for i = 1, table.getn(observers) do
        if observers[i] == observer then
            table.remove(observers, i)
            break
        end
    end
    if table.getn(observers) == 0 then
        record.observers = nil
    end
end
)lua";

} // namespace

const std::string& GetConfigLibraryText()
{
    static const std::string text(kLibrary);
    return text;
}
