#include "ResourceTestSupport.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptSource.h"
#include "resources/ImageFactory.h"
#include "resources/PhysFSFileReader.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceMemory.h"
#include "resources/SDLImageLoader.h"
#include "resources/SurfaceResource.h"
#include "resources/WindowsApplicationResourceScanner.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "resources/WindowsMappedFileReader.h"
#include "win32/FileMapping.h"
#include "win32/ProgramResources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

using namespace bbtest;
using LuaPlus::LuaObject;

namespace {

class ScannerTest : public ResourceFixture
{
protected:
    ScannerTest() : m_PreviousFactory(SetImageFactory(&SurfaceResource::Create)) {}
    ~ScannerTest() override { SetImageFactory(m_PreviousFactory); }

    // The bytes an entry's reader gives.
    std::string Bytes(const std::string& name)
    {
        ResourceInfo* info = Manager().FindInfo(name);
        const void* data = nullptr;
        uint32_t size = 0;
        info->GetReader()->Read(info->Name(), data, size);
        return std::string(static_cast<const char*>(data), size);
    }

    int MetadataNumber(const std::string& name, const char* key)
    {
        const LuaObject& metadata = Manager().FindInfo(name)->GetMetadata();
        return metadata.IsTable() ? metadata.GetByName(key).GetInteger() : -1;
    }

private:
    ImageFactory m_PreviousFactory;
};

} // namespace

TEST_F(ScannerTest, DirectoryScanNamesFilesBareSkipsMarkedFoldersAndAppliesMetadata)
{
    LogCapture log(Dir("log.txt"));
    WriteFile(Dir("site/a.png"), "top");
    WriteFile(Dir("site/Images/a.png"), "deeper");
    WriteFile(Dir("site/Images/Ball.png"), "ball");
    WriteFile(Dir("site/Images/image.cfg"), "Metadata { ['Ball.png'] = { numFrames = 4 } }\n"
                                            "Metadata { ['a.png'] = { numFrames = 2 } }\n");
    WriteFile(Dir("site/Hidden/secret.png"), "x");
    WriteFile(Dir("site/Hidden/Inner/deep.png"), "x");
    WriteFile(Dir("site/Hidden/DO_NOT_SCAN"), "");

    Manager().AddScanner(new WindowsDirectoryResourceScanner(Dir("site")));
    Manager().ScanAll();

    // The file of the folder scanned later wins, silently; metadata files are no entries.
    EXPECT_EQ("deeper", Bytes("a.png"));
    EXPECT_EQ(Dir("site/Images/a.png"), Manager().FindInfo("a.png")->Name());
    EXPECT_EQ("ball", Bytes("Ball.png"));
    EXPECT_EQ(4, MetadataNumber("Ball.png", "numFrames"));
    EXPECT_EQ(2, MetadataNumber("a.png", "numFrames"));
    EXPECT_EQ(nullptr, Manager().FindInfo("image.cfg", true));
    EXPECT_EQ(nullptr, Manager().FindInfo("secret.png", true));
    EXPECT_EQ(nullptr, Manager().FindInfo("deep.png", true));
    EXPECT_EQ(0, log.Count("WARNING"));
    EXPECT_EQ(1, log.Count("Adding resource scanner: Windows directory resource scanner for \"" +
                           Dir("site/") + "\"\n"));
    EXPECT_TRUE(State()->GetGlobal("Pending_Metadata").IsNil());
}

TEST_F(ScannerTest, TwoMetadataFilesInOneOfTheProgramsFoldersAreItsOwnMistake)
{
    // (Metadata files that fail are swept in MetadataFaultSweepTest.)
    ResourceInfoMap output = MakeResourceInfoMap();
    std::string twice = Dir("twice/");
    WriteFile(twice + "image.cfg", "");
    WriteFile(twice + "sound.cfg", "");
    WindowsDirectoryResourceScanner doubled(twice);
    EXPECT_EQ("Assertion failed: (metadataResInfo == 0)\nMessage: Metadata in the directory \"" +
                  twice + "\" with the file name \"sound.cfg\" was already found in the file \"" +
                  twice + "image.cfg\"",
              BB_EXCEPTION_MESSAGE(doubled.Scan(output), Exception));
}

