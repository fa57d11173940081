// Every picture, sound and music file that a script or level names is in the asset pack,
// and every level's music has every part a level plays. The names are found by walking the
// script state once all scripts and levels have run: every table resource, the level
// tables, the artefacts and the configuration tables, keys and values alike.
#include "LevelCheck.h"

#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/GameLevels.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using LuaPlus::LuaObject;

namespace {

// Collects {name, where} pairs of every string ending in a picture, sound or music
// extension under the walked tables. Strings holding '%' are name patterns that code fills
// in (a portrait per sender, a frame per number), not names.
const char* const kWalk = R"lua(
(function()
    local found, seen = {}, {}
    local kinds = { png = true, jpg = true, ogg = true, wav = true, mid = true }
    local function walk(value, where)
        if type(value) == "string" then
            local ext = string.match(value, "%.(%a+)$")
            if ext and kinds[string.lower(ext)] and not string.find(value, "%", 1, true) then
                table.insert(found, { value, where })
            end
        elseif type(value) == "table" and not seen[value] then
            seen[value] = true
            for k, v in pairs(value) do
                walk(k, where .. "[key]")
                walk(v, where .. "." .. tostring(k))
            end
        end
    end
    local names = {}
    for name in pairs(Resources._contents) do table.insert(names, name) end
    table.sort(names)
    for _, name in ipairs(names) do
        local t = Resources[name]
        if type(t) == "table" then walk(t, "Resources." .. name) end
    end
    for _, root in ipairs({ "Levels", "Artifacts", "Config", "ConstConfig" }) do
        walk(_G[root], root)
    end
    return found
end)()
)lua";

// Names that are named on purpose without being in the pack: the game asks for them and
// carries on without them.
const std::set<std::string> kOptional = {};

// Every name the walk finds that the pack lacks, one line each with where it was named;
// the count of names looked at goes to names.
std::string MissingNames(int& names)
{
    const LuaObject found = bbtest::EvalLua(kWalk);
    ResourceManager& resources = bbtest::TestResources();
    std::string missing;
    names = 0;
    for (int i = 1; found.IsTable() && found[i].IsTable(); ++i, ++names) {
        const std::string name = found[i][1].GetString();
        if (kOptional.count(name) || resources.FindInfo(name, true))
            continue;
        missing += "  " + name + " (named at " + found[i][2].GetString() + ")\n";
    }
    return missing;
}

TEST(AssetNames, EveryNamedPictureSoundAndMusicIsInThePack)
{
    bbtest::OpenGameResources();
    bbtest::LoadGameLevels();
    int names = 0;
    const std::string missing = MissingNames(names);
    EXPECT_GT(names, 100) << "the walk found too few names to be looking in the right place";
    EXPECT_TRUE(missing.empty()) << "named but not in the pack:\n" << missing;
}

TEST(AssetNames, AMissingNameIsReportedWithWhereItWasNamed)
{
    bbtest::OpenGameResources();
    bbtest::LoadGameLevels();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    MakoLuaState::LoadString(state, "_savedBackground = Levels.Welcome.backgroundName\n"
                                    "Artifacts['artifactNowhere.jpg'] = { title = 'Lost' }\n"
                                    "Levels.Welcome.backgroundName = 'bkgNowhere.JPG'\n"
                                    "Resources.NowhereTest = { sound = 'nowhere.ogg' }");
    int names = 0;
    const std::string missing = MissingNames(names);
    // The other cases of the program see the game's tables as they were.
    MakoLuaState::LoadString(state, "Artifacts['artifactNowhere.jpg'] = nil\n"
                                    "Levels.Welcome.backgroundName = _savedBackground\n"
                                    "_savedBackground = nil\n"
                                    "Resources.NowhereTest = {}");
    EXPECT_NE(std::string::npos, missing.find("artifactNowhere.jpg (named at Artifacts[key])"))
        << missing;
    EXPECT_NE(std::string::npos,
              missing.find("bkgNowhere.JPG (named at Levels.Welcome.backgroundName)"))
        << missing;
    EXPECT_NE(std::string::npos, missing.find("nowhere.ogg (named at Resources.NowhereTest.sound)"))
        << missing;
}

TEST(AssetNames, EveryLevelsMusicHasEveryPartALevelPlays)
{
    bbtest::OpenGameResources();
    bbtest::LoadGameLevels();
    ResourceManager& resources = bbtest::TestResources();
    std::string missing;
    int levels = 0;
    for (LuaPlus::LuaTableIterator it(bbtest::EvalLua("Levels")); it; it.Next(), ++levels) {
        const std::string level = it.GetKey().ToString();
        const LuaObject music = it.GetValue()["music"];
        if (!music.IsString())
            continue;
        ResourceInfo* info = resources.FindInfo(music.GetString(), true);
        if (!info) {
            missing += "  " + level + ": " + music.GetString() + " is not in the pack\n";
            continue;
        }
        const LuaObject& metadata = info->GetMetadata();
        const LuaObject parts = metadata.IsTable() ? metadata["parts"] : LuaObject();
        for (const std::string& part : levelcheck::LevelMusicParts()) {
            const LuaObject range = parts.IsTable() ? parts[part.c_str()] : LuaObject();
            if (!(range.IsTable() && range[1].IsNumber() && range[2].IsNumber()))
                missing += "  " + level + ": " + music.GetString() + " has no part " + part + "\n";
        }
    }
    EXPECT_GT(levels, 0);
    EXPECT_TRUE(missing.empty()) << missing;
}

} // namespace
