// Typed member properties: each value type to and from script values, cut to its width,
// and the member left alone when a value cannot be converted.
#include "ObjectTestSupport.h"

#include "core/Exception.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"

#include <cstdint>
#include <memory>
#include <utility>

using LuaPlus::LuaObject;

namespace objtest {

namespace {

// thing.<name> = <expression>, through the proxy.
void Assign(Thing& thing, const std::string& name, const std::string& expression)
{
    GetGlobalLuaState()->GetGlobals().SetObject("subject", thing.GetLuaObject());
    MakoLuaState::LoadString(GetGlobalLuaState(), "subject." + name + " = " + expression);
}

// The script text of a property's value: a string as is, a table as "{1, 2, 3}" of its
// list part (and ".x .y" for points).
std::string Show(Thing& thing, const std::string& name)
{
    GetGlobalLuaState()->GetGlobals().SetObject("subject", thing.GetLuaObject());
    MakoLuaState::LoadString(
        GetGlobalLuaState(),
        "local v = subject." + name +
            "\n"
            "if type(v) ~= 'table' then shown = tostring(v) return end\n"
            "if v.x ~= nil then shown = v.x .. ',' .. v.y return end\n"
            "local parts = {}\n"
            "for i = 1, #v do\n"
            "  local e = v[i]\n"
            "  parts[i] = type(e) == 'table' and ('(' .. e.x .. ',' .. e.y .. ')')"
            " or tostring(e)\n"
            "end\n"
            "shown = '{' .. table.concat(parts, ', ') .. '}'");
    return GetGlobalLuaState()->GetGlobal("shown").ToString();
}

} // namespace

TEST_F(ObjectTest, ColoursReadBackByNameOrComponents)
{
    Thing thing;
    thing.m_Tint = Color::FromRGBA(255, 128, 0, 255);
    EXPECT_EQ("MildOrange", Show(thing, "tint"));
    thing.m_Tint = Color::FromRGBA(1, 2, 3, 255);
    EXPECT_EQ("{1, 2, 3}", Show(thing, "tint"));
    thing.m_Tint = Color::FromRGBA(1, 2, 3, 128);
    EXPECT_EQ("{1, 2, 3, 128}", Show(thing, "tint"));

    Assign(thing, "tint", "{300, 0, 0}");
    EXPECT_EQ(Color::FromRGBA(44, 0, 0, 255), thing.m_Tint);
    Assign(thing, "tint", "'Gold'");
    EXPECT_EQ(Color::FromRGBA(255, 250, 0, 255), thing.m_Tint);
    EXPECT_EQ("TestThing: \"tint\" needs a colour name or a table {r, g, b}, not the boolean true",
              MessageOf([&] { Assign(thing, "tint", "true"); }));
    EXPECT_EQ(Color::FromRGBA(255, 250, 0, 255), thing.m_Tint);
}

TEST_F(ObjectTest, NumbersAreCutToTheirMemberWidth)
{
    Thing thing;
    Assign(thing, "count", "function() return 7 end");
    EXPECT_EQ(7, thing.m_Count);
    Assign(thing, "count", "-12.9");
    EXPECT_EQ(-12, thing.m_Count);
    Assign(thing, "alpha", "300");
    EXPECT_EQ(44, thing.m_Alpha);
    EXPECT_EQ("44", Show(thing, "alpha"));
    Assign(thing, "mask", "4294967295");
    EXPECT_EQ(0xFFFFFFFFu, thing.m_Mask);
    EXPECT_EQ("4294967295", Show(thing, "mask"));
    Assign(thing, "mask", "-1");
    EXPECT_EQ(0xFFFFFFFFu, thing.m_Mask);
    // Numbers no integer holds are held before they are converted (no undefined conversion):
    // an unsigned member takes the held value modulo 2^32, NaN counts as 0.
    const std::uint32_t heldHigh = std::uint32_t(std::int64_t(9e18) & 0xFFFFFFFF);
    const std::uint32_t heldLow = std::uint32_t(std::int64_t(-9e18) & 0xFFFFFFFF);
    for (const auto& [far, mask] : {std::pair<const char*, std::uint32_t>{"1e308", heldHigh},
                                    {"-1/0", heldLow},
                                    {"0/0", 0u}}) {
        Assign(thing, "mask", far);
        EXPECT_EQ(mask, thing.m_Mask) << far;
        Assign(thing, "count", far);
    }
    Assign(thing, "scale", "0.5");
    EXPECT_FLOAT_EQ(0.5f, thing.m_Scale);
    EXPECT_THROW(Assign(thing, "weight", "'2.25'"), Exception); // a string is not a number
    EXPECT_EQ(0.0, thing.m_Weight);
}

TEST_F(ObjectTest, WrongValuesFailInTheReaderAndLeaveTheMemberAlone)
{
    Thing thing;
    thing.m_Count = 5;
    EXPECT_EQ("Object is not a number, but rather a table. TestThing: \"count\" needs a number, "
              "not a table.",
              MessageOf([&] { Assign(thing, "count", "{}"); }));
    EXPECT_EQ(5, thing.m_Count);
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     Assign(thing, "flag", "1");
                                 }).find("\"flag\" needs a boolean, not the number 1"));
    EXPECT_FALSE(thing.m_Flag);
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     Assign(thing, "label", "12");
                                 }).find("\"label\" needs a string, not the number 12"));
    EXPECT_EQ("plain", thing.m_Label);
    Assign(thing, "label", "'x'");
    EXPECT_EQ("x", thing.m_Label);

    // An unsigned member fails as a signed one does, and keeps its value.
    thing.m_Mask = 9;
    EXPECT_EQ("Object is not a number, but rather a string. TestThing: \"mask\" needs a number, "
              "not the string \"lots\".",
              MessageOf([&] { Assign(thing, "mask", "'lots'"); }));
    EXPECT_EQ(9u, thing.m_Mask);
    Assign(thing, "mask", "function() return 12 end");
    EXPECT_EQ(12u, thing.m_Mask);
}