TEST_F(ScannerTest, MissingFoldersFailUnlessOptional)
{
    LogCapture log(Dir("log.txt"));
    ResourceInfoMap output = MakeResourceInfoMap();
    WindowsDirectoryResourceScanner optional(Dir("NoSite") + "\\", true);
    optional.Scan(output);
    EXPECT_TRUE(output.empty());
    EXPECT_EQ(
        1, log.Count("Skipping resource folder \"" + Dir("NoSite/") + "\": it does not exist.\n"));

    // A required folder that is missing, or a file in its place, is reported by its
    // listing, naming it and the working folder.
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof(cwd)));
    WriteFile(Dir("Plain"), "not a folder");
    struct Case
    {
        const char* root;
        const char* error;
    } cases[] = {{"NoSource", "2: No such file or directory"}, {"Plain", "20: Not a directory"}};
    for (const Case& c : cases) {
        WindowsDirectoryResourceScanner required(Dir(c.root));
        EXPECT_EQ("Could not scan directory for metadata:\ndir=" + Dir(c.root) +
                      "/\nerror=" + c.error + "\ncurrentWorkingDirectory=" + cwd,
                  BB_EXCEPTION_MESSAGE(required.Scan(output), Exception));
    }
    EXPECT_TRUE(output.empty());
}

TEST_F(ScannerTest, MappedReaderMapsOnceUntilClosedAndNamesFilesItCannotRead)
{
    WriteFile(Dir("data.bin"), "0123456789");
    WriteFile(Dir("empty.bin"), "");
    int before = GetMappedViewCount();
    {
        WindowsMappedFileReader reader;
        const void* first = nullptr;
        const void* second = nullptr;
        uint32_t size = 0;
        reader.Read(Dir("data.bin"), first, size);
        reader.Read(Dir("data.bin"), second, size);
        EXPECT_EQ(first, second);
        EXPECT_EQ(10u, size);
        EXPECT_EQ(0, std::memcmp(first, "0123456789", 10));
        EXPECT_EQ(before + 1, GetMappedViewCount());
        reader.Close();
        EXPECT_EQ(before, GetMappedViewCount());
        reader.Read(Dir("data.bin"), first, size);
        EXPECT_EQ(before + 1, GetMappedViewCount());

        WindowsMappedFileReader empty;
        empty.Read(Dir("empty.bin"), first, size);
        EXPECT_EQ(0u, size);
        EXPECT_NE(nullptr, first);
    }
    EXPECT_EQ(before, GetMappedViewCount());

    WindowsMappedFileReader reader;
    const void* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ("Could not open file: \"" + Dir("none.bin") + "\", 2: No such file or directory",
              BB_EXCEPTION_MESSAGE(reader.Read(Dir("none.bin"), data, size), ResourceLoadError));
    EXPECT_EQ("File mapping failed:\nfile=" + Dir() + "\nmapping error:19: No such device",
              BB_EXCEPTION_MESSAGE(reader.Read(Dir(), data, size), ResourceLoadError));
    EXPECT_EQ("Assertion failed: (location.empty() == false)",
              BB_EXCEPTION_MESSAGE(reader.Read("", data, size), Exception));
}

