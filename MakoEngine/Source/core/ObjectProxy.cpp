#include "core/ObjectProxy.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/Object.h"
#include "luaplus/LuaNative.h"

#include <boost/format.hpp>

#include <cstring>
#include <string>

using LuaPlus::LuaObject;

namespace {

// The registry key of the proxies' metatable.
const char kProxyMetatable[] = "MakoObjectProxy";

// What a proxy's user data holds. The class name is kept in the box itself so a proxy
// can still name it after the object (and even its class record) is gone.
struct ProxyBox
{
    Object* object;
    char className[64];
};

ProxyBox* BoxAt(lua_State* L, int index)
{
    void* data = lua_touserdata(L, index);
    if (!data || lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index))
        return nullptr;
    luaL_getmetatable(L, kProxyMetatable);
    const bool isProxy = lua_rawequal(L, -1, -2) != 0;
    lua_pop(L, 2);
    return isProxy ? static_cast<ProxyBox*>(data) : nullptr;
}

ProxyBox* BoxOf(const LuaObject& value)
{
    if (value.Type() != LUA_TUSERDATA)
        return nullptr;
    lua_State* L = value.GetCState();
    value.Push(L);
    ProxyBox* box = BoxAt(L, -1);
    lua_pop(L, 1);
    return box;
}

void SetClassName(ProxyBox& box, const std::string& name)
{
    std::strncpy(box.className, name.c_str(), sizeof(box.className) - 1);
    box.className[sizeof(box.className) - 1] = '\0';
}

Object& LiveObject(const ProxyBox& box)
{
    if (!box.object)
        MAKO_THROW(Exception, boost::str(boost::format("Attempt to use a deleted object of class "
                                                       "\"%1%\".") %
                                         box.className));
    return *box.object;
}

// The proxy argument at index 1 (a Lua argument error for anything else).
ProxyBox& ProxyArgument(lua_State* L)
{
    luaL_checkudata(L, 1, kProxyMetatable);
    return *static_cast<ProxyBox*>(lua_touserdata(L, 1));
}

// __index(proxy, key): the property's value.
int IndexBody(lua_State* L)
{
    Object& object = LiveObject(ProxyArgument(L));
    const int keyType = lua_type(L, 2);
    if (keyType != LUA_TSTRING && keyType != LUA_TNUMBER) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushvalue(L, 2);
    const std::string name = lua_tostring(L, -1);
    lua_pop(L, 1);
    LuaObject value;
    object.RetrieveProperty(value, name);
    if (value.IsSet())
        value.Push(L);
    else
        lua_pushnil(L);
    return 1;
}

// __newindex(proxy, key, value): applies the property.
int NewIndexBody(lua_State* L)
{
    Object& object = LiveObject(ProxyArgument(L));
    const int keyType = lua_type(L, 2);
    // The key may come from data (a table's entries applied one by one): a sentence.
    if (keyType != LUA_TSTRING && keyType != LUA_TNUMBER)
        MAKO_THROW(ApplyPropertyError, std::string("A property is named by a string or a "
                                                   "number, not by a ") +
                                           lua_typename(L, keyType) + ".");
    lua_pushvalue(L, 2);
    const std::string name = lua_tostring(L, -1);
    lua_pop(L, 1);
    object.ApplyProperty(name, LuaObject(L, 3));
    return 0;
}

// Pushes the proxies' metatable, making it on first use in this state.
void PushMetatable(lua_State* L)
{
    if (luaL_newmetatable(L, kProxyMetatable)) {
        LuaPlus::PushNativeFunction<IndexBody>(L);
        lua_setfield(L, -2, "__index");
        LuaPlus::PushNativeFunction<NewIndexBody>(L);
        lua_setfield(L, -2, "__newindex");
        lua_pushstring(L, "Object");
        lua_setfield(L, -2, "__metatable"); // scripts cannot replace it
    }
}

} // namespace

namespace ObjectProxy {

LuaObject Create(LuaPlus::LuaState* state, Object* object)
{
    lua_State* L = state->GetCState();
    ProxyBox* box = static_cast<ProxyBox*>(lua_newuserdata(L, sizeof(ProxyBox)));
    box->object = object;
    box->className[0] = '\0';
    PushMetatable(L);
    lua_setmetatable(L, -2);
    LuaObject proxy(state, -1);
    lua_pop(L, 1);
    return proxy;
}

void RefreshClassName(const LuaObject& proxy, const Object& object)
{
    if (ProxyBox* box = BoxOf(proxy))
        SetClassName(*box, object.GetClass()->GetName());
}

void Detach(const LuaObject& proxy)
{
    if (ProxyBox* box = BoxOf(proxy))
        box->object = nullptr;
}

bool IsProxy(const LuaObject& value)
{
    return BoxOf(value) != nullptr;
}

Object* GetObject(const LuaObject& value)
{
    ProxyBox* box = BoxOf(value);
    return box ? &LiveObject(*box) : nullptr;
}

Object* GetLiveObjectOrNull(const LuaObject& value)
{
    ProxyBox* box = BoxOf(value);
    return box ? box->object : nullptr;
}

} // namespace ObjectProxy
