// The pack's fonts with a header field or a glyph set to its extremes (units per em, the
// font's box, ascent, descent and line gap by both tables, every advance, a damaged or
// far-reaching glyph), opened by name at sizes the game uses and drawn as the game draws
// texts: each font opens in proportion or is refused and named once while another font of
// the pack stands in, texts always draw, and no font or text holds more memory than its
// point size allows.
#include "PackFontsFixture.h"

#include "core/DataReport.h"
#include "display/Font.h"
#include "display/FontCache.h"
#include "lua/MakoLuaState.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsMappedFileReader.h"

#include "support/CostlyFiles.h"
#include "support/ResidentMemory.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The most pixels a font in proportion draws a text of `characters` characters in: each
// glyph within the proportion bound on both sides.
long long AllowedPixels(int pointSize, std::size_t characters)
{
    const long long bound = FontCache::kProportion * pointSize + FontCache::kProportionSlack;
    return bound * bound * static_cast<long long>(characters + 1);
}

class FontCostSweep : public PackFontsFixture
{
protected:
    // Adds the bytes as a font file resource named so that it sorts before the pack's own.
    void AddFont(const bbtest::TempHome& home, const std::string& name, const std::string& bytes)
    {
        const std::string path = home.Path() + "/" + std::to_string(++m_Added) + ".ttf";
        bbtest::WriteFile(path, bytes);
        m_Resources->AddInfo(name,
                             new ResourceInfo(path, std::make_unique<WindowsMappedFileReader>()));
    }

    int m_Added = 0;
};

const int kSizes[] = {9, 18, 48, 120};
const std::string kText = "Great Wall 0123 MWg eo \xC3\xA9";

} // namespace

TEST_F(FontCostSweep, EveryExtremeOpensInProportionOrIsRefusedNamedOnceAndTextsStillDraw)
{
    bbtest::TempHome home;
    for (const char* base : {"DejaVuSans-Bold.ttf", "DejaVuSerif.ttf"}) {
        const std::string font = Bytes(base);
        ASSERT_FALSE(font.empty());
        for (const bbtest::FontField& field : bbtest::FontExtremes()) {
            const std::string name = std::string("AA ") + field.name + " " + base;
            SCOPED_TRACE(name);
            const std::string patched = bbtest::PatchFont(font, field);
            ASSERT_NE(font, patched) << "the change found nothing to change";
            AddFont(home, name, patched);
            std::vector<DataIssue> heard;
            DataReport::Listener previous = DataReport::SetListener(
                [&heard](const DataIssue& issue) { heard.push_back(issue); });
            bbtest::ResetPeakResident();
            const long long before = bbtest::PeakResidentKb() * 1024;
            for (int size : kSizes) {
                SCOPED_TRACE(size);
                Font opened(name, size, 0);
                const SDL_Color white = {255, 255, 255, 0};
                for (int i = 0; i < 2; ++i) {
                    SDL_Surface* drawn = opened.RenderText_Blended(kText, white);
                    ASSERT_NE(nullptr, drawn);
                    EXPECT_LE(static_cast<long long>(drawn->w) * drawn->h,
                              AllowedPixels(size, kText.size()));
                    EXPECT_GT(drawn->w, 0) << "the text shows";
                    SDL_FreeSurface(drawn);
                }
            }
            // Fonts of the largest size hold their glyphs' pixels, a few megabytes.
            EXPECT_LE(bbtest::PeakResidentKb() * 1024 - before, 64ll << 20)
                << "bytes held by the fonts and texts";
            DataReport::SetListener(std::move(previous));
            int named = 0;
            for (const DataIssue& issue : heard)
                if (issue.resource == name)
                    ++named;
            EXPECT_LE(named, 1) << "named once";
            if (m_Resources->IsDamaged(name)) {
                EXPECT_EQ(1, named);
            }
        }
    }
}

// Two bytes of a font (its units per em from 2048 to 16) make every glyph 128 times its
// size: the font is refused as it opens, named once with what was measured, and the first
// other font of the pack stands in.
TEST_F(FontCostSweep, AFontOutOfProportionIsRefusedAndAnotherStandsIn)
{
    bbtest::TempHome home;
    const std::string font = Bytes("DejaVuSans-Bold.ttf");
    AddFont(
        home, "AAHuge.ttf",
        bbtest::PatchFont(font, {"unitsPerEm=16", bbtest::FontField::Field, "head", 18, 2, 16}));
    std::vector<DataIssue> heard;
    DataReport::Listener previous =
        DataReport::SetListener([&heard](const DataIssue& issue) { heard.push_back(issue); });
    Font huge("AAHuge.ttf", 18, 0);
    Font again("AAHuge.ttf", 26, 0);
    DataReport::SetListener(std::move(previous));
    Font standIn("DejaVuSans-Bold.ttf", 18, 0);
    EXPECT_EQ(standIn.GetTextSize("Great Wall"), huge.GetTextSize("Great Wall"));
    ASSERT_EQ(1u, heard.size());
    EXPECT_EQ("AAHuge.ttf", heard[0].resource);
    EXPECT_NE(std::string::npos, heard[0].text.find("(the font is ")) << heard[0].text;
    EXPECT_NE(std::string::npos, heard[0].text.find("pixels tall")) << heard[0].text;
    EXPECT_NE(std::string::npos, heard[0].text.find("another font of the pack is used"))
        << heard[0].text;
}

// A glyph that cannot be loaded is left out of every text of its font, named once for the
// font file however many fonts and texts meet it; the rest of the text draws.
TEST_F(FontCostSweep, ADamagedGlyphIsLeftOutAndNamedOnce)
{
    bbtest::TempHome home;
    const std::string font = Bytes("DejaVuSans.ttf");
    AddFont(home, "AAGlyph.ttf",
            bbtest::PatchFont(font,
                              {"e", bbtest::FontField::GlyphContours, "glyf", 0, 2, 0x7FFF, 'e'}));
    std::vector<DataIssue> heard;
    DataReport::Listener previous =
        DataReport::SetListener([&heard](const DataIssue& issue) { heard.push_back(issue); });
    const SDL_Color white = {255, 255, 255, 0};
    for (int i = 0; i < 107; ++i) {
        Font label("AAGlyph.ttf", 12 + i % 3, 0);
        EXPECT_EQ(label.GetTextSize("Hllo"), label.GetTextSize("Hello"));
        SDL_Surface* drawn = label.RenderText_Blended("Hello", white);
        ASSERT_NE(nullptr, drawn);
        EXPECT_EQ(label.GetTextSize("Hllo").x, drawn->w);
        SDL_FreeSurface(drawn);
    }
    DataReport::SetListener(std::move(previous));
    ASSERT_EQ(1u, heard.size());
    EXPECT_EQ("AAGlyph.ttf", heard[0].resource);
    EXPECT_NE(std::string::npos, heard[0].text.find("U+0065")) << heard[0].text;
}