TEST_F(ScannerTest, PackageScanAppliesMetadataSkipsMarkedFoldersAndWarnsOnDuplicates)
{
    LogCapture log(Dir("log.txt"));
    WriteFile(Dir("pkg/Images/Ball.png"), OpaquePng());
    WriteFile(Dir("pkg/Images/metadata.cfg"),
              "Metadata { ['Ball.png'] = { numFrames = 2, width = 2, height = 3 } }");
    WriteFile(Dir("pkg/Images/image.cfg"), "-- an ordinary file here");
    WriteFile(Dir("pkg/Images/Sub/Ball.png"), "sub");
    WriteFile(Dir("pkg/Sounds/Sub/Bell.ogg"), "bell");
    WriteFile(Dir("pkg/Skip/DO_NOT_SCAN"), "");
    WriteFile(Dir("pkg/Skip/skipped.png"), "x");
    ZipFolder(Dir("pkg"), Dir("game.fun"));

    Manager().AddLoader(new SDLImageLoader);
    Manager().AddScanner(new PhysFSResourceScanner(Dir("game.fun")));
    Manager().ScanAll();

    // The folder's own file replaces its subfolder's, with the warning.
    EXPECT_EQ("Images/Ball.png", Manager().FindInfo("Ball.png")->Name());
    EXPECT_EQ(1, log.Count("WARNING: Duplicate file entry found by PhysicsFS resource scanner, "
                           "\"Ball.png\"\n"));
    EXPECT_EQ(2, MetadataNumber("Ball.png", "numFrames"));
    EXPECT_NE(nullptr, Manager().FindInfo("image.cfg", true));
    EXPECT_NE(nullptr, Manager().FindInfo("Sub", true)); // folders are entries too
    // Two folders named alike are no duplicate: their files are what a name picks.
    EXPECT_EQ(0, log.Count("WARNING: Duplicate file entry found by PhysicsFS resource scanner, "
                           "\"Sub\"\n"));
    EXPECT_NE(nullptr, Manager().FindInfo("Bell.ogg", true));
    EXPECT_EQ(nullptr, Manager().FindInfo("skipped.png", true));
    EXPECT_EQ(nullptr, Manager().FindInfo("metadata.cfg", true));

    ResourceInfo* info = nullptr;
    auto* image = dynamic_cast<SurfaceResource*>(Manager().Acquire("Ball.png", &info));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4, image->GetSurface()->w);
    EXPECT_EQ(3, image->GetSurface()->h);
    EXPECT_EQ(IMAGE_FLAG_OPAQUE, image->GetFlags());
    EXPECT_EQ(2, image->GetMetadata().GetByName("numFrames").GetInteger());
    EXPECT_EQ(RESOURCE_IMAGE, info->GetType());
    EXPECT_EQ(1, info->GetAcquireCount());

    // A marker at the root of the search path stops the whole scan.
    WriteFile(Dir("marked/DO_NOT_SCAN"), "");
    WriteFile(Dir("marked/New.png"), "x");
    Manager().AddScanner(new PhysFSResourceScanner(Dir("marked")));
    int warnings = log.Count("WARNING");
    Manager().ScanAll();
    EXPECT_EQ(nullptr, Manager().FindInfo("New.png", true));
    EXPECT_EQ(warnings, log.Count("WARNING"));
}

TEST_F(ScannerTest, PackagesThatCannotBeMountedAreNamedAtOnce)
{
    WriteFile(Dir("broken.fun"), "this is no zip archive");
    std::string message =
        BB_EXCEPTION_MESSAGE(PhysFSResourceScanner(Dir("broken.fun")), ResourceLoadError);
    EXPECT_EQ(0u, message.find("Could not mount resource package: \"" + Dir("broken.fun") +
                               "\"\nerror = "))
        << message;
    message = BB_EXCEPTION_MESSAGE(PhysFSResourceScanner(Dir("missing.fun")), ResourceLoadError);
    EXPECT_NE(std::string::npos, message.find(Dir("missing.fun"))) << message;

    // The failed scanners left nothing behind: a good package still mounts and scans.
    WriteFile(Dir("good/x.png"), "x");
    Manager().AddScanner(new PhysFSResourceScanner(Dir("good")));
    Manager().ScanAll();
    EXPECT_NE(nullptr, Manager().FindInfo("x.png", true));
}

TEST_F(ScannerTest, ADamagedPackageEntryIsNamedWithItsPackage)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "LoadConfig { level = " + std::to_string(i % 7) + " }\n";
    WriteFile(Dir("pkg/Scripts/Big.lua"), text);
    ZipFolder(Dir("pkg"), Dir("damaged.fun"));

    // The first byte of the compressed data becomes a block type that does not exist.
    std::string zip = ReadFile(Dir("damaged.fun"));
    std::size_t header = zip.find("Scripts/Big.lua") - 30; // its local header comes first
    ASSERT_EQ(header, zip.find("PK\x03\x04", header));
    auto word = [&](std::size_t at) {
        return static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8;
    };
    ASSERT_EQ(8, word(header + 8)); // deflated
    std::size_t data = header + 30 + word(header + 26) + word(header + 28);
    zip[data] = '\xFF';
    WriteFile(Dir("damaged.fun"), zip);

    Manager().AddScanner(new PhysFSResourceScanner(Dir("damaged.fun")));
    Manager().ScanAll();
    ResourceInfo* info = Manager().FindInfo("Big.lua", true);
    ASSERT_NE(nullptr, info);
    PhysFSFileReader reader;
    const void* bytes = nullptr;
    uint32_t size = 0;
    std::string message =
        BB_EXCEPTION_MESSAGE(reader.Read(info->Name(), bytes, size), ResourceLoadError);
    EXPECT_EQ(0u, message.find("Could not read \"Scripts/Big.lua\" from \"" + Dir("damaged.fun") +
                               "\": "))
        << message;
}

