#include "support/engine/GameLevels.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "support/RequiredFiles.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace bbtest {

std::vector<std::string> LoadGameLevels()
{
    OpenGameResources();
    std::vector<std::string> names;
    const std::filesystem::path folder = std::filesystem::path(AssetPackFolder()) / "Levels";
    if (!std::filesystem::is_directory(folder)) {
        ADD_FAILURE() << "the asset pack has no folder " << folder;
        return names;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".lua")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());

    LuaPlus::LuaState* state = GetGlobalLuaState();
    MakoLuaState::LoadString(state, "ClearLevels()");
    for (const std::string& name : names) {
        try {
            MakoLuaState::DoResourceFile(state, name);
        } catch (const Exception& e) {
            ADD_FAILURE() << "the level file " << name << " failed: " << e.GetMessage();
        }
    }
    return names;
}

} // namespace bbtest
