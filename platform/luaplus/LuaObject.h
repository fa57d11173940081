#pragma once
// A Lua value held from C++: the value sits in the state's registry under a reference of
// this object's own, so it stays alive (and is not collected) while the object lives.
// Copies take a reference of their own; moves hand it over; destruction releases it.
//
// An object is either unset (default-constructed, moved from, or its state destroyed) or
// bound to a state, holding some value (possibly nil). Reads of an unset object answer
// "nil" (IsNil, Type LUA_TNONE); everything that needs a state (pushing, table access,
// calls, typed reads) raises LuaException naming the operation. Typed reads of a value of
// another type raise LuaException too.
//
// Table operations honour metatables (__index, __newindex) except the Raw ones; script
// code they run is run protected, so a failure raises LuaException (or the native
// exception that caused it) and leaves the stack as it was.
#include "luaplus/LuaException.h"
#include "luaplus/LuaKey.h"

#include <lua.hpp>

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace LuaPlus {

class LuaState;
class LuaStackObject;

class LuaObject
{
public:
    LuaObject() = default;
    // nil, bound to the state.
    explicit LuaObject(LuaState* state);
    // The value at a stack index (negative counts from the top) of the state or of any
    // thread of it.
    LuaObject(LuaState* state, int stackIndex);
    LuaObject(lua_State* L, int stackIndex);
    LuaObject(const LuaStackObject& stackObject);
    LuaObject(const LuaObject& other);
    LuaObject(LuaObject&& other) noexcept;
    LuaObject& operator=(const LuaObject& other);
    LuaObject& operator=(LuaObject&& other) noexcept;
    ~LuaObject();

    LuaState* GetState() const { return m_State; }
    lua_State* GetCState() const;
    bool IsSet() const { return m_State != nullptr; }
    // Releases the value; the object becomes unset.
    void Reset();

    // Type: a LUA_T* code, LUA_TNONE when unset.
    int Type() const { return m_Type; }
    const char* TypeName() const;
    bool IsNil() const { return m_Type == LUA_TNIL || m_Type == LUA_TNONE; }
    bool IsTable() const { return m_Type == LUA_TTABLE; }
    bool IsNumber() const { return m_Type == LUA_TNUMBER; }
    bool IsString() const { return m_Type == LUA_TSTRING; }
    bool IsBoolean() const { return m_Type == LUA_TBOOLEAN; }
    bool IsFunction() const { return m_Type == LUA_TFUNCTION; }
    bool IsCFunction() const;
    bool IsUserData() const { return m_Type == LUA_TUSERDATA || m_Type == LUA_TLIGHTUSERDATA; }
    bool IsLightUserData() const { return m_Type == LUA_TLIGHTUSERDATA; }
    bool IsThread() const { return m_Type == LUA_TTHREAD; }
    bool IsConvertibleToNumber() const;
    bool IsConvertibleToString() const { return IsNumber() || IsString(); }

    // Typed reads. GetNumber takes numbers and numeric strings; GetInteger truncates and
    // holds the result to the int range (NaN gives 0).
    double GetNumber() const;
    int GetInteger() const;
    float GetFloat() const { return static_cast<float>(GetNumber()); }
    // A string value only; the text stays valid while this object holds it.
    const char* GetString() const;
    std::size_t GetStrLen() const;
    // The text of a string or number value.
    std::string ToString() const;
    // Lua truth: false only for nil (or unset) and false.
    bool GetBoolean() const;
    // A full or light userdata's address.
    void* GetUserData() const;
    void* GetLightUserData() const;
    // The C function as it was handed over (luaplus/LuaNative.h ToNativeFunction).
    lua_CFunction GetCFunction() const;

    // Table reads (t[key], honouring __index). Reading a key of a value that cannot be
    // indexed raises.
    LuaObject GetByName(const char* name) const { return Get(LuaKey(name), false); }
    LuaObject GetByIndex(int index) const { return Get(LuaKey(index), false); }
    LuaObject GetByObject(const LuaObject& key) const { return Get(LuaKey(key), false); }
    LuaObject operator[](const char* name) const { return GetByName(name); }
    LuaObject operator[](const std::string& name) const { return Get(LuaKey(name), false); }
    LuaObject operator[](int index) const { return GetByIndex(index); }
    LuaObject operator[](const LuaObject& key) const { return GetByObject(key); }
    // A table's own entry, ignoring metatables.
    LuaObject RawGet(const LuaKey& key) const { return Get(key, true); }

    // Table writes (t[key] = value, honouring __newindex). They return *this for chaining.
    LuaObject& SetNumber(const LuaKey& key, double value);
    LuaObject& SetInteger(const LuaKey& key, int value);
    LuaObject& SetString(const LuaKey& key, const char* value);
    LuaObject& SetString(const LuaKey& key, const std::string& value);
    LuaObject& SetBoolean(const LuaKey& key, bool value);
    LuaObject& SetNil(const LuaKey& key);
    LuaObject& SetObject(const LuaKey& key, const LuaObject& value);
    LuaObject& SetLightUserData(const LuaKey& key, void* value);
    // The function is stored inside the error boundary (luaplus/LuaNative.h).
    LuaObject& SetCFunction(const LuaKey& key, lua_CFunction function);
    // A table's own entry, ignoring metatables.
    LuaObject& RawSetObject(const LuaKey& key, const LuaObject& value);
    // A new table stored at key; returns it.
    LuaObject CreateTable(const LuaKey& key, int arraySize = 0, int hashSize = 0);

    // Replace this object's value; binds it to the state.
    LuaObject& AssignNil(LuaState* state);
    LuaObject& AssignNumber(LuaState* state, double value);
    LuaObject& AssignInteger(LuaState* state, int value);
    LuaObject& AssignString(LuaState* state, const char* value);
    LuaObject& AssignString(LuaState* state, const std::string& value);
    LuaObject& AssignBoolean(LuaState* state, bool value);
    LuaObject& AssignLightUserData(LuaState* state, void* value);
    // As SetCFunction, the function runs inside the error boundary.
    LuaObject& AssignCFunction(LuaState* state, lua_CFunction function);
    LuaObject& AssignNewTable(LuaState* state, int arraySize = 0, int hashSize = 0);

    // The length operator's result for a table (array part border) or string; 0 otherwise.
    int GetCount() const;

    // Pushes the value onto the state's main stack, or onto the stack of L (a thread of
    // the same state).
    void Push() const;
    void Push(lua_State* L) const;

    // The metatable (nil when there is none); tables and full userdata may have one set
    // (a table or nil).
    LuaObject GetMetaTable() const;
    void SetMetaTable(const LuaObject& metaTable);

    // Raw equality (no __eq); two unset objects are equal.
    bool operator==(const LuaObject& other) const;
    bool operator!=(const LuaObject& other) const { return !(*this == other); }
    // Lua's "<" (numbers, strings, or __lt); raises for values it cannot compare.
    bool operator<(const LuaObject& other) const;

    // Calls the value (a function, or a value with __call) protected, with the arguments
    // converted to Lua (bool, numbers, text, LuaObject, nullptr as nil, other pointers as
    // light userdata). Call returns the first result (nil when there is none),
    // CallMultiple all of them. A failure raises; the stack is left as it was.
    template <typename... Args> LuaObject Call(const Args&... args) const
    {
        std::vector<LuaObject> results = CallMultiple(args...);
        return results.empty() ? LuaObject(m_State) : results.front();
    }
    template <typename... Args> std::vector<LuaObject> CallMultiple(const Args&... args) const
    {
        lua_State* L = BeginCall();
        int base = lua_gettop(L) - 1;
        try {
            (PushArgument(L, args), ...);
        } catch (...) {
            lua_settop(L, base); // an unusable argument: nothing was called
            throw;
        }
        return FinishCall(L, base);
    }

private:
    friend class LuaState;

    lua_State* RequireState(const char* operation) const;
    void PushValue(lua_State* L) const;
    // Takes the value on top of L's stack (popping it) as this object's value.
    void AttachTop(LuaState* state, lua_State* L);
    void ReleaseReference();
    void Link(LuaState* state);
    void Unlink();
    LuaObject Get(const LuaKey& key, bool raw) const;
    // t[key] = the value that pushValue(L, value) pushes.
    LuaObject& Store(const LuaKey& key, bool raw, const char* operation,
                     void (*pushValue)(lua_State*, const void*), const void* value);
    lua_State* BeginCall() const;
    std::vector<LuaObject> FinishCall(lua_State* L, int base) const;

    template <typename T> static void PushArgument(lua_State* L, const T& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            lua_pushboolean(L, value);
        else if constexpr (std::is_arithmetic_v<T>)
            lua_pushnumber(L, static_cast<lua_Number>(value));
        else if constexpr (std::is_same_v<T, std::string>)
            lua_pushlstring(L, value.data(), value.size());
        else if constexpr (std::is_convertible_v<const T&, const char*>)
            PushText(L, value);
        else if constexpr (std::is_same_v<T, std::nullptr_t>)
            lua_pushnil(L);
        else if constexpr (std::is_convertible_v<const T&, const LuaObject&>)
            static_cast<const LuaObject&>(value).Push(L);
        else if constexpr (std::is_pointer_v<T>)
            lua_pushlightuserdata(L, const_cast<void*>(static_cast<const void*>(value)));
        else
            static_assert(std::is_pointer_v<T>, "no Lua form for this argument type");
    }
    static void PushText(lua_State* L, const char* text);

    LuaState* m_State = nullptr;
    int m_Ref = LUA_NOREF;
    int m_Type = LUA_TNONE;
    LuaObject* m_Prev = nullptr;
    LuaObject* m_Next = nullptr;
};

} // namespace LuaPlus