TEST_F(ScannerTest, ThePackReaderReadsOnlyRegularFilesOfBoundedSize)
{
    // A folder pack: a FIFO and an over-size file among the levels, beside a good one.
    WriteFile(Dir("pack/Levels/Good.lua"), "Levels.Good = {}\n");
    const std::string fifo = Dir("pack/Levels/Zfifo.lua");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    // A writer holds the FIFO open, so that a reader that opens it is not stuck there.
    const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(3, ::write(writer, "x=1", 3));
    WriteFile(Dir("pack/Levels/Huge.lua"), "");
    ASSERT_EQ(0, ::truncate(Dir("pack/Levels/Huge.lua").c_str(), (off_t(64) << 20) + 1));
    Manager().AddScanner(new PhysFSResourceScanner(Dir("pack")));
    Manager().ScanAll();

    EXPECT_EQ("Levels.Good = {}\n", Bytes("Good.lua"));
    PhysFSFileReader reader;
    const void* bytes = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(
        "Could not read \"Levels/Zfifo.lua\" from \"" + Dir("pack") +
            "\": it is not a regular file",
        BB_EXCEPTION_MESSAGE(reader.Read("Levels/Zfifo.lua", bytes, size), ResourceLoadError));
    EXPECT_EQ("Could not read \"Levels/Huge.lua\" from \"" + Dir("pack") +
                  "\": it is larger than the 64 MiB a file of a pack may hold",
              BB_EXCEPTION_MESSAGE(reader.Read("Levels/Huge.lua", bytes, size), ResourceLoadError));
    ::close(writer);
}

// The pack's files are data: one that takes the name of a script of the program, and any
// other, never runs with the full library, while the level runner still reads the pack's
// level files by name.
TEST_F(ScannerTest, APackFileNeverRunsAsOneOfTheProgramsScripts)
{
    WriteFile(Dir("program/Game.lua"), "RanScript = 'program'\n");
    WriteFile(Dir("program/Kept.lua"), "RanKept = true\n");
    WriteFile(Dir("pack/Levels/Game.lua"), "RanScript = 'pack'\n");
    WriteFile(Dir("pack/Levels/Extra.lua"), "RanExtra = true\n");
    Manager().AddScanner(new WindowsDirectoryResourceScanner(Dir("program")));
    Manager().AddScanner(new PhysFSResourceScanner(Dir("pack")));
    Manager().ScanAll();

    MakoLuaState::DoResourceFile(State(), "Kept.lua");
    EXPECT_TRUE(State()->GetGlobal("RanKept").GetBoolean());
    for (const char* name : {"Game.lua", "Extra.lua"})
        EXPECT_EQ(std::string("The script resource \"") + name +
                      "\" is not one of the program's own files; it is not run.",
                  BB_EXCEPTION_MESSAGE(MakoLuaState::DoResourceFile(State(), name), ScriptError));
    EXPECT_TRUE(State()->GetGlobal("RanScript").IsNil());
    EXPECT_TRUE(State()->GetGlobal("RanExtra").IsNil());
    EXPECT_EQ("RanExtra = true\n", ScriptSource::Read("Extra.lua"));
    // A name nobody holds is still reported as missing.
    EXPECT_NE("", BB_EXCEPTION_MESSAGE(MakoLuaState::DoResourceFile(State(), "None.lua"),
                                       ResourceNotFoundException));
}

