// A damaged picture is logged once and stands in as an empty image of its frames, however
// it is reached: acquired, cached, or loaded on demand again after its siblings let it go.
#include "ResourceTestSupport.h"

#include "core/Exception.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "resources/ImageFactory.h"
#include "resources/MemoryBudget.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"

#include "support/HostilePictures.h"

#include <csignal>

using namespace bbtest;
using LuaPlus::LuaObject;

namespace {

class DamagedResourceTest : public ResourceFixture
{
protected:
    DamagedResourceTest() { Manager().AddLoader(new SDLImageLoader); }

    ResourceInfo* AddPicture(const std::string& name, const std::string& bytes,
                             const char* metadata = nullptr)
    {
        ResourceInfo* info = AddMemoryEntry(name, "Images/" + name, bytes);
        if (metadata) {
            Run(std::string("PictureMetadata = ") + metadata);
            info->SetMetadata(Global("PictureMetadata"));
        }
        return info;
    }

    // The picture's size as loaded; (-1, -1) when it is no image.
    std::pair<int, int> SizeOf(const std::string& name)
    {
        auto* image = dynamic_cast<Image*>(Manager().Acquire(name));
        if (!image)
            return {-1, -1};
        return {image->GetSize().x, image->GetSize().y};
    }
};

} // namespace

TEST_F(DamagedResourceTest, ADamagedPictureStandsInAsAnEmptyImageOfItsFrames)
{
    LogCapture log(Dir("pictures.log"));
    AddPicture("Good.png", OpaquePng());
    AddPicture("Button.png", "garbage", "{ numFrames = 4, width = 170, height = 40 }");
    AddPicture("Cut.png", OpaquePng().substr(0, 30));
    AddPicture("Empty.jpg", "");
    AddPicture("Wide.png", "garbage", "{ numFrames = 8, width = 608, height = 20, gap_y = 2 }");
    AddPicture("Huge.png", "garbage", "{ numFrames = 100000, width = 4096, height = 4096 }");
    AddPicture("Odd.png", "garbage", "{ width = 'wide', height = -3 }");

    EXPECT_EQ(std::make_pair(4, 3), SizeOf("Good.png"));
    EXPECT_EQ(std::make_pair(680, 40), SizeOf("Button.png"));
    // Too wide for one row: six frames a row, two rows of 20 pixels and their gaps.
    EXPECT_EQ(std::make_pair(3648, 44), SizeOf("Wide.png"));
    auto* wide = dynamic_cast<Image*>(Manager().Acquire("Wide.png"));
    ASSERT_NE(nullptr, wide);
    EXPECT_EQ(8, wide->GetNumFrames());
    // Without usable sizes (none, out of range, not numbers) the stand-in is a small square.
    for (const char* name : {"Cut.png", "Empty.jpg", "Huge.png", "Odd.png"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
                  SizeOf(name));
        EXPECT_TRUE(Manager().IsDamaged(name));
    }
    auto* button = dynamic_cast<Image*>(Manager().Acquire("Button.png"));
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(4, button->GetNumFrames());
    // Wholly transparent: the game shows nothing in the picture's place.
    SDL_Surface* surface = button->GetSDLSurface();
    ASSERT_EQ(32, surface->format->BitsPerPixel);
    const auto* pixels = static_cast<const Uint32*>(surface->pixels);
    EXPECT_EQ(0u, pixels[0] & surface->format->Amask);
    EXPECT_EQ(RESOURCE_IMAGE, Manager().FindInfo("Button.png")->GetType());
    EXPECT_FALSE(Manager().IsDamaged("Good.png"));

    EXPECT_EQ(1, log.Count("Warning: the resource \"Button.png\" could not be loaded (Could "
                           "not load image: / file=Images/Button.png"))
        << log.Text();
    for (const char* name : {"Wide.png", "Cut.png", "Empty.jpg", "Huge.png", "Odd.png"})
        EXPECT_EQ(1, log.Count(std::string("Warning: the resource \"") + name + "\""));
}

