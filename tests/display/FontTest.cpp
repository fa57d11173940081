// Fonts opened from the font files of the game's archive through the resource manager.
#include "display/Font.h"

#include "PackFontsFixture.h"
#include "core/ClassManager.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PropertyType.h"
#include "display/FontCache.h"
#include "lua/MakoLuaState.h"
#include "resources/FileReader.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsMappedFileReader.h"

#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

using LuaPlus::LuaObject;

namespace {

class FontTest : public PackFontsFixture
{
protected:
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

    // The cache's key for a font file resource of the archive.
    FontCache::Key KeyOf(const std::string& name, int pointSize)
    {
        ResourceInfo* info = m_Resources->FindInfo(name);
        FontCache::Key key;
        info->GetReader()->Read(info->Name(), key.data, key.size);
        key.pointSize = pointSize;
        return key;
    }
};

// Whether two renderings have the same size and the same pixels.
bool SamePixels(SDL_Surface* a, SDL_Surface* b)
{
    if (a->w != b->w || a->h != b->h || a->format->BitsPerPixel != b->format->BitsPerPixel)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(a->w) * a->format->BytesPerPixel;
    for (int y = 0; y < a->h; ++y) {
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                        static_cast<Uint8*>(b->pixels) + y * b->pitch, rowBytes) != 0)
            return false;
    }
    return true;
}

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

// A text SDL_ttf would refuse (nothing before a NUL, a glyph it cannot find a width for)
// never ends the game: it is measured and drawn as nothing, and what follows a NUL is never
// drawn, so measuring and drawing agree.
TEST_F(FontTest, TextsThatCannotBeDrawnAreDrawnAsNothing)
{
    Font mono("DejaVuSansMono.ttf", 16, 0);
    const int height = mono.GetTextSize("A").y;
    SDL_Color black = {0, 0, 0, 0};
    for (const std::string& text : {std::string(1, '\0'), std::string("\0|Q()|", 6)}) {
        EXPECT_EQ(0, mono.GetTextSize(text).x);
        SDL_Surface* drawn = mono.RenderText_Blended(text, black);
        ASSERT_NE(nullptr, drawn);
        EXPECT_EQ(0, drawn->w);
        EXPECT_EQ(height, drawn->h);
        SDL_FreeSurface(drawn);
    }
    const std::string cut("ab\0cd", 5);
    EXPECT_EQ(mono.GetTextSize("ab").x, mono.GetTextSize(cut).x);
    SDL_Surface* drawn = mono.RenderText_Blended(cut, black);
    ASSERT_NE(nullptr, drawn);
    EXPECT_EQ(mono.GetTextSize("ab").x, drawn->w);
    SDL_FreeSurface(drawn);
}

