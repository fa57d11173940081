// The level check over a pack whose fonts and sounds promise huge work: it opens every font
// at the sizes the game uses and decodes every sound as the game does, under the game's
// bounds, and names each file the game would refuse or mend, one line each.
#include "support/CostlyFiles.h"
#include "support/LevelCheckRun.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(CostlyPackFilesCheck, FontsOutOfProportionDamagedGlyphsAndEndlessSoundsAreNamed)
{
    const std::string assets = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(assets + "/Levels/Altiplano.lua", "asset pack's levels");
    bbtest::TempHome home;
    const std::string pack = home.Path() + "/pack";
    fs::copy(assets, pack, fs::copy_options::recursive);
    for (const auto& file : fs::directory_iterator(pack + "/Levels"))
        if (file.path().filename() != "Altiplano.lua")
            fs::remove(file.path());
    const std::string bold = bbtest::ReadFile(pack + "/Fonts/DejaVuSans-Bold.ttf");
    const std::string serif = bbtest::ReadFile(pack + "/Fonts/DejaVuSerif.ttf");
    bbtest::WriteFile(
        pack + "/Fonts/DejaVuSans-Bold.ttf",
        bbtest::PatchFont(bold, {"unitsPerEm=16", bbtest::FontField::Field, "head", 18, 2, 16}));
    bbtest::WriteFile(pack + "/Fonts/DejaVuSerif.ttf",
                      bbtest::PatchFont(serif, {"e", bbtest::FontField::GlyphContours, "glyf", 0, 2,
                                                0x7FFF, 'e'}));
    bbtest::WriteFile(pack + "/Sounds/Level/ballAppear.ogg", bbtest::SilentOgg({48000, 2, 3600}));
    bbtest::WriteFile(pack + "/Sounds/Level/paddleAppear.ogg",
                      bbtest::LyingWav({1, 2, 16, 400000}));

    const bbtest::LevelCheckRun run = bbtest::RunLevelCheck(home.Path(), pack);
    ASSERT_NE(-1, run.status) << run.report << run.errors;
    const std::string& report = run.report;
    for (const std::string line :
         {"pack: warning: the resource \"DejaVuSans-Bold.ttf\" could not be loaded (the font is ",
          "pack: warning: the font DejaVuSerif.ttf cannot load its glyph of U+0065",
          "pack: warning: the resource \"ballAppear.ogg\" could not be loaded (the sound lasts "
          "1728",
          "pack: warning: the resource \"paddleAppear.ogg\" could not be loaded (the sound lasts "
          "100000 frames of 2 channel(s) at 1 Hz"}) {
        EXPECT_NE(std::string::npos, report.find(line)) << line << "\n" << report;
        EXPECT_EQ(report.find(line), report.rfind(line)) << "named once: " << line;
    }
}