TEST_F(DamagedResourceTest, TheSplashPassAndLoadingOnDemandGoOnPastADamagedPicture)
{
    LogCapture log(Dir("demand.log"));
    AddPicture("bkgLevelA.png", "garbage");
    AddPicture("bkgLevelB.png", OpaquePng());
    AddPicture("Menu.png", OpaquePng().substr(0, 10));
    AddPicture("Title.png", AlphaPng());
    Manager().SetOnDemandPrefixes({"bkgLevel"});

    ASSERT_EQ(2, Manager().StartCaching());
    int calls = 0;
    while (Manager().CacheNext())
        ++calls;
    EXPECT_EQ(2, calls);
    EXPECT_NE(nullptr, Manager().FindInfo("Title.png")->GetResource());
    EXPECT_NE(nullptr, Manager().FindInfo("Menu.png")->GetResource()); // the stand-in

    // Loading the other background lets the damaged one's stand-in go; it comes back on
    // the next acquisition without a second attempt or a second warning.
    EXPECT_EQ(std::make_pair(32, 32), SizeOf("bkgLevelA.png"));
    EXPECT_EQ(std::make_pair(4, 3), SizeOf("bkgLevelB.png"));
    EXPECT_EQ(nullptr, Manager().FindInfo("bkgLevelA.png")->GetResource());
    EXPECT_EQ(std::make_pair(32, 32), SizeOf("bkgLevelA.png"));
    EXPECT_EQ(1, log.Count("Warning: the resource \"bkgLevelA.png\" could not be loaded"));
    EXPECT_EQ(1, log.Count("Warning: the resource \"Menu.png\" could not be loaded"));
}

// Past the budget, cached pictures nothing uses go, the one used longest ago first, and load
// again when asked; one that still does not fit is named once as the pack's size and stands in;
// a load a stop cuts short is no damage of its file.
TEST_F(DamagedResourceTest, PastTheBudgetUnusedPicturesGoAndWhatDoesNotFitIsNamedOnce)
{
    LogCapture log(Dir("budget.log"));
    const long long limit = MemoryBudget::GetLimit();
    // Room for three pictures of 1 MiB decoded.
    MemoryBudget::SetLimit(MemoryBudget::GetHeld() + (7 << 19));
    for (const char* name : {"A.png", "B.png", "C.png", "D.png", "Stop.png"})
        AddPicture(name, EncodePng(512, 512));
    for (const char* name : {"A.png", "B.png", "C.png", "D.png"})
        Manager().Acquire(name);
    EXPECT_EQ(nullptr, Manager().FindInfo("A.png")->GetResource());
    EXPECT_NE(nullptr, Manager().FindInfo("B.png")->GetResource());
    {
        const Image b("B.png"), c("C.png"), d("D.png");
        EXPECT_EQ(std::make_pair(32, 32), SizeOf("A.png"));
        EXPECT_LE(MemoryBudget::GetHeld(), MemoryBudget::GetLimit());
    }
    EXPECT_EQ(1, log.Count("Warning: the resource \"A.png\" could not be loaded (the pack needs "
                           "more than the budget of "));
    {
        WorkMeter meter("a level");
        StopSignal::Request(SIGTERM);
        EXPECT_THROW(Manager().Acquire("Stop.png"), WorkSpent);
        StopSignal::Reset();
    }
    EXPECT_FALSE(Manager().IsLeftOut("Stop.png"));
    EXPECT_EQ(std::make_pair(512, 512), SizeOf("Stop.png"));
    MemoryBudget::SetLimit(limit);
}

TEST_F(DamagedResourceTest, CallersRecordMissingAndUnreadableFilesOnce)
{
    LogCapture log(Dir("record.log"));
    EXPECT_TRUE(Manager().RecordMissing("Gone.ogg"));
    EXPECT_FALSE(Manager().RecordMissing("Gone.ogg"));
    EXPECT_TRUE(Manager().IsLeftOut("Gone.ogg"));
    EXPECT_FALSE(Manager().IsDamaged("Gone.ogg"));

    EXPECT_TRUE(Manager().RecordDamaged("Face.ttf", "it is not a font file that can be opened"));
    EXPECT_FALSE(Manager().RecordDamaged("Face.ttf", "again"));
    EXPECT_EQ(1, log.Count("Warning: the resource \"Face.ttf\" could not be loaded (it is not "
                           "a font file that can be opened); the game plays without it\n"));

    // A file registered under a name recorded missing is no longer left out.
    AddPicture("Gone.ogg", "");
    EXPECT_FALSE(Manager().IsLeftOut("Gone.ogg"));
    AddPicture("A.ttf", "");
    AddPicture("B.ttf", "");
    AddPicture("C.otf", "");
    EXPECT_EQ((std::vector<std::string>{"A.ttf", "B.ttf"}), Manager().FindNamesEndingWith(".ttf"));
}

