#pragma once
// A test fixture with a fresh engine script state: the start-up chunk has run and every
// native function of the program is published. Each test gets its own state (destroyed
// after the test) and may give it script resources by name for DoResourceFile; they count
// as the program's own files (the test is the program here).
//
//   class MyTest : public bbtest::LuaFixture {};
//   TEST_F(MyTest, Something) { Run("x = 1"); EXPECT_EQ(1, GlobalNumber("x")); }
#include "lua/ScriptSource.h"
#include "luaplus/LuaPlus.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace bbtest {

class LuaFixture : public ::testing::Test
{
protected:
    LuaFixture();
    ~LuaFixture() override;

    LuaPlus::LuaState* State() const { return m_State; }
    lua_State* L() const { return m_State->GetCState(); }

    // Runs script text through the engine's string loader (MakoLuaState::LoadString).
    void Run(const std::string& text);
    // Runs a script resource (MakoLuaState::DoResourceFile).
    void RunResource(const std::string& name);

    // Makes `text` the script resource `name` while the fixture lives.
    void AddScript(const std::string& name, const std::string& text);
    // Loads the engine's player scripts from the source tree (PlayerDefaults.lua and
    // Player.lua run, PlayerManager.lua added) with Paths.PlayerData set to cardFolder.
    void LoadPlayerScripts(const std::string& cardFolder);

    LuaPlus::LuaObject Global(const char* name) const;
    double GlobalNumber(const char* name) const;
    std::string GlobalString(const char* name) const;
    bool GlobalBoolean(const char* name) const;

private:
    LuaPlus::LuaState* m_State = nullptr;
    std::map<std::string, std::string> m_Scripts;
    ScriptSource::Provider m_PreviousProvider;
    ScriptSource::OwnCheck m_PreviousOwnCheck;
};

} // namespace bbtest
