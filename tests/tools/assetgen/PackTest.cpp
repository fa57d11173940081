// The default pack as a whole: what the engine will look up is there, in the sizes and
// frame layouts it expects, described by metadata it can run, written the same way on
// every run, and packed into an archive whose root holds the pack's folders.
#include "Decoders.h"
#include "recipes/Recipes.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;
using namespace assetgentest;

namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;

// Every file below dir, by its path inside dir.
Files ReadAll(const std::string& dir)
{
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).generic_string()] =
                ReadBytes(entry.path().string());
    return files;
}

Files Generate(const std::string& dir)
{
    assetgen::AssetPack pack(dir);
    assetgen::GenerateAll(pack, assetgen::GeneratorOptions());
    Files files = ReadAll(dir);
    EXPECT_EQ(files.size(), pack.Written().size());
    return files;
}

// The pack the tests read: the one CTest's AssetPack fixture had the generator program write
// for the whole run (BB_TEST_ASSET_PACK), or, when the test program runs by itself, one
// generated for the suite. Generation is deterministic, and the tests only read.
class Pack : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (const char* shared = std::getenv("BB_TEST_ASSET_PACK")) {
            s_Root = new std::string(shared);
            s_Files = new Files(ReadAll(*s_Root));
        } else {
            s_Dir = new TempDir();
            s_Root = new std::string(s_Dir->Path());
            s_Files = new Files(Generate(*s_Root));
        }
        if (s_Files->empty())
            ADD_FAILURE() << "the asset pack in " << *s_Root << " holds no files";
    }
    static void TearDownTestSuite()
    {
        delete s_Files;
        delete s_Root;
        delete s_Dir;
        s_Dir = nullptr;
    }

    static const std::vector<std::uint8_t>& File(const std::string& path)
    {
        const auto it = s_Files->find(path);
        if (it == s_Files->end())
            throw std::runtime_error("the pack has no " + path);
        return it->second;
    }

    static TempDir* s_Dir; // null when the pack is shared
    static std::string* s_Root;
    static Files* s_Files;
};

TempDir* Pack::s_Dir = nullptr;
std::string* Pack::s_Root = nullptr;
Files* Pack::s_Files = nullptr;

} // namespace

TEST_F(Pack, SameBytesOnEveryRun)
{
    TempDir again;
    EXPECT_TRUE(Generate(again.Path()) == *s_Files);
}

TEST_F(Pack, PicturesHaveTheSizesAndFramesTheGameExpects)
{
    struct Expected
    {
        const char* path;
        int width, height;
        const char* metadata; // nullptr: none
    };
    const Expected expected[] = {
        // Push buttons say where their rounded ends (and, at the right, the shadow) lie.
        {"Images/UI/Button.png", 512, 44,
         "{captionInset={[1]=13,[2]=16},height=44,numFrames=4,width=128}"},
        {"Images/UI/Button.green.png", 512, 44,
         "{captionInset={[1]=13,[2]=16},height=44,numFrames=4,width=128}"},
        {"Images/UI/Button.red.png", 512, 44,
         "{captionInset={[1]=13,[2]=16},height=44,numFrames=4,width=128}"},
        {"Images/UI/Button.small.png", 416, 34,
         "{captionInset={[1]=11,[2]=14},height=34,numFrames=4,width=104}"},
        {"Images/UI/Button.small.red.png", 416, 34,
         "{captionInset={[1]=11,[2]=14},height=34,numFrames=4,width=104}"},
        {"Images/UI/btnBlankSmall.png", 120, 30,
         "{captionInset={[1]=9,[2]=11},height=30,numFrames=4,width=30}"},
        {"Images/UI/boxCheck.png", 40, 20, "{height=20,numFrames=2,width=20}"},
        {"Images/UI/bkgTrackBar.png", 180, 12, nullptr},
        {"Images/UI/btnMin.png", 72, 18, "{height=18,numFrames=4,width=18}"},
        {"Images/UI/btnRes.png", 72, 18, "{height=18,numFrames=4,width=18}"},
        {"Images/UI/btnClose.png", 72, 18, "{height=18,numFrames=4,width=18}"},
        {"Images/UI/objKeyTip.png", 22, 22, nullptr},
        {"Images/UI/Ball.png", 16, 16, nullptr},
        {"Test/TestSheet.png", 100, 60, "{gap_y=5,height=20,numFrames=7,width=30}"},
    };
    const auto ui = LoadMetadata(
        std::string(File("Images/UI/metadata.cfg").begin(), File("Images/UI/metadata.cfg").end()));
    const auto test = LoadMetadata(
        std::string(File("Test/metadata.cfg").begin(), File("Test/metadata.cfg").end()));
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.path);
        const Picture p = DecodePicture(File(e.path));
        EXPECT_EQ(p.width, e.width);
        EXPECT_EQ(p.height, e.height);
        EXPECT_TRUE(p.hasAlpha); // loaded with per-pixel alpha, not as opaque
        const std::string name = fs::path(e.path).filename().string();
        const auto& meta = std::string(e.path).rfind("Test/", 0) == 0 ? test : ui;
        if (e.metadata)
            EXPECT_EQ(meta.count(name) ? meta.at(name) : "none", e.metadata);
        else
            EXPECT_EQ(meta.count(name), 0u);
    }
}