// Numbers of a metadata file that no picture could use are mended where the file is read, and
// a picture its metadata cannot cut into frames at all is damaged: each is named once with the
// metadata file and the key, and a stand-in takes the picture's place.
TEST_F(DamagedResourceTest, MetadataThatCannotCutItsPictureIsNamedWithItsFileAndKeys)
{
    LogCapture log(Dir("cut.log"));
    WriteFile(Dir("cut/Strip.png"), OpaquePng());
    WriteFile(Dir("cut/Plate.png"), OpaquePng());
    WriteFile(Dir("cut/Sheet.png"), OpaquePng());
    WriteFile(Dir("cut/metadata.cfg"),
              "Metadata { ['Strip.png'] = { numFrames = 'x', width = -1, height = 3 },\n"
              "  ['Plate.png'] = { captionInset = { -1, 2 }, rules = { top = 0/0, pitch = 4 } },\n"
              "  ['Sheet.png'] = { numFrames = 1e9, width = 2, height = 2^31, gap_y = -50,\n"
              "    Animations = { spin = { 0, 5, 0.5 }, none = {}, odd = 'x' } } }\n");
    Manager().AddScanner(new WindowsDirectoryResourceScanner(Dir("cut/")));
    Manager().ScanAll();
    const std::string file = "the metadata file \"" + Dir("cut/") + "metadata.cfg\"";

    EXPECT_EQ(std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
              SizeOf("Strip.png"));
    SizeOf("Strip.png");
    EXPECT_TRUE(Manager().IsDamaged("Strip.png"));
    EXPECT_EQ(1, log.Count("Warning: the resource \"Strip.png\" could not be loaded (" + file +
                           " gives numFrames = \"x\" and width = -1 cannot cut the picture of 4 "
                           "x 3 into frames)"))
        << log.Text();

    // Dropped at the reader: the inset and the rules, which their users do without.
    EXPECT_EQ(std::make_pair(4, 3), SizeOf("Plate.png"));
    const LuaObject plate = Manager().FindInfo("Plate.png")->GetMetadata();
    EXPECT_TRUE(plate["captionInset"].IsNil());
    EXPECT_TRUE(plate["rules"].IsNil());
    EXPECT_EQ(1, log.Count("Warning: " + file + " gives \"Plate.png\" captionInset[1] = -1"));
    EXPECT_EQ(1, log.Count("Warning: " + file + " gives \"Plate.png\" rules.top = nan"));

    // Cut from inside the picture: one row of two frames 2 wide, animations within them.
    EXPECT_EQ(std::make_pair(4, 3), SizeOf("Sheet.png"));
    const LuaObject sheet = Manager().FindInfo("Sheet.png")->GetMetadata();
    EXPECT_EQ(3, sheet["height"].GetInteger());
    EXPECT_EQ(0, sheet["gap_y"].GetInteger());
    EXPECT_EQ(2, sheet["numFrames"].GetInteger());
    EXPECT_EQ(1, sheet["Animations"]["spin"][2].GetInteger());
    EXPECT_EQ(0, sheet["Animations"]["spin"][3].GetInteger());
    EXPECT_EQ(0, sheet["Animations"]["none"][1].GetInteger());
    EXPECT_EQ(0, sheet["Animations"]["odd"][1].GetInteger());
    for (const char* key : {"\" height = 2147483648", "\" gap_y = -50", "\" numFrames = 1000000000",
                            "\" Animations.spin[2] = 5", "\" Animations.none holds no frame",
                            "\" Animations.odd = \"x\""})
        EXPECT_EQ(1, log.Count(std::string("gives \"Sheet.png") + key)) << key << log.Text();
}
