#include "support/engine/LuaFixture.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"

#include <boost/format.hpp>

#include <fstream>
#include <iterator>

namespace bbtest {

LuaFixture::LuaFixture()
{
    m_State = LuaPlus::LuaState::Create(true);
    InitLuaState(m_State);
    m_PreviousProvider = ScriptSource::SetProvider([this](const std::string& name) {
        auto found = m_Scripts.find(name);
        if (found == m_Scripts.end())
            throw ResourceNotFoundException(
                MAKO_WHERE,
                boost::str(boost::format("Could not find resource info with name = %1%") % name),
                name);
        return found->second;
    });
    m_PreviousOwnCheck = ScriptSource::SetOwnCheck([](const std::string&) { return true; });
}

LuaFixture::~LuaFixture()
{
    ScriptSource::SetProvider(m_PreviousProvider);
    ScriptSource::SetOwnCheck(m_PreviousOwnCheck);
    LuaPlus::LuaState::Destroy(m_State);
}

void LuaFixture::Run(const std::string& text)
{
    MakoLuaState::LoadString(m_State, text);
}

void LuaFixture::RunResource(const std::string& name)
{
    MakoLuaState::DoResourceFile(m_State, name);
}

void LuaFixture::AddScript(const std::string& name, const std::string& text)
{
    m_Scripts[name] = text;
}

LuaPlus::LuaObject LuaFixture::Global(const char* name) const
{
    return m_State->GetGlobal(name);
}

double LuaFixture::GlobalNumber(const char* name) const
{
    return Global(name).GetNumber();
}

std::string LuaFixture::GlobalString(const char* name) const
{
    return Global(name).ToString();
}

bool LuaFixture::GlobalBoolean(const char* name) const
{
    return Global(name).GetBoolean();
}

void LuaFixture::LoadPlayerScripts(const std::string& cardFolder)
{
    for (const char* name : {"PlayerDefaults.lua", "Player.lua", "PlayerManager.lua"}) {
        std::ifstream file(std::string(BB_SOURCE_DIR) + "/MakoEngine/Source/scripts/" + name,
                           std::ios::binary);
        AddScript(name, std::string(std::istreambuf_iterator<char>(file), {}));
    }
    RunResource("PlayerDefaults.lua");
    RunResource("Player.lua");
    Run("Paths = { PlayerData = '" + cardFolder + "' }");
}

} // namespace bbtest
