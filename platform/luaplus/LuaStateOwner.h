#pragma once
#include "luaplus/LuaState.h"

namespace LuaPlus {

// Owns a state for a scope: Create in the constructor, Destroy in the destructor.
class LuaStateOwner
{
public:
    explicit LuaStateOwner(bool initStandardLibrary = true)
        : m_State(LuaState::Create(initStandardLibrary))
    {
    }
    ~LuaStateOwner() { LuaState::Destroy(m_State); }
    LuaStateOwner(const LuaStateOwner&) = delete;
    LuaStateOwner& operator=(const LuaStateOwner&) = delete;

    LuaState* Get() const { return m_State; }
    LuaState* operator->() const { return m_State; }
    operator LuaState*() const { return m_State; }

private:
    LuaState* m_State;
};

} // namespace LuaPlus
