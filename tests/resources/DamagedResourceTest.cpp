// A damaged picture is logged once and stands in as an empty image of its frames, however
// it is reached: acquired, cached, or loaded on demand again after its siblings let it go.
#include "ResourceTestSupport.h"

#include "core/Exception.h"
#include "display/Image.h"
#include "resources/ImageFactory.h"
#include "resources/SDLImageLoader.h"

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
                           "not load image:\nfile=Images/Button.png"))
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
