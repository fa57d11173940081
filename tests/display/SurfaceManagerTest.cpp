// The surface manager's hardware copies: made on demand only while a backend can make
// them, dropped by pixel operations and by flushes, and its record list staying whole as
// records come and go.
#include "display/SurfaceManager.h"
#include "PixelHelpers.h"
#include "core/Log.h"
#include "support/TempHome.h"
#include "support/engine/LogCaptureStart.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace displaytest;

namespace {

int gLiveTextures = 0;

// Stands in for a backend texture; counts the live ones.
class CountedTexture : public SurfaceTexture
{
public:
    explicit CountedTexture(SDL_Surface* source) : width(source->w) { ++gLiveTextures; }
    ~CountedTexture() override { --gLiveTextures; }
    int width;
};

class SurfaceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gLiveTextures = 0;
        SurfaceManager::GetInstance().SetTextureMaker(
            [](SDL_Surface* source) -> SurfaceTexture* { return new CountedTexture(source); });
    }
    void TearDown() override { SurfaceManager::GetInstance().SetTextureMaker(nullptr); }

    static bool HasTexture(const Image* image)
    {
        return image->GetSurfaceNode()->GetD3DSurface() != nullptr;
    }
};

// Sends the log into a temporary file for the lifetime of the capture.
class LogFileCapture
{
public:
    LogFileCapture()
    {
        char path[] = "/tmp/surfacelogXXXXXX";
        const int fd = mkstemp(path);
        if (fd >= 0)
            close(fd);
        m_Path = path;
        bbtest::StartLogCapture(m_Path);
    }
    ~LogFileCapture()
    {
        SetLogFilePath("");
        std::remove(m_Path.c_str());
    }
    std::string Text() const { return bbtest::ReadFile(m_Path); }

private:
    std::string m_Path;
};

TEST_F(SurfaceManagerTest, TexturesAreMadeOnDemandAndDroppedWhenPixelsChange)
{
    SurfaceManager& manager = SurfaceManager::GetInstance();
    std::unique_ptr<Image> image(SolidImage(6, 4, 0xFF102030));
    EXPECT_FALSE(HasTexture(image.get()));

    const int uploads = manager.GetUploadCount();
    image->RefreshHWSurface(false);
    ASSERT_TRUE(HasTexture(image.get()));
    EXPECT_EQ(6,
              static_cast<CountedTexture*>(image->GetSurfaceNode()->GetD3DSurface()->GetTexture())
                  ->width);
    // A second refresh replaces the texture rather than adding one.
    image->RefreshHWSurface(false);
    EXPECT_EQ(1, gLiveTextures);
    EXPECT_EQ(uploads + 2, manager.GetUploadCount());

    // Pixel operations drop the copy so the next draw uploads the new pixels.
    image->Fade(0x80);
    EXPECT_FALSE(HasTexture(image.get()));
    image->RefreshHWSurface(true);
    std::unique_ptr<Image> mask(SolidImage(6, 4, 0xFFFFFFFF));
    image->Clip(mask.get());
    EXPECT_FALSE(HasTexture(image.get()));

    // Compositing leaves the target's copy to the caller.
    image->RefreshHWSurface(true);
    std::unique_ptr<Image> spot(SolidImage(2, 2, 0xFF0000FF));
    spot->CompositeOnto(nullptr, image.get(), nullptr);
    EXPECT_TRUE(HasTexture(image.get()));

    // The last image of a picture takes its texture with it.
    image.reset();
    EXPECT_EQ(0, gLiveTextures);

    // Without a backend that makes textures a refresh does nothing.
    manager.SetTextureMaker(nullptr);
    std::unique_ptr<Image> plain(SolidImage(2, 2, 0xFF000000));
    plain->RefreshHWSurface(true);
    EXPECT_FALSE(HasTexture(plain.get()));
    EXPECT_EQ(uploads + 4, manager.GetUploadCount());
}

TEST_F(SurfaceManagerTest, FlushingDropsEveryTextureAndLogsOnlyForVideoMemory)
{
    SurfaceManager& manager = SurfaceManager::GetInstance();
    std::unique_ptr<Image> images[4];
    for (auto& image : images) {
        image.reset(SolidImage(3, 3, 0xFF445566));
        image->RefreshHWSurface(false);
    }
    const int nodes = manager.GetNodeCount();
    // Records leave the list from its head (the newest) and from its middle; the rest
    // must still be reached by the flush.
    images[3].reset();
    images[1].reset();
    std::unique_ptr<Image> newest(SolidImage(3, 3, 0xFF000000));
    newest->RefreshHWSurface(false);
    EXPECT_EQ(nodes - 1, manager.GetNodeCount());
    EXPECT_EQ(3, gLiveTextures);

    const int level = GetLogLevel();
    SetLogLevel(3);
    {
        LogFileCapture log;
        manager.All_DeleteSurfacesOfType(SURFACETYPE_D3D);
        // Lines kept from before any log file may come first.
        const std::string text = log.Text();
        const std::string line = "SurfaceManager::All_DeleteSurfacesOfType: Flushing vidmem.\n";
        ASSERT_GE(text.size(), line.size());
        EXPECT_EQ(line, text.substr(text.size() - line.size()));
    }
    SetLogLevel(2);
    {
        LogFileCapture log;
        newest->RefreshHWSurface(false);
        manager.All_DeleteSurfacesOfType(SURFACETYPE_D3D);
        EXPECT_EQ(std::string::npos, log.Text().find("Flushing vidmem"));
    }
    SetLogLevel(level);
    EXPECT_EQ(0, gLiveTextures);
    EXPECT_FALSE(HasTexture(images[0].get()));
    EXPECT_FALSE(HasTexture(images[2].get()));
    // The pictures themselves stay.
    EXPECT_EQ(0xFF445566u, GetPixel(images[2].get(), 1, 1));
}

} // namespace
