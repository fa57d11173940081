#include "luaplus/LuaObject.h"

#include "luaplus/LuaCall.h"
#include "luaplus/LuaNative.h"
#include "luaplus/LuaStackObject.h"
#include "luaplus/LuaState.h"

#include <climits>
#include <cmath>

namespace LuaPlus {

namespace {

// Restores the stack top when it goes out of scope.
class StackGuard
{
public:
    explicit StackGuard(lua_State* L) : m_L(L), m_Top(lua_gettop(L)) {}
    ~StackGuard() { lua_settop(m_L, m_Top); }
    StackGuard(const StackGuard&) = delete;
    StackGuard& operator=(const StackGuard&) = delete;

private:
    lua_State* m_L;
    int m_Top;
};

int GetTableThunk(lua_State* L)
{
    lua_gettable(L, 1);
    return 1;
}

int SetTableThunk(lua_State* L)
{
    lua_settable(L, 1);
    return 0;
}

int LessThanThunk(lua_State* L)
{
    lua_pushboolean(L, lua_lessthan(L, 1, 2));
    return 1;
}

// A table without a metatable: raw access behaves exactly like t[k] and cannot fail.
bool IsPlainTable(lua_State* L, int index)
{
    if (lua_type(L, index) != LUA_TTABLE)
        return false;
    if (!lua_getmetatable(L, index))
        return true;
    lua_pop(L, 1);
    return false;
}

[[noreturn]] void ThrowWrongType(const char* operation, const char* expected, int type)
{
    throw LuaException(std::string(operation) + ": expected " + expected + ", got a " +
                       lua_typename(nullptr, type) + " value");
}

LuaState* RequireWrapper(lua_State* L)
{
    LuaState* state = LuaState::CastState(L);
    if (!state)
        throw LuaException("LuaObject: the Lua state was not made by LuaState::Create");
    return state;
}

} // namespace

// ---- life and binding ---------------------------------------------------------------------

LuaObject::LuaObject(LuaState* state)
{
    if (!state)
        throw LuaException("LuaObject: no Lua state");
    lua_pushnil(state->m_L);
    AttachTop(state, state->m_L);
}

LuaObject::LuaObject(LuaState* state, int stackIndex)
{
    if (!state)
        throw LuaException("LuaObject: no Lua state");
    lua_pushvalue(state->m_L, stackIndex);
    AttachTop(state, state->m_L);
}

LuaObject::LuaObject(lua_State* L, int stackIndex)
{
    LuaState* state = RequireWrapper(L);
    lua_pushvalue(L, stackIndex);
    AttachTop(state, L);
}

LuaObject::LuaObject(const LuaStackObject& stackObject)
    : LuaObject(stackObject.GetCState(), stackObject.GetIndex())
{
}

LuaObject::LuaObject(const LuaObject& other)
{
    if (other.m_State) {
        other.PushValue(other.m_State->m_L);
        AttachTop(other.m_State, other.m_State->m_L);
    }
}

LuaObject::LuaObject(LuaObject&& other) noexcept
{
    *this = std::move(other);
}

LuaObject& LuaObject::operator=(const LuaObject& other)
{
    if (this == &other)
        return *this;
    if (!other.m_State) {
        Reset();
        return *this;
    }
    other.PushValue(other.m_State->m_L);
    AttachTop(other.m_State, other.m_State->m_L);
    return *this;
}

LuaObject& LuaObject::operator=(LuaObject&& other) noexcept
{
    if (this == &other)
        return *this;
    Reset();
    if (other.m_State) {
        Link(other.m_State);
        m_Ref = other.m_Ref;
        m_Type = other.m_Type;
        other.m_Ref = LUA_NOREF;
        other.m_Type = LUA_TNONE;
        other.Unlink();
    }
    return *this;
}

LuaObject::~LuaObject()
{
    Reset();
}

void LuaObject::Reset()
{
    ReleaseReference();
    Unlink();
    m_Type = LUA_TNONE;
}

lua_State* LuaObject::GetCState() const
{
    return m_State ? m_State->m_L : nullptr;
}

void LuaObject::Link(LuaState* state)
{
    m_State = state;
    m_Prev = nullptr;
    m_Next = state->m_Objects;
    if (m_Next)
        m_Next->m_Prev = this;
    state->m_Objects = this;
}

void LuaObject::Unlink()
{
    if (!m_State)
        return;
    if (m_Prev)
        m_Prev->m_Next = m_Next;
    else
        m_State->m_Objects = m_Next;
    if (m_Next)
        m_Next->m_Prev = m_Prev;
    m_Prev = m_Next = nullptr;
    m_State = nullptr;
}

void LuaObject::ReleaseReference()
{
    if (m_State && m_Ref != LUA_NOREF)
        luaL_unref(m_State->m_L, LUA_REGISTRYINDEX, m_Ref);
    m_Ref = LUA_NOREF;
}

void LuaObject::AttachTop(LuaState* state, lua_State* L)
{
    int type = lua_type(L, -1);
    int ref = luaL_ref(L, LUA_REGISTRYINDEX);
    ReleaseReference();
    if (m_State != state) {
        Unlink();
        Link(state);
    }
    m_Ref = ref;
    m_Type = type;
}

lua_State* LuaObject::RequireState(const char* operation) const
{
    if (!m_State)
        throw LuaException(std::string(operation) + ": the LuaObject is unset");
    return m_State->m_L;
}

void LuaObject::PushValue(lua_State* L) const
{
    lua_rawgeti(L, LUA_REGISTRYINDEX, m_Ref);
}

// ---- type tests and reads -----------------------------------------------------------------

const char* LuaObject::TypeName() const
{
    return lua_typename(nullptr, m_Type);
}

bool LuaObject::IsCFunction() const
{
    if (m_Type != LUA_TFUNCTION)
        return false;
    lua_State* L = m_State->m_L;
    PushValue(L);
    bool result = lua_iscfunction(L, -1) != 0;
    lua_pop(L, 1);
    return result;
}

bool LuaObject::IsConvertibleToNumber() const
{
    if (m_Type == LUA_TNUMBER)
        return true;
    if (m_Type != LUA_TSTRING)
        return false;
    lua_State* L = m_State->m_L;
    PushValue(L);
    bool result = lua_isnumber(L, -1) != 0;
    lua_pop(L, 1);
    return result;
}

double LuaObject::GetNumber() const
{
    lua_State* L = RequireState("LuaObject::GetNumber");
    if (IsConvertibleToNumber()) {
        PushValue(L);
        double value = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return value;
    }
    ThrowWrongType("LuaObject::GetNumber", "a number", m_Type);
}

int LuaObject::GetInteger() const
{
    double value = GetNumber();
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

const char* LuaObject::GetString() const
{
    lua_State* L = RequireState("LuaObject::GetString");
    if (m_Type != LUA_TSTRING)
        ThrowWrongType("LuaObject::GetString", "a string", m_Type);
    PushValue(L);
    const char* text = lua_tostring(L, -1); // kept alive by this object's reference
    lua_pop(L, 1);
    return text;
}

std::size_t LuaObject::GetStrLen() const
{
    lua_State* L = RequireState("LuaObject::GetStrLen");
    if (m_Type != LUA_TSTRING)
        ThrowWrongType("LuaObject::GetStrLen", "a string", m_Type);
    PushValue(L);
    std::size_t length = lua_objlen(L, -1);
    lua_pop(L, 1);
    return length;
}

std::string LuaObject::ToString() const
{
    lua_State* L = RequireState("LuaObject::ToString");
    if (!IsConvertibleToString())
        ThrowWrongType("LuaObject::ToString", "a string or number", m_Type);
    PushValue(L);
    std::size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    std::string result(text, length);
    lua_pop(L, 1);
    return result;
}

bool LuaObject::GetBoolean() const
{
    if (m_Type != LUA_TBOOLEAN)
        return !IsNil();
    lua_State* L = m_State->m_L;
    PushValue(L);
    bool value = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    return value;
}

void* LuaObject::GetUserData() const
{
    lua_State* L = RequireState("LuaObject::GetUserData");
    if (!IsUserData())
        ThrowWrongType("LuaObject::GetUserData", "a userdata", m_Type);
    PushValue(L);
    void* data = lua_touserdata(L, -1);
    lua_pop(L, 1);
    return data;
}

void* LuaObject::GetLightUserData() const
{
    RequireState("LuaObject::GetLightUserData");
    if (!IsLightUserData())
        ThrowWrongType("LuaObject::GetLightUserData", "a light userdata", m_Type);
    return GetUserData();
}

lua_CFunction LuaObject::GetCFunction() const
{
    lua_State* L = RequireState("LuaObject::GetCFunction");
    if (!IsCFunction())
        ThrowWrongType("LuaObject::GetCFunction", "a C function", m_Type);
    PushValue(L);
    lua_CFunction function = ToNativeFunction(L, -1);
    lua_pop(L, 1);
    return function;
}

int LuaObject::GetCount() const
{
    if (m_Type != LUA_TTABLE && m_Type != LUA_TSTRING && m_Type != LUA_TUSERDATA)
        return 0;
    lua_State* L = m_State->m_L;
    PushValue(L);
    int count = static_cast<int>(lua_objlen(L, -1));
    lua_pop(L, 1);
    return count;
}

// ---- tables -------------------------------------------------------------------------------

LuaObject LuaObject::Get(const LuaKey& key, bool raw) const
{
    const char* operation = raw ? "LuaObject::RawGet" : "LuaObject::Get";
    lua_State* L = RequireState(operation);
    if (raw && m_Type != LUA_TTABLE)
        ThrowWrongType(operation, "a table", m_Type);
    StackGuard guard(L);
    PushValue(L);
    key.Push(L);
    if (raw || IsPlainTable(L, -2))
        lua_rawget(L, -2);
    else
        CallFunctionProtected<GetTableThunk>(L, 2, 1, "LuaObject::Get");
    LuaObject result;
    result.AttachTop(m_State, L);
    return result;
}

LuaObject& LuaObject::Store(const LuaKey& key, bool raw, const char* operation,
                            void (*pushValue)(lua_State*, const void*), const void* value)
{
    lua_State* L = RequireState(operation);
    if (raw && m_Type != LUA_TTABLE)
        ThrowWrongType(operation, "a table", m_Type);
    StackGuard guard(L);
    PushValue(L);
    key.Push(L);
    pushValue(L, value);
    if (raw || IsPlainTable(L, -3)) {
        // Checked here: a raw store of these keys would raise where nothing catches it.
        if (lua_isnil(L, -2))
            throw LuaException(std::string(operation) + ": table index is nil");
        if (lua_type(L, -2) == LUA_TNUMBER && std::isnan(lua_tonumber(L, -2)))
            throw LuaException(std::string(operation) + ": table index is NaN");
        lua_rawset(L, -3);
    } else {
        CallFunctionProtected<SetTableThunk>(L, 3, 0, operation);
    }
    return *this;
}

LuaObject& LuaObject::SetNumber(const LuaKey& key, double value)
{
    return Store(
        key, false, "LuaObject::SetNumber",
        [](lua_State* L, const void* v) { lua_pushnumber(L, *static_cast<const double*>(v)); },
        &value);
}

LuaObject& LuaObject::SetInteger(const LuaKey& key, int value)
{
    return SetNumber(key, value);
}

LuaObject& LuaObject::SetString(const LuaKey& key, const char* value)
{
    return Store(
        key, false, "LuaObject::SetString",
        [](lua_State* L, const void* v) { lua_pushstring(L, static_cast<const char*>(v)); }, value);
}

LuaObject& LuaObject::SetString(const LuaKey& key, const std::string& value)
{
    return Store(
        key, false, "LuaObject::SetString",
        [](lua_State* L, const void* v) {
            const std::string& text = *static_cast<const std::string*>(v);
            lua_pushlstring(L, text.data(), text.size());
        },
        &value);
}

LuaObject& LuaObject::SetBoolean(const LuaKey& key, bool value)
{
    return Store(
        key, false, "LuaObject::SetBoolean",
        [](lua_State* L, const void* v) { lua_pushboolean(L, *static_cast<const bool*>(v)); },
        &value);
}

LuaObject& LuaObject::SetNil(const LuaKey& key)
{
    return Store(
        key, false, "LuaObject::SetNil", [](lua_State* L, const void*) { lua_pushnil(L); },
        nullptr);
}

LuaObject& LuaObject::SetObject(const LuaKey& key, const LuaObject& value)
{
    return Store(
        key, false, "LuaObject::SetObject",
        [](lua_State* L, const void* v) { static_cast<const LuaObject*>(v)->Push(L); }, &value);
}

LuaObject& LuaObject::RawSetObject(const LuaKey& key, const LuaObject& value)
{
    return Store(
        key, true, "LuaObject::RawSetObject",
        [](lua_State* L, const void* v) { static_cast<const LuaObject*>(v)->Push(L); }, &value);
}

LuaObject& LuaObject::SetLightUserData(const LuaKey& key, void* value)
{
    return Store(
        key, false, "LuaObject::SetLightUserData",
        [](lua_State* L, const void* v) { lua_pushlightuserdata(L, const_cast<void*>(v)); }, value);
}

LuaObject& LuaObject::SetCFunction(const LuaKey& key, lua_CFunction function)
{
    return Store(
        key, false, "LuaObject::SetCFunction",
        [](lua_State* L, const void* v) {
            PushNativeFunction(L, *static_cast<const lua_CFunction*>(v));
        },
        &function);
}

LuaObject LuaObject::CreateTable(const LuaKey& key, int arraySize, int hashSize)
{
    RequireState("LuaObject::CreateTable");
    LuaObject table;
    table.AssignNewTable(m_State, arraySize, hashSize);
    SetObject(key, table);
    return table;
}

// ---- assignment ---------------------------------------------------------------------------

namespace {
lua_State* StateFor(LuaState* state, const char* operation)
{
    if (!state)
        throw LuaException(std::string(operation) + ": no Lua state");
    return state->GetCState();
}
} // namespace

LuaObject& LuaObject::AssignNil(LuaState* state)
{
    lua_State* L = StateFor(state, "LuaObject::AssignNil");
    lua_pushnil(L);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignNumber(LuaState* state, double value)
{
    lua_State* L = StateFor(state, "LuaObject::AssignNumber");
    lua_pushnumber(L, value);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignInteger(LuaState* state, int value)
{
    return AssignNumber(state, value);
}

LuaObject& LuaObject::AssignString(LuaState* state, const char* value)
{
    lua_State* L = StateFor(state, "LuaObject::AssignString");
    lua_pushstring(L, value);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignString(LuaState* state, const std::string& value)
{
    lua_State* L = StateFor(state, "LuaObject::AssignString");
    lua_pushlstring(L, value.data(), value.size());
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignBoolean(LuaState* state, bool value)
{
    lua_State* L = StateFor(state, "LuaObject::AssignBoolean");
    lua_pushboolean(L, value);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignLightUserData(LuaState* state, void* value)
{
    lua_State* L = StateFor(state, "LuaObject::AssignLightUserData");
    lua_pushlightuserdata(L, value);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignCFunction(LuaState* state, lua_CFunction function)
{
    lua_State* L = StateFor(state, "LuaObject::AssignCFunction");
    PushNativeFunction(L, function);
    AttachTop(state, L);
    return *this;
}

LuaObject& LuaObject::AssignNewTable(LuaState* state, int arraySize, int hashSize)
{
    lua_State* L = StateFor(state, "LuaObject::AssignNewTable");
    lua_createtable(L, arraySize, hashSize);
    AttachTop(state, L);
    return *this;
}

// ---- stack, metatables, comparison, calls -------------------------------------------------

void LuaObject::Push() const
{
    PushValue(RequireState("LuaObject::Push"));
}

void LuaObject::Push(lua_State* L) const
{
    RequireState("LuaObject::Push");
    if (L != m_State->m_L && LuaState::CastState(L) != m_State)
        throw LuaException("LuaObject::Push: the stack belongs to another Lua state");
    PushValue(L);
}

LuaObject LuaObject::GetMetaTable() const
{
    lua_State* L = RequireState("LuaObject::GetMetaTable");
    StackGuard guard(L);
    PushValue(L);
    if (!lua_getmetatable(L, -1))
        lua_pushnil(L);
    LuaObject metaTable;
    metaTable.AttachTop(m_State, L);
    return metaTable;
}

void LuaObject::SetMetaTable(const LuaObject& metaTable)
{
    lua_State* L = RequireState("LuaObject::SetMetaTable");
    if (m_Type != LUA_TTABLE && m_Type != LUA_TUSERDATA)
        ThrowWrongType("LuaObject::SetMetaTable", "a table or userdata", m_Type);
    if (!metaTable.IsTable() && !(metaTable.IsSet() && metaTable.IsNil()))
        ThrowWrongType("LuaObject::SetMetaTable", "a table or nil as metatable", metaTable.m_Type);
    StackGuard guard(L);
    PushValue(L);
    metaTable.Push(L);
    lua_setmetatable(L, -2);
}

bool LuaObject::operator==(const LuaObject& other) const
{
    if (!m_State || !other.m_State)
        return !m_State && !other.m_State;
    if (m_State != other.m_State)
        return false;
    lua_State* L = m_State->m_L;
    StackGuard guard(L);
    PushValue(L);
    other.PushValue(L);
    return lua_rawequal(L, -1, -2) != 0;
}

bool LuaObject::operator<(const LuaObject& other) const
{
    lua_State* L = RequireState("LuaObject::operator<");
    StackGuard guard(L);
    PushValue(L);
    other.Push(L);
    CallFunctionProtected<LessThanThunk>(L, 2, 1, "LuaObject::operator<");
    return lua_toboolean(L, -1) != 0;
}

lua_State* LuaObject::BeginCall() const
{
    lua_State* L = RequireState("LuaObject::Call");
    PushValue(L);
    return L;
}

std::vector<LuaObject> LuaObject::FinishCall(lua_State* L, int base) const
{
    CallOrThrow(L, lua_gettop(L) - base - 1, LUA_MULTRET, "LuaObject::Call");
    std::vector<LuaObject> results;
    int top = lua_gettop(L);
    results.reserve(static_cast<std::size_t>(top - base));
    for (int index = base + 1; index <= top; ++index)
        results.emplace_back(m_State, index);
    lua_settop(L, base);
    return results;
}

void LuaObject::PushText(lua_State* L, const char* text)
{
    lua_pushstring(L, text);
}

} // namespace LuaPlus
