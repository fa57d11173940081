// Native values out of script values and back: Variant, the stack conversion, Store, and
// the readers used by property conversion.
#include "core/Exception.h"
#include "geometry/Point.h"
#include "lua/DataScript.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "lua/Variant.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <string>

using LuaPlus::LuaObject;

namespace {

template <typename Call> std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const Exception& e) {
        return e.GetMessage();
    }
    ADD_FAILURE() << "no Exception thrown";
    return "";
}

} // namespace

class ValueAccessTest : public bbtest::LuaFixture
{
};

TEST(VariantTest, AccessorsCheckTheKindHeld)
{
    Variant nil;
    EXPECT_TRUE(nil.IsNil());
    EXPECT_EQ(Variant::V_NIL, nil.GetType());
    EXPECT_EQ(Variant::V_STRING, Variant("text").GetType()); // not taken as a bool
    Variant copy = Variant(std::string("blue"));
    copy = Variant(2.5);
    EXPECT_EQ(2.5, copy.ToDouble());
    EXPECT_TRUE(Variant(true).ToBool());

    EXPECT_EQ("Assertion failed: (m_Type == V_DOUBLE)", FailureOf([&] { nil.ToDouble(); }));
    EXPECT_EQ("Assertion failed: (m_Type == V_STRING)", FailureOf([&] { copy.ToString(); }));
    EXPECT_EQ("Assertion failed: (m_Type == V_BOOL)", FailureOf([&] { Variant("x").ToBool(); }));
}

TEST_F(ValueAccessTest, StackSlotsConvertByScriptType)
{
    Run("n, s, b = 75, 'a\\0b', false");
    lua_getglobal(L(), "n");
    lua_getglobal(L(), "s");
    lua_getglobal(L(), "b");
    lua_pushnil(L());
    EXPECT_EQ(Variant(75.0), MakoLuaState::GetVariant(State(), -4));
    EXPECT_EQ(Variant(std::string("a\0b", 3)), MakoLuaState::GetVariant(State(), -3));
    EXPECT_EQ(Variant(false), MakoLuaState::GetVariant(State(), -2));
    EXPECT_TRUE(MakoLuaState::GetVariant(State(), -1).IsNil());
    lua_newtable(L());
    EXPECT_EQ("Could not convert type table to a Variant.",
              FailureOf([&] { MakoLuaState::GetVariant(State(), -1); }));
    lua_settop(L(), 0);
}

TEST_F(ValueAccessTest, StoreKeepsNumbersAndTextsExactly)
{
    Run("t = {}");
    MakoLuaState::Store(State(), "t.small", Variant(1e-7));
    MakoLuaState::Store(State(), "t['name']", Variant("Ann \"Ace\" \\ \n"));
    MakoLuaState::Store(State(), "t.flag", Variant(true));
    EXPECT_EQ(1e-7, Global("t")["small"].GetNumber());
    EXPECT_EQ("Ann \"Ace\" \\ \n", Global("t")["name"].ToString());
    EXPECT_TRUE(Global("t")["flag"].GetBoolean());
    MakoLuaState::Store(State(), "t.flag", Variant());
    EXPECT_TRUE(Global("t")["flag"].IsNil());

    // A location that cannot be assigned fails and leaves the stack clean.
    EXPECT_THROW(MakoLuaState::Store(State(), "missing.x", Variant(1.0)), ScriptError);
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST_F(ValueAccessTest, ReadersTakeTheirKindOrAFunctionGivingIt)
{
    Run("v = { n = 7.9, f = function() return 'made' end, b = true, bad = {},"
        " nb = function() return 3 end }");
    LuaObject v = Global("v");
    EXPECT_EQ(7, ReadIntegerFromObject(v["n"]));
    EXPECT_DOUBLE_EQ(7.9, ReadNumberFromObject(v["n"]));
    EXPECT_EQ("made", ReadStringFromObject(v["f"]));
    EXPECT_TRUE(ReadBooleanFromObject(v["b"]));
    EXPECT_EQ(3, ReadIntegerFromObject(v["nb"]));

    int marker = 0;
    LuaObject pointer;
    pointer.AssignLightUserData(State(), &marker);
    EXPECT_EQ(&marker, ReadPointerFromObject(pointer));

    EXPECT_EQ("Object is not a boolean, but rather a table.",
              FailureOf([&] { ReadBooleanFromObject(v["bad"]); }));
    EXPECT_EQ("Object is not a boolean, but rather a number.",
              FailureOf([&] { ReadBooleanFromObject(v["nb"]); }));
    EXPECT_EQ("Object is not a number, but rather a table.",
              FailureOf([&] { ReadIntegerFromObject(v["bad"]); }));
    EXPECT_NE(std::string::npos, FailureOf([&] {
                                     ReadStringFromObject(v["n"]);
                                 }).find("Object is not a string, but rather a number."));
    EXPECT_NE(std::string::npos, FailureOf([&] {
                                     ReadNumberFromObject(v["missing"]);
                                 }).find("Object is not a number, but rather a nil."));
}

TEST_F(ValueAccessTest, AFunctionADataFileMadeIsNeverCalledByAReader)
{
    // A data file leaves functions in a table the game reads later, outside its budget.
    Run("Left = {}");
    LuaObject environment = DataScript::MakeEnvironment(State(), {"Left"});
    std::string error;
    ASSERT_EQ(0, DataScript::Run(State(),
                                 "Left.n = function() Left.called = true return 3 end\n"
                                 "Left.point = { r = Left.n, theta = 0, x = Left.n, y = 1 }\n"
                                 "Left.insert = table.insert",
                                 "=left", environment, "test file", error))
        << error;
    const LuaObject left = Global("Left");
    const std::string refused = "Object is not a number, but rather a function a data file made.";
    EXPECT_EQ(refused, FailureOf([&] { ReadIntegerFromObject(left["n"]); }));
    EXPECT_EQ(refused, FailureOf([&] { ReadNumberFromObject(left["insert"]); }));
    Point<int> cartesian;
    EXPECT_NE(std::string::npos,
              FailureOf([&] { cartesian.SetPoint(left["point"]); }).find("a data file made"));
    Point<float> polar;
    EXPECT_NE(std::string::npos,
              FailureOf([&] { polar.SetPoint(left["point"]); }).find("a data file made"));
    EXPECT_TRUE(left["called"].IsNil());
}