TEST_F(Pack, ButtonFramesShowTheirStates)
{
    // Frame order: normal, disabled, highlighted, pressed. The disabled face is greyer,
    // the highlighted one brighter than normal.
    const Picture p = DecodePicture(File("Images/UI/Button.green.png"));
    auto average = [&](int frame, bool saturation) {
        double sum = 0;
        int n = 0;
        for (int y = 12; y < 30; ++y) {
            for (int x = frame * 128 + 20; x < frame * 128 + 100; ++x) {
                const std::uint8_t* px = p.At(x, y);
                const int hi = std::max({px[0], px[1], px[2]}),
                          lo = std::min({px[0], px[1], px[2]});
                sum += saturation ? hi - lo : (px[0] + px[1] + px[2]) / 3.0;
                ++n;
            }
        }
        return sum / n;
    };
    EXPECT_LT(average(1, true), average(0, true) * 0.5);
    EXPECT_GT(average(2, false), average(0, false) + 8);
    // The plate is opaque, the corners around it are not (rounded, shadowed).
    EXPECT_EQ(p.At(64, 20)[3], 255);
    EXPECT_LT(p.At(0, 0)[3], 64);
}

TEST_F(Pack, TestSheetFramesCanBeToldApart)
{
    const Picture p = DecodePicture(File("Test/TestSheet.png"));
    std::set<std::uint32_t> colours;
    for (int i = 0; i < 7; ++i) {
        const int x = (i % 3) * 30 + 3, y = (i / 3) * 25 + 3;
        const std::uint8_t* px = p.At(x, y);
        EXPECT_EQ(px[3], 255) << "frame " << i;
        colours.insert(px[0] << 16 | px[1] << 8 | px[2]);
    }
    EXPECT_EQ(colours.size(), 7u);
    for (int x = 0; x < 100; ++x) {
        EXPECT_EQ(p.At(x, 22)[3], 0) << "gap between the first rows, x = " << x;
        EXPECT_EQ(p.At(x, 47)[3], 0) << "gap between the second rows, x = " << x;
    }
    EXPECT_EQ(p.At(95, 10)[3], 0); // no frame in the last ten columns
    EXPECT_EQ(p.At(45, 55)[3], 0); // only one frame on the third row
}

TEST_F(Pack, SoundsAreShortAndClickFree)
{
    for (const char* path : {"Sounds/Interface/click.ogg", "Sounds/Interface/click2.ogg"}) {
        SCOPED_TRACE(path);
        const Audio a = DecodeOgg(File(path));
        EXPECT_EQ(a.rate, 44100);
        EXPECT_GT(a.frames, 44100 / 100);
        EXPECT_LT(a.frames, 44100 * 4 / 10);
        float peak = 0;
        for (float v : a.samples)
            peak = std::max(peak, std::fabs(v));
        EXPECT_GT(peak, 0.2f);
        EXPECT_LT(peak, 1.0f);
        EXPECT_LT(std::fabs(a.samples.front()), 0.05f);
        EXPECT_LT(std::fabs(a.samples.back()), 0.05f);
    }
    const Audio tone = DecodeOgg(File("Test/TestTone.ogg"));
    EXPECT_EQ(tone.rate, 22050);
    EXPECT_EQ(tone.channels, 2);
    EXPECT_EQ(tone.frames, 11025);
}

