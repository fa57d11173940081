#include "support/engine/EngineSetup.h"

#include "core/ClassManager.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"

#include <fstream>
#include <sstream>

namespace bbtest {

void PrepareEngine()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    std::ifstream in(std::string(BB_SOURCE_DIR) + "/MakoEngine/Source/scripts/Resource.lua");
    std::ostringstream text;
    text << in.rdbuf();
    MakoLuaState::LoadString(state, text.str());
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
}

LuaPlus::LuaObject EvalLua(const std::string& expression, LuaPlus::LuaState* state)
{
    if (!state)
        state = GetGlobalLuaState();
    lua_State* L = state->GetCState();
    MakoLuaState::LoadString(state, "return " + expression, 0, 1);
    LuaPlus::LuaObject value(state, -1);
    lua_pop(L, 1);
    return value;
}

} // namespace bbtest