// A text too wide for a picture (SDL_ttf refuses it) is drawn as nothing, and the refusal is
// said once, through the reporter of the pack's problems, naming the font, so the level check
// hears it as the game logs it.
TEST_F(FontTest, ATextTooWideToDrawIsNamedOnceThroughTheReporter)
{
    std::vector<DataIssue> heard;
    DataReport::Listener previous =
        DataReport::SetListener([&heard](const DataIssue& issue) { heard.push_back(issue); });
    Font mono("DejaVuSansMono.ttf", 16, 0);
    const std::string wide(20000, 'M');
    SDL_Color black = {0, 0, 0, 0};
    for (int i = 0; i < 2; ++i) {
        SDL_Surface* drawn = mono.RenderText_Blended(wide, black);
        ASSERT_NE(nullptr, drawn);
        EXPECT_EQ(0, drawn->w);
        SDL_FreeSurface(drawn);
    }
    DataReport::SetListener(std::move(previous));
    ASSERT_EQ(1u, heard.size());
    EXPECT_TRUE(heard[0].ofPack && heard[0].warning);
    EXPECT_EQ("DejaVuSansMono.ttf", heard[0].resource);
    EXPECT_EQ(0u, heard[0].text.find("the font DejaVuSansMono.ttf could not draw the text \"MMM"))
        << heard[0].text;
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

// A font file of the pack that cannot be opened (cut short) is named once in the log, and
// the first other font file of the pack that opens stands in for it: its texts still show.
TEST_F(FontTest, ADamagedFontFileIsNamedOnceAndAnotherOfThePackStandsIn)
{
    bbtest::TempHome home;
    ResourceInfo* good = m_Resources->FindInfo("DejaVuSans.ttf");
    const void* data = nullptr;
    uint32_t size = 0;
    good->GetReader()->Read(good->Name(), data, size);
    const std::string path = home.Path() + "/Cut.ttf";
    bbtest::WriteFile(path, std::string(static_cast<const char*>(data), 3000));
    m_Resources->AddInfo("AACut.ttf",
                         new ResourceInfo(path, std::make_unique<WindowsMappedFileReader>()));

    const std::string logPath = home.Path() + "/font.log";
    bbtest::WriteFile(logPath, "");
    const std::string previousLog = GetLogFilePath();
    SetLogFilePath(logPath);
    Font first("AACut.ttf", 12, 0);
    Font larger("AACut.ttf", 20, 0);
    Font otherFace("AACut.ttf", 12, 1);
    SetLogFilePath(previousLog);
    EXPECT_GT(first.GetTextSize("Hi").x, 0);
    EXPECT_GT(larger.GetTextSize("Hi").x, first.GetTextSize("Hi").x);
    EXPECT_EQ(first.GetTextSize("Hi"), otherFace.GetTextSize("Hi"));
    EXPECT_TRUE(m_Resources->IsDamaged("AACut.ttf"));
    const std::string log = bbtest::ReadFile(logPath);
    const std::string line = "Warning: the resource \"AACut.ttf\" could not be loaded (it is "
                             "not a font file that can be opened); the game plays without it\n";
    EXPECT_NE(std::string::npos, log.find(line)) << log;
    EXPECT_EQ(log.find(line), log.rfind(line)) << log;
}

// Fonts of one file, size and face share one open font, however they are made, and draw
// the same pixels whichever of them draws first.
TEST_F(FontTest, TheSameFontIsOpenedOnceAndDrawsTheSame)
{
    const long opensBefore = FontCache::OpensSoFar();
    const int openBefore = FontCache::OpenFonts();
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "Resources.SharedFont = {fontName = 'DejaVuSans.ttf', fontSize = 17}");
    Font first("DejaVuSans.ttf", 17, 0);
    Font second(Table("'SharedFont'"));
    Font copy(first);
    Font resized("DejaVuSans.ttf", 30, 0);
    resized.SetPointSize(17);
    EXPECT_EQ(opensBefore + 2, FontCache::OpensSoFar());
    EXPECT_EQ(openBefore + 1, FontCache::OpenFonts());

    const SDL_Color gold = {230, 190, 40, 0};
    SDL_Surface* cold = first.RenderText_Blended("Bumper Gold 1234", gold);
    SDL_Surface* warm = second.RenderText_Blended("Bumper Gold 1234", gold);
    SDL_Surface* again = copy.RenderText_Blended("Bumper Gold 1234", gold);
    ASSERT_TRUE(cold && warm && again);
    EXPECT_TRUE(SamePixels(cold, warm));
    EXPECT_TRUE(SamePixels(cold, again));
    SDL_FreeSurface(cold);
    SDL_FreeSurface(warm);
    SDL_FreeSurface(again);

    // A change to one of them leaves the others as they were.
    const Point<int> size = second.GetTextSize("Bumper");
    first.SetPointSize(34);
    EXPECT_GT(first.GetTextSize("Bumper").x, size.x);
    EXPECT_EQ(size, second.GetTextSize("Bumper"));
    EXPECT_EQ(size, copy.GetTextSize("Bumper"));
}

TEST_F(FontTest, FontsThatDifferInFileOrSizeAreNotShared)
{
    const long opensBefore = FontCache::OpensSoFar();
    Font sans("DejaVuSans.ttf", 16, 0);
    Font larger("DejaVuSans.ttf", 18, 0);
    Font mono("DejaVuSansMono.ttf", 16, 0);
    EXPECT_EQ(opensBefore + 3, FontCache::OpensSoFar());
    EXPECT_NE(sans.GetTextSize("Bumper"), larger.GetTextSize("Bumper"));
    EXPECT_NE(sans.GetTextSize("iiii"), mono.GetTextSize("iiii"));
    // Asked for by key, a font a Font holds open is the one handed out.
    std::shared_ptr<TTF_Font> again = FontCache::Open(KeyOf("DejaVuSans.ttf", 18));
    ASSERT_TRUE(again);
    EXPECT_EQ(opensBefore + 3, FontCache::OpensSoFar());
}