TEST_F(Pack, MetadataNamesOnlyFilesOfItsOwnFolder)
{
    // The engine applies a folder's metadata to that folder's files and rejects a key
    // that names no file there.
    int folders = 0;
    for (const auto& [path, bytes] : *s_Files) {
        if (fs::path(path).filename() != "metadata.cfg")
            continue;
        ++folders;
        const std::string folder = fs::path(path).parent_path().generic_string();
        for (const auto& [name, table] : LoadMetadata(std::string(bytes.begin(), bytes.end())))
            EXPECT_TRUE(s_Files->count(folder + "/" + name)) << path << " names " << name;
    }
    EXPECT_GE(folders, 2); // at least the interface and the test folders
    const auto test = LoadMetadata(
        std::string(File("Test/metadata.cfg").begin(), File("Test/metadata.cfg").end()));
    EXPECT_EQ(test.at("TestSong.mid"),
              "{parts={End={[1]=7,[2]=2},Intro={[1]=1,[2]=2},Main={[1]=3,[2]=4}}}");
}

TEST_F(Pack, FontsAreTheSystemsTrueTypeFiles)
{
    const std::string source = "/usr/share/fonts/truetype/dejavu/";
    for (const char* face : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf"})
        EXPECT_TRUE(File(std::string("Fonts/") + face) == ReadBytes(source + face)) << face;
}

TEST(PackRules, RefusesAmbiguousOrBrokenAssets)
{
    TempDir dir;
    assetgen::AssetPack pack(dir.Path());
    assetgen::Canvas c(8, 8);
    pack.WriteImage("A", "x.png", c);
    // Resource names are bare file names: the same name in another folder would hide one.
    EXPECT_THROW(pack.WriteImage("B", "x.png", c), std::runtime_error);
    EXPECT_THROW(pack.WriteImage("A", "metadata.cfg", c), std::runtime_error);
    EXPECT_THROW(pack.WriteImage("A", "sub/y.png", c), std::runtime_error);
    // Frame metadata must fit the picture as the engine cuts it.
    assetgen::LuaValue frames = assetgen::LuaValue::Table();
    frames.Set("numFrames", 3).Set("width", 4).Set("height", 8);
    EXPECT_THROW(pack.WriteImage("A", "three.png", c, frames), std::runtime_error);
    frames.Set("numFrames", 4).Set("height", 4);
    EXPECT_NO_THROW(pack.WriteImage("A", "four.png", c, frames)); // two rows of two
    assetgen::LuaValue size = assetgen::LuaValue::Table();
    size.Set("width", 9);
    EXPECT_THROW(pack.WriteImage("A", "wide.png", c, size), std::runtime_error);
    // A missing font names the file.
    try {
        assetgen::GenerateFontAssets(pack, dir.Path() + "/nowhere");
        ADD_FAILURE() << "no error for missing fonts";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere/DejaVuSans.ttf"), std::string::npos);
    }
}

TEST_F(Pack, ArchiveHoldsThePackAtItsRootAndIsReproducible)
{
    TempDir out;
    const std::string script = std::string(BB_SOURCE_DIR) + "/cmake/AssetPack.cmake";
    auto pack = [&](const std::string& file) {
        const std::string cmd = "cmake -DASSETS_DIR='" + *s_Root + "' -DPACKAGE_FILE='" + file +
                                "' -P '" + script + "' > /dev/null";
        return std::system(cmd.c_str());
    };
    const std::string first = out.Path() + "/first.fun", second = out.Path() + "/second.fun";
    ASSERT_EQ(pack(first), 0);
    ASSERT_EQ(pack(second), 0);
    EXPECT_TRUE(ReadBytes(first) == ReadBytes(second));

    ASSERT_NE(PHYSFS_init(nullptr), 0);
    ASSERT_NE(PHYSFS_mount(first.c_str(), nullptr, 0), 0);
    std::set<std::string> root;
    char** names = PHYSFS_enumerateFiles("");
    for (char** n = names; *n; ++n)
        root.insert(*n);
    PHYSFS_freeList(names);
    for (const char* folder : {"Fonts", "Images", "Sounds", "Test"})
        EXPECT_TRUE(root.count(folder)) << folder; // the pack's folders, not "Assets"
    EXPECT_FALSE(root.count("Assets"));
    PHYSFS_Stat stat;
    ASSERT_NE(PHYSFS_stat("Images/UI", &stat), 0);
    EXPECT_EQ(stat.filetype, PHYSFS_FILETYPE_DIRECTORY);
    PHYSFS_File* f = PHYSFS_openRead("Images/UI/Button.green.png");
    ASSERT_NE(f, nullptr);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(PHYSFS_fileLength(f)));
    EXPECT_EQ(PHYSFS_readBytes(f, bytes.data(), bytes.size()),
              static_cast<PHYSFS_sint64>(bytes.size()));
    PHYSFS_close(f);
    EXPECT_TRUE(bytes == File("Images/UI/Button.green.png"));
    PHYSFS_deinit();
}
