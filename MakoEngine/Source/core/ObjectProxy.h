#pragma once
// The script-side stand-in of an Object: a full user data holding the object's pointer,
// with a metatable whose __index reads and __newindex writes the object's properties
// (Object::RetrieveProperty / Object::ApplyProperty). Keys are property names: strings,
// or numbers read as their text; reading any other key gives nil, writing one raises.
//
// When the object dies it detaches its proxy: the pointer is cleared, and any later use
// from a script raises "Attempt to use a deleted object of class \"<class>\"." naming
// the class the object last had.
#include "luaplus/LuaPlus.h"

class Object;

namespace ObjectProxy {

// A new proxy for the object in the state.
LuaPlus::LuaObject Create(LuaPlus::LuaState* state, Object* object);
// Records the object's current class name in its proxy (for the message above).
void RefreshClassName(const LuaPlus::LuaObject& proxy, const Object& object);
// Clears the proxy's pointer; the object is dying.
void Detach(const LuaPlus::LuaObject& proxy);
// Whether the value is a proxy (live or not).
bool IsProxy(const LuaPlus::LuaObject& value);
// The object of a proxy; null for values that are not proxies; a detached proxy raises.
Object* GetObject(const LuaPlus::LuaObject& value);
// The object of a live proxy; null for anything else.
Object* GetLiveObjectOrNull(const LuaPlus::LuaObject& value);

} // namespace ObjectProxy
