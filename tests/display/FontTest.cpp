// Fonts opened from the font files of the game's archive through the resource manager.
#include "display/Font.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceManager.h"

#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

using LuaPlus::LuaObject;

namespace {

class FontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string archive = std::string(BB_BINARY_DIR) + "/bumperlux.fun";
        if (!std::ifstream(archive))
            GTEST_SKIP() << "no asset archive at " << archive;
        bbtest::PrepareEngine();
        if (!TTF_WasInit()) {
            ASSERT_EQ(0, TTF_Init());
        }
        m_Resources.reset(new ResourceManager(GetGlobalLuaState()));
        m_Resources->AddScanner(new PhysFSResourceScanner(archive));
        m_Resources->ScanAll();
    }
    void TearDown() override { m_Resources.reset(); }

    static LuaObject Table(const std::string& expression)
    {
        MakoLuaState::LoadString(GetGlobalLuaState(), "_fonttest = " + expression);
        return GetGlobalLuaState()->GetGlobal("_fonttest");
    }

    template <typename Fn> static std::string FailureOf(Fn fn)
    {
        try {
            fn();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    std::unique_ptr<ResourceManager> m_Resources;
};

TEST_F(FontTest, OpensOnceNameAndSizeAreKnownAndReopensOnChanges)
{
    Font font(Table("{fontName = 'DejaVuSans.ttf'}"));
    EXPECT_FALSE(font.IsOpen());
    EXPECT_EQ("Assertion failed: (m_FontObject != 0)\nMessage: The font DejaVuSans.ttf has no "
              "fontSize, so it is not open.",
              FailureOf([&] { font.GetTextSize("x"); }));

    font.ApplyIntProperty("fontSize", 14);
    ASSERT_TRUE(font.IsOpen());
    const Point<int> small = font.GetTextSize("Bumper");
    EXPECT_GT(small.x, 20);
    EXPECT_GT(small.y, 10);

    font.ApplyIntProperty("fontIndex", 0); // any change reopens
    EXPECT_EQ(14, font.GetPointSize());
    // A face the file does not have: the open font stays.
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, 14, 1",
              FailureOf([&] { font.ApplyIntProperty("fontIndex", 1); }));
    EXPECT_TRUE(font.IsOpen());
    EXPECT_EQ(0, font.GetFontIndex());

    font.SetPointSize(28);
    EXPECT_GT(font.GetTextSize("Bumper").x, small.x);

    Font copy(font);
    EXPECT_EQ("DejaVuSans.ttf", copy.GetFontName());
    EXPECT_EQ(28, copy.GetPointSize());
    EXPECT_EQ(font.GetTextSize("Bumper"), copy.GetTextSize("Bumper"));
}

// Sizes outside 1..500 points are refused with the font's name, however they are given,
// before anything is opened or allocated.
TEST_F(FontTest, PointSizesAreBounded)
{
    const std::string range = " (point sizes run from 1 to 500)";
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, 0, 0" + range,
              FailureOf([] { Font font(Table("{fontName = 'DejaVuSans.ttf', fontSize = 0}")); }));
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, -4, 0" + range,
              FailureOf([] { Font font(Table("{fontSize = -4, fontName = 'DejaVuSans.ttf'}")); }));
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, 10000, 0" + range,
              FailureOf([] { Font("DejaVuSans.ttf", 10000, 0); }));

    Font font("DejaVuSans.ttf", 500, 0);
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, 501, 0" + range,
              FailureOf([&] { font.SetPointSize(501); }));
    EXPECT_EQ("Could not set font: DejaVuSans.ttf, 0, 0" + range,
              FailureOf([&] { font.ApplyIntProperty("fontSize", 0); }));
    EXPECT_EQ(500, font.GetPointSize());
    font.SetPointSize(1);
    EXPECT_TRUE(font.IsOpen());
}

// Texts are UTF-8: an accented letter is one glyph, measured and drawn as such.
TEST_F(FontTest, TextsAreUtf8)
{
    Font mono("DejaVuSansMono.ttf", 16, 0);
    const int cell = mono.GetTextSize("e").x;
    EXPECT_EQ(3 * cell, mono.GetTextSize("Zo\xC3\xAB").x);
    EXPECT_EQ(2 * cell, mono.GetTextSize("\xE2\x82\xAC\xC3\x9F").x); // euro sign, sharp s
    SDL_Color black = {0, 0, 0, 0};
    SDL_Surface* text = mono.RenderText_Blended("Zo\xC3\xAB", black);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(3 * cell, text->w);
    SDL_FreeSurface(text);

    EXPECT_TRUE(mono.ProvidesGlyph(0xEB));
    EXPECT_TRUE(mono.ProvidesGlyph('Z'));
    EXPECT_FALSE(mono.ProvidesGlyph(0xE000)); // private use
    EXPECT_FALSE(mono.ProvidesGlyph(0x1F600));
}

TEST_F(FontTest, FontsFromResourcesAndTheirFailures)
{
    MakoLuaState::LoadString(
        GetGlobalLuaState(),
        "Resources.HUDFont = {fontName = 'DejaVuSansMono.ttf', fontSize = 18}");
    Font hud(Table("'HUDFont'"));
    ASSERT_TRUE(hud.IsOpen());
    EXPECT_EQ("DejaVuSansMono.ttf", hud.GetFontName());
    // Monospaced: every character is as wide as any other.
    EXPECT_EQ(hud.GetTextSize("iiii").x, hud.GetTextSize("MMMM").x);

    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* text = hud.RenderText_Blended("Hi", white);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(hud.GetTextSize("Hi").x, text->w);
    SDL_FreeSurface(text);
    SDL_Surface* empty = hud.RenderText_Blended("", white);
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0, empty->w);
    SDL_FreeSurface(empty);

    EXPECT_EQ("Could not find resource info with name = Missing.ttf",
              FailureOf([] { Font("Missing.ttf", 12, 0); }));
    EXPECT_EQ("Assertion failed: (Font::IsFont(params))",
              FailureOf([] { Font font(Table("12")); }));
    // A file that is not a font.
    EXPECT_EQ("Could not set font: TestSheet.png, 12, 0",
              FailureOf([] { Font("TestSheet.png", 12, 0); }));
}

} // namespace