// A shared font stays open while any user is left, whichever goes first, and closes
// with the last; asking again then opens it anew.
TEST_F(FontTest, ASharedFontClosesWithItsLastUser)
{
    const int openBefore = FontCache::OpenFonts();
    const SDL_Color white = {255, 255, 255, 0};
    std::unique_ptr<Font> first(new Font("DejaVuSansMono.ttf", 21, 0));
    SDL_Surface* before = first->RenderText_Blended("Level 12", white);
    std::unique_ptr<Font> second(new Font("DejaVuSansMono.ttf", 21, 0));
    first.reset();
    EXPECT_EQ(openBefore + 1, FontCache::OpenFonts());
    SDL_Surface* after = second->RenderText_Blended("Level 12", white);
    ASSERT_TRUE(before && after);
    EXPECT_TRUE(SamePixels(before, after));
    SDL_FreeSurface(before);
    SDL_FreeSurface(after);

    // Moving the last user to another size closes the old size.
    second->SetPointSize(22);
    EXPECT_EQ(openBefore + 1, FontCache::OpenFonts());
    second.reset();
    EXPECT_EQ(openBefore, FontCache::OpenFonts());

    const long opensBefore = FontCache::OpensSoFar();
    Font reopened("DejaVuSansMono.ttf", 21, 0);
    EXPECT_EQ(opensBefore + 1, FontCache::OpensSoFar());
    EXPECT_GT(reopened.GetTextSize("Level 12").x, 0);
}

// A font outlives the resource entry it was opened from: a script that replaces the entry
// leaves every font of it drawing as before. Bytes of another file at an address used
// before are another font.
TEST_F(FontTest, FontsOutliveTheirEntryAndReusedAddressesAreNotMistaken)
{
    const SDL_Color white = {255, 255, 255, 0};
    Font bold("DejaVuSans-Bold.ttf", 19, 0);
    const Point<int> size = bold.GetTextSize("Player One");
    SDL_Surface* before = bold.RenderText_Blended("Player One", white);
    Font reference("DejaVuSans-Bold.ttf", 20, 0);
    MakoLuaState::LoadString(GetGlobalLuaState(), "Resources['DejaVuSans-Bold.ttf'] = {}");
    // Letters not drawn before are read from the file's bytes now.
    EXPECT_GT(bold.GetTextSize("Quartz & Jam").x, 0);
    EXPECT_GT(reference.GetTextSize("Quartz & Jam").x, bold.GetTextSize("Quartz & Jam").x);
    EXPECT_EQ(size, bold.GetTextSize("Player One"));
    SDL_Surface* after = bold.RenderText_Blended("Player One", white);
    ASSERT_TRUE(before && after);
    EXPECT_TRUE(SamePixels(before, after));
    SDL_FreeSurface(before);
    SDL_FreeSurface(after);

    // One buffer holds one font file, then another of the same length.
    const FontCache::Key sansKey = KeyOf("DejaVuSans.ttf", 16);
    const FontCache::Key monoKey = KeyOf("DejaVuSansMono.ttf", 16);
    std::vector<unsigned char> buffer(std::max(sansKey.size, monoKey.size));
    std::memcpy(buffer.data(), sansKey.data, sansKey.size);
    FontCache::Key reused = sansKey;
    reused.data = buffer.data();
    reused.size = std::uint32_t(buffer.size());
    std::shared_ptr<TTF_Font> sans = FontCache::Open(reused);
    ASSERT_TRUE(sans);
    int sansWidth = 0, monoWidth = 0, h = 0;
    ASSERT_EQ(0, TTF_SizeUTF8(sans.get(), "iiii", &sansWidth, &h));
    std::fill(buffer.begin(), buffer.end(), 0);
    std::memcpy(buffer.data(), monoKey.data, monoKey.size);
    std::shared_ptr<TTF_Font> mono = FontCache::Open(reused);
    ASSERT_TRUE(mono);
    EXPECT_NE(sans, mono);
    ASSERT_EQ(0, TTF_SizeUTF8(mono.get(), "iiii", &monoWidth, &h));
    EXPECT_GT(monoWidth, sansWidth);
    // The first still reads its own copy, also for letters it has not drawn yet.
    std::fill(buffer.begin(), buffer.end(), 0xEE);
    int fromCopy = 0, fromFile = 0;
    ASSERT_EQ(0, TTF_SizeUTF8(sans.get(), "Wmx", &fromCopy, &h));
    Font file("DejaVuSans.ttf", 16, 0);
    fromFile = file.GetTextSize("Wmx").x;
    EXPECT_EQ(fromFile, fromCopy);
}

} // namespace