TEST_F(ObjectTest, GeometryAndScriptValuesRoundTrip)
{
    Thing thing;
    Assign(thing, "bounds", "{10, -5, 640, 480}");
    EXPECT_EQ("{10, -5, 640, 480}", Show(thing, "bounds"));
    // Values the 16-bit fields cannot hold, and points lacking a coordinate, are refused
    // naming the property and the field; the member keeps its value.
    EXPECT_EQ("The rectangle \"bounds\" needs \"w\" in "
              "0..65535, not 65539.",
              MessageOf([&] { Assign(thing, "bounds", "{0, 0, 65536 + 3, 1}"); }));
    EXPECT_EQ("The rectangle \"bounds\" needs \"x\" in "
              "-32768..32767, not -40000.",
              MessageOf([&] { Assign(thing, "bounds", "{-40000, 0, 1, 1}"); }));
    EXPECT_EQ("{10, -5, 640, 480}", Show(thing, "bounds"));
    thing.m_Offset = Point<float>(7, 7);
    EXPECT_EQ("The point \"offset\" needs a number for "
              "\"y\".",
              MessageOf([&] { Assign(thing, "offset", "{x = 10}"); }));
    EXPECT_EQ("The point \"cell\" needs a number for \"x\".",
              MessageOf([&] { Assign(thing, "cell", "{x = 'x', y = 1}"); }));
    EXPECT_EQ(Point<float>(7, 7), thing.m_Offset);

    Assign(thing, "offset", "{x = 1.5, [2] = 5}");
    EXPECT_EQ(Point<float>(1.5f, 5.0f), thing.m_Offset);
    Assign(thing, "cell", "{r = 2, theta = 0}");
    EXPECT_EQ(Point<int>(2, 0), thing.m_Cell);
    EXPECT_EQ("2,0", Show(thing, "cell"));
    Run("same = subject.cell == subject.cell");
    EXPECT_TRUE(Global("same").GetBoolean());

    Assign(thing, "shape", "{{0, 0}, {4, 0}, {4, 3}}");
    EXPECT_EQ(3u, thing.m_Shape.GetNumVertices());
    EXPECT_EQ("{(0,0), (4,0), (4,3)}", Show(thing, "shape"));
    EXPECT_THROW(Assign(thing, "shape", "{1, 2}"), Exception);
    EXPECT_EQ(3u, thing.m_Shape.GetNumVertices());

    Assign(thing, "data", "{answer = 42}");
    Run("answer = subject.data.answer");
    EXPECT_EQ(42, Global("answer").GetInteger());
    EXPECT_EQ("nil", Show(*std::make_unique<Thing>(), "data"));
}

TEST_F(ObjectTest, PropertyTypesAreFoundByIdAndMembersAreCheckedAgainstTheirClass)
{
    for (int id = PROPERTY_BOOL; id <= PROPERTY_UINT32; ++id)
        EXPECT_EQ(id, GetPropertyType(id).id);
    EXPECT_THROW(GetPropertyType(14), Exception);
    EXPECT_THROW(GetPropertyType(0), Exception);

    // An accessor declared for one class used on an object of another raises, not corrupts.
    std::unique_ptr<PropertyAccessor> model(
        MakeMemberAccessor<PROPERTY_STRING>(&Gadget::m_Model, "model"));
    Thing plain;
    LuaObject value;
    EXPECT_THROW(GetMemberProperty(plain, value, *model), Exception);
}

} // namespace objtest
