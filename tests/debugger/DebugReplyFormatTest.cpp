// The literals the debugger writes into its replies must read back, in Lua, as exactly the
// bytes they stand for.
#include "debugger/DebugReplyFormat.h"

#include "luaplus/LuaCall.h"
#include "luaplus/LuaState.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// What Lua makes of the literal.
std::string ReadBack(lua_State* L, const std::string& literal)
{
    const std::string chunk = "return " + literal;
    if (luaL_loadbuffer(L, chunk.data(), chunk.size(), "literal") != 0) {
        const std::string error = lua_tostring(L, -1);
        lua_pop(L, 1);
        return "<does not compile: " + error + ">";
    }
    LuaPlus::CallFailure failure;
    if (!LuaPlus::ProtectedCall(L, 0, 1, "literal", failure))
        return "<fails>";
    std::size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    std::string result = text ? std::string(text, length) : "<not a string>";
    lua_pop(L, 1);
    return result;
}

struct StateOwner
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create(true);
    ~StateOwner() { LuaPlus::LuaState::Destroy(state); }
    lua_State* L() const { return state->GetCState(); }
};
} // namespace

TEST(DebugReplyFormat, QuotedTextsReadBackAsTheSameBytes)
{
    StateOwner owner;
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    const std::string samples[] = {"",
                                   "plain",
                                   "it's",
                                   "say \"hi\"",
                                   "back\\slash",
                                   "]] closes a long string",
                                   "line\nbreak\r\n\ttab",
                                   std::string("nul\0inside", 10),
                                   "\x01"
                                   "5 digit after a code",
                                   "caf\xC3\xA9",
                                   every};
    for (const std::string& sample : samples) {
        EXPECT_EQ(ReadBack(owner.L(), DebugReplyFormat::Quote(sample)), sample);
        EXPECT_EQ(ReadBack(owner.L(), DebugReplyFormat::QuoteOutput(sample)), sample);
    }
    EXPECT_EQ(DebugReplyFormat::Quote("a\"b\\c\x07\x7f"), "\"a\\\"b\\\\c\\a\\127\"");
    EXPECT_EQ(DebugReplyFormat::QuoteOutput("a\nb"), "\"a\\\nb\"");
}

TEST(DebugReplyFormat, ValuesPrintAsTheClientShowsThem)
{
    StateOwner owner;
    lua_State* L = owner.L();
    ASSERT_EQ(luaL_loadstring(L, "return nil, true, false, 0.1, 1e300, -3, 'q\"', {}, print, "
                                 "function() end, coroutine.create(function() end)"),
              0);
    LuaPlus::CallFailure failure;
    ASSERT_TRUE(LuaPlus::ProtectedCall(L, 0, LUA_MULTRET, "values", failure));
    const char* expected[] = {"'!!!NIL!!!'",
                              "true",
                              "false",
                              "0.1",
                              "1e+300",
                              "-3",
                              "\"q\\\"\"",
                              "'!!!TABLE!!!'",
                              "'!!!CFUNCTION!!!'",
                              "'!!!FUNCTION!!!'",
                              ""};
    ASSERT_EQ(lua_gettop(L), 11);
    for (int i = 1; i <= 11; ++i)
        EXPECT_EQ(DebugReplyFormat::FormatValue(L, i), expected[i - 1]) << "value " << i;
    lua_settop(L, 0);
    lua_newuserdata(L, 4);
    EXPECT_EQ(DebugReplyFormat::FormatValue(L, -1), "'!!!USERDATA!!!'");
    lua_pushlightuserdata(L, L);
    EXPECT_EQ(DebugReplyFormat::FormatValue(L, -1), "");
    lua_settop(L, 0);
}

TEST(DebugReplyFormat, WideTextAndScriptKeys)
{
    // "aé€😀" as UTF-16LE, then a lone high surrogate and an odd last byte.
    const std::string wide("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE\x3D\xD8x", 13);
    EXPECT_EQ(DebugReplyFormat::Utf16LeToUtf8(wide.data(), wide.size()),
              "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD");

    EXPECT_EQ(DebugReplyFormat::FileKey("@Scripts\\Game\\Menu.LUA"), "scripts/game/menu.lua");
    EXPECT_EQ(DebugReplyFormat::FileKey("Plain.lua"), "plain.lua");
    EXPECT_EQ(DebugReplyFormat::BaseName("scripts/game/menu.lua"), "menu.lua");
    EXPECT_EQ(DebugReplyFormat::BaseName("menu.lua"), "menu.lua");
}