TEST_F(ScannerTest, ImagesLoadFromFoldersWithMetadataAndAlpha)
{
    WriteFile(Dir("art/Glow.png"), AlphaPng());
    WriteFile(Dir("art/Solid.png"), OpaquePng());
    WriteFile(Dir("art/Shout.PNG"), OpaquePng());
    WriteFile(Dir("art/Bad.png"), "not an image");
    WriteFile(Dir("art/image.cfg"), "Metadata { ['Glow.png'] = { width = 5, colorKey = true } }");
    Manager().AddLoader(new SDLImageLoader);
    Manager().AddScanner(new WindowsDirectoryResourceScanner(Dir("art")));
    Manager().ScanAll();

    auto* glow = dynamic_cast<SurfaceResource*>(Manager().Acquire("Glow.png"));
    ASSERT_NE(nullptr, glow);
    EXPECT_EQ(5, glow->GetSurface()->w);
    EXPECT_EQ(2, glow->GetSurface()->h);
    EXPECT_EQ(0, glow->GetFlags());
    EXPECT_EQ(5, glow->GetMetadata().GetByName("width").GetInteger());
    auto* solid = dynamic_cast<SurfaceResource*>(Manager().Acquire("Solid.png"));
    ASSERT_NE(nullptr, solid);
    EXPECT_EQ(IMAGE_FLAG_OPAQUE, solid->GetFlags());
    EXPECT_TRUE(solid->GetMetadata().IsNil());
    EXPECT_GT(SysmemImageBytes, 0);

    // Only exact lower-case extensions on a real name are images.
    EXPECT_EQ(nullptr, Manager().Acquire("Shout.PNG"));
    // A picture that cannot be decoded is named in the log and an empty one stands in.
    {
        LogCapture log(Dir("bad.log"));
        EXPECT_NE(nullptr, Manager().Acquire("Bad.png"));
        EXPECT_EQ(1, log.Count("Warning: the resource \"Bad.png\" could not be loaded (Could not "
                               "load image: / file=" +
                               Dir("art/Bad.png") + " / error="))
            << log.Text();
    }

    SDLImageLoader loader;
    EXPECT_FALSE(loader.CanLoad(ResourceInfo(".png", nullptr)));
    EXPECT_TRUE(loader.CanLoad(ResourceInfo("a.bmp", nullptr)));
    EXPECT_TRUE(loader.CanLoad(ResourceInfo("a.jpg", nullptr)));
    ResourceInfo orphan("x.png", nullptr);
    EXPECT_EQ(0u, BB_EXCEPTION_MESSAGE(loader.LoadResource(nullptr, orphan), ResourceLoadError)
                      .find("SDL_RWFromMem failed:\nfile=x.png\nerror="));

    // Releasing the manager gives every image's memory back.
    DestroyManager();
    EXPECT_EQ(0, SysmemImageBytes);
}

TEST_F(ScannerTest, ScannersRunInOrderAndLaterSourcesReplaceEarlierOnes)
{
    LogCapture log(Dir("log.txt"));
    // Site, then the program's own files, then the package.
    WriteFile(Dir("Site/Logo.png"), "site logo");
    WriteFile(Dir("Site/Setup.lua"), "site setup");
    WriteFile(Dir("Site/Only.txt"), "site only");
    WriteFile(Dir("Assets/Logo.png"), "package logo");
    WriteFile(Dir("Assets/Song.mid"), "package song");
    static const unsigned char kSetup[] = "program setup";
    static const unsigned char kTable[] = "Setup.lua\0SETUP.LUA\0";
    static const ProgramResourceEntry kProgram[] = {
        {"MAKO_RESOURCE", "SETUP.LUA", kSetup, 13},
        {"MAKO_RESOURCE", "RESOURCE_TABLE", kTable, sizeof(kTable) - 1},
    };
    RegisterProgramResources(kProgram, 2);
    struct Unregister
    {
        ~Unregister() { UnregisterProgramResources(kProgram); }
    } unregister;

    Manager().AddScanner(new WindowsDirectoryResourceScanner(Dir("Site"), true));
    Manager().AddScanner(new WindowsApplicationResourceScanner);
    Manager().AddScanner(new PhysFSResourceScanner(Dir("Assets")));
    Manager().ScanAll();

    EXPECT_EQ("package logo", Bytes("Logo.png"));
    EXPECT_EQ("program setup", Bytes("Setup.lua"));
    EXPECT_EQ("site only", Bytes("Only.txt"));
    EXPECT_EQ("package song", Bytes("Song.mid"));
    EXPECT_EQ(1, log.Count("WARNING: Resource being replaced: name = Logo.png\n"));
    EXPECT_EQ(1, log.Count("WARNING: Resource being replaced: name = Setup.lua\n"));
    EXPECT_EQ(2, log.Count("WARNING: Resource being replaced"));

    // A path mounted later goes in front of the earlier ones, and one pass scans the merged
    // search path once, whatever the number of PhysFS scanners.
    Manager().AddScanner(new PhysFSResourceScanner(Dir("Site")));
    Manager().ScanAll();
    EXPECT_EQ("site logo", Bytes("Logo.png"));
    EXPECT_EQ("Logo.png", Manager().FindInfo("Logo.png")->Name());
    EXPECT_EQ(1, log.Count("WARNING: Resource being replaced: name = Song.mid\n"));
}
