// Colours from names and component tables, the named-colour table and the script function
// that defines colours.
#include "core/Exception.h"
#include "geometry/Colors.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

using LuaPlus::LuaObject;

namespace {

class ColorTest : public bbtest::LuaFixture
{
protected:
    Color From(const std::string& expression)
    {
        return Color(bbtest::EvalLua(expression, State()));
    }
};

TEST_F(ColorTest, ColoursFromNamesAndComponentTables)
{
    EXPECT_EQ(Color::FromRGBA(0, 0, 0, 255), Color());
    EXPECT_EQ(Color::FromRGBA(255, 250, 0, 255), From("'Gold'"));
    EXPECT_EQ(Color::FromRGBA(1, 2, 3, 255), From("{1, 2, 3}"));
    EXPECT_EQ(Color::FromRGBA(1, 2, 3, 0), From("{1, 2, 3, 0}"));
    EXPECT_EQ(Color::FromRGBA(0, 0, 0, 255), From("{256, 0, 0}"));
    EXPECT_EQ(Color::FromRGBA(255, 7, 0, 255), From("{-1, 7.9}"));
    EXPECT_EQ(Color::FromRGBA(217, 58, 15, 255), Colors::ByName("Brick"));
    EXPECT_EQ(Color::FromRGBA(217, 58, 16, 255), Colors::ByName("Atari"));

    // Components convert like script numbers: numeric strings count, other values are 0;
    // only a number is taken as the alpha.
    EXPECT_EQ(Color::FromRGBA(12, 0, 0, 255), From("{'12', 'x', {}, '7'}"));

    for (const char* bad : {"12", "true", "'NoSuchColour'"}) {
        try {
            From(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(bad[0] == '\''
                          ? std::string("\"NoSuchColour\" is not the name of a colour.")
                          : "A colour name or a table {r, g, b} is needed, not " +
                                std::string(bad[0] == 't' ? "the boolean true." : "the number 12."),
                      e.GetMessage())
                << bad;
            EXPECT_EQ(bad[0] == '\'' ? "Colors::ByName" : "Color::SetColor", e.GetFunction())
                << bad;
        }
    }
}

TEST_F(ColorTest, ScriptsDefineAndRedefineNamedColours)
{
    const Color savedLight = Colors::ByName("LightGreen");
    const Color savedMedium = Colors::ByName("MediumGreen");
    Run("Colors{LightGreen = {100, 250, 100}, Shade = {1, 2, 3, 4}, Alias = 'Gold', n = 5,"
        " [1] = {9, 9, 9}}");
    EXPECT_EQ(Color::FromRGBA(100, 250, 100, 255), Colors::ByName("LightGreen"));
    EXPECT_EQ(savedMedium, Colors::ByName("MediumGreen"));
    EXPECT_EQ(Color::FromRGBA(1, 2, 3, 4), Colors::ByName("Shade"));
    EXPECT_EQ(Colors::ByName("Gold"), Colors::ByName("Alias"));
    EXPECT_EQ(0u, Colors::GetTable().count("n"));

    // A failing definition raises out of the script call.
    EXPECT_THROW(Run("Colors{Broken = 'NotAColour'}"), std::exception);
    EXPECT_EQ(0u, Colors::GetTable().count("Broken"));

    Colors::Define("LightGreen", savedLight);
    Colors::GetTable().erase("Shade");
    Colors::GetTable().erase("Alias");
}

TEST_F(ColorTest, ColoursWriteBackAsNamesOrTables)
{
    LuaObject out(State());
    Color gray = Color::FromRGBA(48, 48, 48, 255);
    gray.ToLuaObject(out, true);
    ASSERT_TRUE(out.IsString());
    EXPECT_STREQ("VeryDarkGray", out.GetString());

    Color translucent = Color::FromRGBA(48, 48, 48, 254);
    translucent.ToLuaObject(out, true);
    ASSERT_TRUE(out.IsTable());
    EXPECT_EQ(254, out[4].GetInteger());

    gray.ToLuaObject(out, false);
    ASSERT_TRUE(out.IsTable());
    EXPECT_EQ(48, out[1].GetInteger());
    EXPECT_TRUE(out[4].IsNil());
    EXPECT_EQ(gray, Color(out));

    // Shared values give one name consistently.
    Colors::Define("ZZBlack", Color(0, 0, 0));
    Palette::Black.ToLuaObject(out, true);
    EXPECT_STREQ("Black", out.GetString());
    Colors::GetTable().erase("ZZBlack");
}

} // namespace
