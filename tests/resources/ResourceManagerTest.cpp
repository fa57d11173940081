#include "ResourceTestSupport.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceMemory.h"
#include "resources/ResourceScanner.h"
#include "resources/ResourceType.h"
#include "resources/SDLImageLoader.h"
#include "resources/TableResource.h"
#include "support/FileSizeLimit.h"

#include <filesystem>
#include <map>

#include <unistd.h>

using namespace bbtest;
using LuaPlus::LuaObject;

namespace {

class ResourceManagerTest : public ResourceFixture
{
protected:
    ResourceManagerTest() { Manager().AddLoader(new TrackedLoader); }
};

} // namespace

TEST_F(ResourceManagerTest, MissingNamesReportTheNameExactly)
{
    EXPECT_EQ(nullptr, Manager().FindInfo("Nope.png", true));
    try {
        Manager().Acquire("Nope.png");
        FAIL() << "Acquire of an unknown name succeeded";
    } catch (const ResourceNotFoundException& e) {
        EXPECT_EQ("Could not find resource info with name = Nope.png", e.GetMessage());
        EXPECT_EQ("Nope.png", e.GetResourceName());
    }
    EXPECT_EQ("Could not find resource info with name = Gone",
              BB_EXCEPTION_MESSAGE(TableResource::GetTableFromResource("Gone"), Exception));
    EXPECT_EQ("Resource type 5 is not known.", BB_EXCEPTION_MESSAGE(ResTypeToString(5), Exception));
    EXPECT_EQ("RESOURCE_MUSIC", ResTypeToString(RESOURCE_MUSIC));
}

TEST_F(ResourceManagerTest, AcquireLoadsOnceCountsEveryTimeAndLeavesADamagedFileOut)
{
    TrackedResource::Alive() = 0;
    AddMemoryEntry("Hit.tst", "/sounds/Hit.tst", "bang");
    AddMemoryEntry("Broken.tst", "/sounds/Broken.tst", "fail");
    ResourceInfo* script = AddMemoryEntry("Ball.lua", "/scripts/Ball.lua", "x = 1");

    ResourceInfo* info = nullptr;
    Resource* first = Manager().Acquire("Hit.tst", &info);
    Resource* second = Manager().Acquire("Hit.tst");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(1, TrackedResource::Alive());
    EXPECT_EQ(2, info->GetAcquireCount());
    EXPECT_EQ(RESOURCE_SOUND, info->GetType());
    EXPECT_EQ("bang", static_cast<TrackedResource*>(first)->Bytes());

    // No loader takes a script: nothing is loaded, nothing raised, the count still grows.
    EXPECT_EQ(nullptr, Manager().Acquire("Ball.lua"));
    EXPECT_EQ(1, script->GetAcquireCount());
    EXPECT_EQ(RESOURCE_UNKNOWN, script->GetType());

    // A damaged file is logged once by name with the loader's message, left unloaded and
    // uncounted, and every later acquisition raises the same error without loading again.
    LogCapture log(Dir("damaged.log"));
    ResourceInfo* broken = Manager().FindInfo("Broken.tst");
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ("Could not load test resource /sounds/Broken.tst",
                  BB_EXCEPTION_MESSAGE(Manager().Acquire("Broken.tst"), ResourceLoadError));
        EXPECT_EQ(nullptr, broken->GetResource());
        EXPECT_EQ(0, broken->GetAcquireCount());
    }
    EXPECT_EQ(1, log.Count("Warning: the resource \"Broken.tst\" could not be loaded (Could "
                           "not load test resource /sounds/Broken.tst); the game plays without "
                           "it\n"))
        << log.Text();
    EXPECT_EQ(1, static_cast<MemoryReader*>(broken->GetReader())->Closed());
    EXPECT_TRUE(Manager().IsDamaged("Broken.tst"));
    EXPECT_TRUE(Manager().IsLeftOut("Broken.tst"));
    EXPECT_FALSE(Manager().IsDamaged("Hit.tst"));

    // A new file under that name is tried afresh.
    AddMemoryEntry("Broken.tst", "/sounds/Broken.tst", "mended");
    EXPECT_FALSE(Manager().IsDamaged("Broken.tst"));
    EXPECT_NE(nullptr, Manager().Acquire("Broken.tst"));

    // The record belongs to the manager: a new one starts without it.
    DestroyManager();
    EXPECT_EQ(0, TrackedResource::Alive());
}

// A lookup by kind judges an entry by its loaded type, else by the kind a loader makes of
// its name, and refuses another kind before loading it; an entry whose loader may make
// several kinds is judged once loaded. A refusal is a missing name to every caller.
TEST_F(ResourceManagerTest, ALookupByKindRefusesEveryOtherKindBeforeLoadingIt)
{
    Manager().AddLoader(new SDLImageLoader);
    ResourceInfo* picture = AddMemoryEntry("Pic.png", "/images/Pic.png", OpaquePng());
    AddMemoryEntry("Ball.lua", "/scripts/Ball.lua", "x = 1");
    AddMemoryEntry("Hit.tst", "/sounds/Hit.tst", "bang");
    Run("Resources.Style = { strength = 2 }");

    const std::pair<const char*, const char*> refused[] = {
        {"Ball.lua", "no such picture \"Ball.lua\" (the resource of that name is a script)"},
        {"Style", "no such picture \"Style\" (the resource of that name is a table resource)"},
        {"Hit.tst", "no such picture \"Hit.tst\" (the resource of that name is a sound)"}};
    // Nothing but a loader's load tells what the test loader's entry is.
    EXPECT_TRUE(Manager().HasOfKind("Hit.tst", RESOURCE_IMAGE));
    for (const auto& entry : refused) {
        const std::string name = entry.first;
        SCOPED_TRACE(name);
        EXPECT_EQ(entry.second, BB_EXCEPTION_MESSAGE(Manager().AcquireOfKind(name, RESOURCE_IMAGE),
                                                     ResourceNotFoundException));
        EXPECT_FALSE(Manager().HasOfKind(name, RESOURCE_IMAGE));
        EXPECT_EQ(entry.second, Manager().WhyNotOfKind(name, RESOURCE_IMAGE));
    }
    // A picture asked for as a sound is not even decoded.
    EXPECT_EQ("no such sound \"Pic.png\" (the resource of that name is a picture)",
              BB_EXCEPTION_MESSAGE(Manager().AcquireOfKind("Pic.png", RESOURCE_SOUND),
                                   ResourceKindError));
    EXPECT_EQ(nullptr, picture->GetResource());
    EXPECT_EQ(0, picture->GetAcquireCount());
    ResourceInfo* info = nullptr;
    EXPECT_NE(nullptr, Manager().AcquireOfKind("Pic.png", RESOURCE_IMAGE, &info));
    EXPECT_EQ(picture, info);
    EXPECT_EQ(RESOURCE_IMAGE, Manager().KindOf(*picture));
    EXPECT_EQ("", Manager().WhyNotOfKind("Pic.png", RESOURCE_IMAGE));
    EXPECT_EQ("\"Gone.png\" is not among the resources",
              Manager().WhyNotOfKind("Gone.png", RESOURCE_IMAGE));
    EXPECT_EQ("Could not find resource info with name = Gone.png",
              BB_EXCEPTION_MESSAGE(Manager().AcquireOfKind("Gone.png", RESOURCE_IMAGE),
                                   ResourceNotFoundException));
}

TEST_F(ResourceManagerTest, ReplacingAnEntryWarnsOnceAndKeepsALoadedResourceAlive)
{
    LogCapture log(Dir("log.txt"));
    TrackedResource::Alive() = 0;
    AddMemoryEntry("Brick.tst", "a/Brick.tst", "old");
    auto* old = static_cast<TrackedResource*>(Manager().Acquire("Brick.tst"));
    AddMemoryEntry("Unused.tst", "a/Unused.tst", "never loaded");

    AddMemoryEntry("Brick.tst", "b/Brick.tst", "new");
    AddMemoryEntry("Unused.tst", "b/Unused.tst", "replacement");
    EXPECT_EQ(1, log.Count("WARNING: Resource being replaced: name = Brick.tst\n"));
    EXPECT_EQ(1, log.Count("WARNING: Resource being replaced: name = Unused.tst\n"));

    // The name now leads to the new entry, while the old resource still serves its users.
    EXPECT_EQ("b/Brick.tst", Manager().FindInfo("Brick.tst")->Name());
    EXPECT_EQ("new", static_cast<TrackedResource*>(Manager().Acquire("Brick.tst"))->Bytes());
    EXPECT_EQ("old", old->Bytes());
    EXPECT_EQ(2, TrackedResource::Alive());

    DestroyManager();
    EXPECT_EQ(0, TrackedResource::Alive());
}

TEST_F(ResourceManagerTest, ATakenEntryIsMissingAsThoughNoScannerFoundItUntilItIsBack)
{
    TrackedResource::Alive() = 0;
    AddMemoryEntry("Coin.tst", "a/Coin.tst", "gold");
    auto* loaded = static_cast<TrackedResource*>(Manager().Acquire("Coin.tst"));
    Run("seen = Resources._contents['Coin.tst'] ~= nil");
    EXPECT_TRUE(Global("seen").GetBoolean());

    std::unique_ptr<ResourceInfo> taken = Manager().TakeInfo("Coin.tst");
    ASSERT_NE(nullptr, taken);
    EXPECT_EQ(nullptr, Manager().TakeInfo("Coin.tst")) << "taken twice";
    // Every way a name is looked up meets it as a name no file has.
    EXPECT_EQ(nullptr, Manager().FindInfo("Coin.tst", true));
    EXPECT_EQ("Could not find resource info with name = Coin.tst",
              BB_EXCEPTION_MESSAGE(Manager().Acquire("Coin.tst"), ResourceNotFoundException));
    Run("seen = Resources._contents['Coin.tst'] ~= nil or Resources['Coin.tst'] ~= nil");
    EXPECT_FALSE(Global("seen").GetBoolean());
    // What was loaded still serves whoever holds it.
    EXPECT_EQ("gold", loaded->Bytes());
    EXPECT_EQ(1, TrackedResource::Alive());

    Manager().AddInfo("Coin.tst", taken.release());
    EXPECT_EQ(loaded, Manager().Acquire("Coin.tst"));
    Run("seen = Resources._contents['Coin.tst'] ~= nil");
    EXPECT_TRUE(Global("seen").GetBoolean());
}

// A host that registers the same names round after round lets go of what each round
// replaced, and of nothing replaced before it counted.
TEST_F(ResourceManagerTest, EntriesReplacedAfterACountAreReleasedAndNoOthers)
{
    TrackedResource::Alive() = 0;
    AddMemoryEntry("Brick.tst", "a/Brick.tst", "first");
    Manager().Acquire("Brick.tst");
    AddMemoryEntry("Brick.tst", "b/Brick.tst", "kept");
    auto* kept = static_cast<TrackedResource*>(Manager().Acquire("Brick.tst"));
    AddMemoryEntry("Brick.tst", "c/Brick.tst", "round");
    const std::size_t count = Manager().GetReplacedCount();
    EXPECT_EQ(2u, count);

    for (int round = 0; round < 3; ++round) {
        Manager().Acquire("Brick.tst");
        AddMemoryEntry("Brick.tst", "d/Brick.tst", "next");
        AddMemoryEntry("Brick.tst", "e/Brick.tst", "never loaded");
        Manager().ReleaseReplacedAfter(count);
        EXPECT_EQ(count, Manager().GetReplacedCount());
        EXPECT_EQ(2, TrackedResource::Alive()) << round;
    }
    EXPECT_EQ("kept", kept->Bytes());
    Manager().ReleaseReplacedAfter(count + 5); // past the end: nothing
    EXPECT_EQ(2, TrackedResource::Alive());
    DestroyManager();
    EXPECT_EQ(0, TrackedResource::Alive());
}

TEST_F(ResourceManagerTest, ResourcesTableServesScripts)
{
    AddMemoryEntry("Paddle.png", "img/Paddle.png", "");
    Run("Resources.BrickStyle = { class = 'Brick', strength = 3 }\n"
        "t = Resources.BrickStyle\n"
        "strength = t.strength\n"
        "unknown = Resources.NoSuchThing\n"
        "imageType = type(Resources['Paddle.png'])\n"
        "contentsType = type(Resources._contents.BrickStyle)\n");
    EXPECT_EQ(3, GlobalNumber("strength"));
    EXPECT_TRUE(Global("unknown").IsNil());
    EXPECT_EQ("userdata", GlobalString("imageType"));
    EXPECT_EQ("userdata", GlobalString("contentsType"));

    // An image never acquired reads as a null pointer.
    LuaObject image = State()->GetGlobals()["Resources"]["Paddle.png"];
    ASSERT_TRUE(image.IsLightUserData());
    EXPECT_EQ(nullptr, image.GetLightUserData());

    // The table resource is the very table the script assigned, seen from C++ too.
    ResourceInfo* info = Manager().FindInfo("BrickStyle");
    EXPECT_EQ(RESOURCE_TABLE, info->GetType());
    EXPECT_EQ("", info->Name());
    LuaObject* table = TableResource::GetTableFromResource("BrickStyle");
    ASSERT_NE(nullptr, table);
    EXPECT_TRUE(*table == Global("t"));

    EXPECT_EQ(nullptr, TableResource::GetTableFromResource("Paddle.png", true));
    EXPECT_EQ("Assertion failed: (resInfo->GetType() == RESOURCE_TABLE)\nMessage: The resource, "
              "\"Paddle.png\", is not a table.",
              BB_EXCEPTION_MESSAGE(TableResource::GetTableFromResource("Paddle.png"), Exception));

    // A value that is not a table is refused, and the refusal reaches the script's caller.
    EXPECT_EQ("Assertion failed: (table->IsTable())",
              BB_EXCEPTION_MESSAGE(Run("Resources.Bad = 5"), Exception));
    EXPECT_EQ(nullptr, Manager().FindInfo("Bad", true));

    // Reassigning a name replaces the table; the first one stays valid for its holders.
    Run("Resources.BrickStyle = { strength = 4 }");
    EXPECT_EQ(4,
              TableResource::GetTableFromResource("BrickStyle")->GetByName("strength").GetNumber());
    EXPECT_EQ(3, table->GetByName("strength").GetNumber());
}

TEST_F(ResourceManagerTest, DestroyedManagerLeavesScriptsAnEmptyTable)
{
    Run("Resources.Keep = {}\nheld = Resources");
    ASSERT_EQ(&Manager(), GetResourceManager());
    DestroyManager();
    EXPECT_EQ(nullptr, GetResourceManager());
    Run("afterwards = held.Keep\nleft = next(held._contents)");
    EXPECT_TRUE(Global("afterwards").IsNil());
    EXPECT_TRUE(Global("left").IsNil());
    // Assigning now stores a plain field; no manager is reached.
    Run("held.Other = {}");
}

// Managers made one after another may go in any order: the newest one alive is the
// current manager, the script source and the global `Resources`, and once every later one
// is gone the first has all three back.
TEST_F(ResourceManagerTest, ManagersGoingInAnyOrderLeaveTheRolesWithTheNewestAlive)
{
    auto addScript = [](ResourceManager& manager, const std::string& which) {
        auto* info = new ResourceInfo("Which.lua",
                                      std::make_unique<MemoryReader>("which = '" + which + "'"));
        info->SetProgramFile(true);
        manager.AddInfo("Which.lua", info);
    };
    // Which manager each role reaches: the script it reads, the table it registers into.
    auto expectServedBy = [&](ResourceManager& manager, const std::string& which) {
        EXPECT_EQ(&manager, GetResourceManager());
        RunResource("Which.lua");
        EXPECT_EQ(which, Global("which").GetString());
        Run("Resources.Mark = {}");
        EXPECT_NE(nullptr, manager.FindInfo("Mark", true));
    };
    addScript(Manager(), "first");
    for (const bool earlierGoesFirst : {true, false}) {
        SCOPED_TRACE(earlierGoesFirst ? "earlier goes first" : "later goes first");
        auto second = std::make_unique<ResourceManager>(State());
        auto third = std::make_unique<ResourceManager>(State());
        addScript(*second, "second");
        addScript(*third, "third");
        if (earlierGoesFirst) {
            second.reset();
            expectServedBy(*third, "third");
        } else {
            third.reset();
            expectServedBy(*second, "second");
        }
        second.reset();
        third.reset();
        expectServedBy(Manager(), "first");
    }
}

TEST_F(ResourceManagerTest, CachingDealsWithEveryLoadableEntryOnceDespiteChanges)
{
    EXPECT_EQ(0, Manager().StartCaching());
    EXPECT_FALSE(Manager().CacheNext());

    AddMemoryEntry("a.tst", "a.tst", "a");
    AddMemoryEntry("b.tst", "b.tst", "b");
    AddMemoryEntry("c.tst", "c.tst", "c");
    AddMemoryEntry("Script.lua", "Script.lua", "");
    Manager().Acquire("b.tst");

    ASSERT_EQ(3, Manager().StartCaching());
    EXPECT_TRUE(Manager().CacheNext());
    // A script registering many tables in the middle of the pass does not disturb it.
    Run("for i = 1, 200 do Resources['T' .. i] = {} end");
    int calls = 1;
    while (Manager().CacheNext())
        ++calls;
    EXPECT_EQ(3, calls);
    EXPECT_FALSE(Manager().CacheNext());
    for (const char* name : {"a.tst", "c.tst"}) {
        EXPECT_NE(nullptr, Manager().FindInfo(name)->GetResource()) << name;
        EXPECT_EQ(1, Manager().FindInfo(name)->GetAcquireCount()) << name;
    }
    EXPECT_EQ(2, Manager().FindInfo("b.tst")->GetAcquireCount());
    EXPECT_EQ(0, Manager().FindInfo("Script.lua")->GetAcquireCount());
}

TEST_F(ResourceManagerTest, CachingPassesADamagedFileByAndGoesOn)
{
    LogCapture log(Dir("caching.log"));
    AddMemoryEntry("a.tst", "a.tst", "fail");
    AddMemoryEntry("b.tst", "b.tst", "b");
    AddMemoryEntry("c.tst", "c.tst", "fail");
    ASSERT_EQ(3, Manager().StartCaching());
    int calls = 0;
    while (Manager().CacheNext())
        ++calls;
    EXPECT_EQ(3, calls);
    EXPECT_NE(nullptr, Manager().FindInfo("b.tst")->GetResource());
    EXPECT_EQ(0, Manager().FindInfo("a.tst")->GetAcquireCount());
    EXPECT_EQ(1, log.Count("Warning: the resource \"a.tst\" could not be loaded"));
    EXPECT_EQ(1, log.Count("Warning: the resource \"c.tst\" could not be loaded"));

    // A second pass, and a later acquisition, neither load nor log it again.
    ASSERT_EQ(3, Manager().StartCaching());
    while (Manager().CacheNext()) {
    }
    EXPECT_THROW(Manager().Acquire("a.tst"), ResourceLoadError);
    EXPECT_EQ(1, log.Count("Warning: the resource \"a.tst\" could not be loaded"));
    const std::map<std::string, std::string> damaged = {
        {"a.tst", "Could not load test resource a.tst"},
        {"c.tst", "Could not load test resource c.tst"}};
    EXPECT_EQ(damaged, Manager().GetDamaged());
}

TEST_F(ResourceManagerTest, ScriptResourcesAreReadThroughTheirReaderAndClosed)
{
    ResourceInfo* info = AddMemoryEntry("Setup.lua", "/src/Setup.lua", "answer = 42");
    MakoLuaState::DoResourceFile(State(), "Setup.lua");
    EXPECT_EQ(42, GlobalNumber("answer"));
    EXPECT_EQ(1, static_cast<MemoryReader*>(info->GetReader())->Closed());
    EXPECT_EQ("Could not find resource info with name = Missing.lua",
              BB_EXCEPTION_MESSAGE(MakoLuaState::DoResourceFile(State(), "Missing.lua"),
                                   ResourceNotFoundException));
}

TEST_F(ResourceManagerTest, MetadataFileNamesMatchBySuffixAndCase)
{
    EXPECT_TRUE(ResourceScanner::IsMetadataFile("image.cfg"));
    EXPECT_TRUE(ResourceScanner::IsMetadataFile("myimage.cfg"));
    EXPECT_TRUE(ResourceScanner::IsMetadataFile("sound.cfg"));
    EXPECT_TRUE(ResourceScanner::IsMetadataFile("metadata.cfg"));
    EXPECT_FALSE(ResourceScanner::IsMetadataFile("Image.cfg"));
    EXPECT_FALSE(ResourceScanner::IsMetadataFile("image.cfg.bak"));
}

TEST_F(ResourceManagerTest, MemoryReportAddsUpTheKnownCategories)
{
    LogCapture log(Dir("log.txt"));
    AddResourceMemoryUsage(1000, "Image");
    AddResourceMemoryUsage(-200, "Image");
    AddResourceMemoryUsage(50, "Sound");
    AddResourceMemoryUsage(7, "image"); // not a category
    VidmemImageBytes = 4096;
    Run("ShowMemUsage()");
    EXPECT_EQ(1, log.Count("Sysmem Images: 800\nVidmem Images: 4096\nSound: 50\nTotal: 4946\n"));

    // A new manager starts from zero.
    DestroyManager();
    ResourceManager fresh(State());
    EXPECT_EQ(0, SysmemImageBytes);
    EXPECT_EQ(0, VidmemImageBytes);
    EXPECT_EQ(0, SoundBytes);
}

TEST_F(ResourceManagerTest, UsageFilesListEachEntryUnderItsType)
{
    LogCapture log(Dir("log.txt"));
    SetDocumentsFolderPath(Dir("usage/"));
    CreateDirectories(Dir("usage/"));

    AddMemoryEntry("Hit.tst", "Hit.tst", "x");
    AddMemoryEntry("Ball.lua", "Ball.lua", "");
    Manager().Acquire("Hit.tst");
    Manager().Acquire("Hit.tst");
    Manager().Acquire("Hit.tst");
    Run("Resources.Style = {}\nLogResourceUsage()");

    std::string header = "Resource Name\tAcquire Count\n";
    EXPECT_EQ(header + "Ball.lua\t0\n", ReadFile(Dir("usage/ResourceUsage-RESOURCE_UNKNOWN.txt")));
    EXPECT_EQ(header, ReadFile(Dir("usage/ResourceUsage-RESOURCE_IMAGE.txt")));
    EXPECT_EQ(header + "Hit.tst\t3\n", ReadFile(Dir("usage/ResourceUsage-RESOURCE_SOUND.txt")));
    EXPECT_EQ(header + "Style\t0\n", ReadFile(Dir("usage/ResourceUsage-RESOURCE_TABLE.txt")));
    EXPECT_EQ(header, ReadFile(Dir("usage/ResourceUsage-RESOURCE_MUSIC.txt")));
    EXPECT_EQ(1, log.Count("LogResourceUsage: 1 resources of type RESOURCE_UNKNOWN processed.\n"
                           "LogResourceUsage: 0 resources of type RESOURCE_IMAGE processed.\n"
                           "LogResourceUsage: 1 resources of type RESOURCE_SOUND processed.\n"
                           "LogResourceUsage: 1 resources of type RESOURCE_TABLE processed.\n"
                           "LogResourceUsage: 0 resources of type RESOURCE_MUSIC processed.\n"
                           "LogResourceUsage: ----------------------------------------------"
                           "--------------\n"
                           "LogResourceUsage: 3 resources were processed, in total.\n"));

    // A report that cannot be written is named with its cause; the others are whole.
    SetDocumentsFolderPath(Dir("blocked/"));
    WriteFile(Dir("blocked/ResourceUsage-RESOURCE_SOUND.txt/blocker"), "");
    Manager().LogResourceUsage();
    EXPECT_EQ(1,
              log.Count("WARNING: Could not save the resource usage report \"" +
                        Dir("blocked/ResourceUsage-RESOURCE_SOUND.txt") + "\": Is a directory\n"));
    EXPECT_EQ(header + "Ball.lua\t0\n",
              ReadFile(Dir("blocked/ResourceUsage-RESOURCE_UNKNOWN.txt")));
    EXPECT_EQ(header + "Style\t0\n", ReadFile(Dir("blocked/ResourceUsage-RESOURCE_TABLE.txt")));

    // On a full disk (a file size limit here) no report is left empty or cut short.
    SetDocumentsFolderPath(Dir("full/"));
    CreateDirectories(Dir("full/"));
    AddMemoryEntry(std::string(200, 'n') + ".lua", "long.lua", "");
    bbtest::LimitedRun run = bbtest::RunWithFileSizeLimit(100, [&] {
        Manager().LogResourceUsage();
        return 0;
    });
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos,
              run.output.find("WARNING: Could not save the resource usage report \"" +
                              Dir("full/ResourceUsage-RESOURCE_UNKNOWN.txt") +
                              "\": File too large\n"))
        << run.output;
    EXPECT_EQ(header, ReadFile(Dir("full/ResourceUsage-RESOURCE_IMAGE.txt")));
    EXPECT_FALSE(std::filesystem::exists(Dir("full/ResourceUsage-RESOURCE_UNKNOWN.txt")));
    // The four other reports and nothing else: no temporary file is left behind.
    EXPECT_EQ(4, std::distance(std::filesystem::directory_iterator(Dir("full/")),
                               std::filesystem::directory_iterator()));
}

TEST_F(ResourceManagerTest, OnDemandEntriesSkipCachingAndOnlyTheLatestOfAPrefixStaysLoaded)
{
    LogCapture log(Dir("log.txt"));
    AddMemoryEntry("bkgLevelA.tst", "bkgLevelA.tst", "a");
    AddMemoryEntry("bkgLevelB.tst", "bkgLevelB.tst", "b");
    AddMemoryEntry("bkgLevelFail.tst", "bkgLevelFail.tst", "fail");
    AddMemoryEntry("bkgMenu.tst", "bkgMenu.tst", "m");
    AddMemoryEntry("tileX.tst", "tileX.tst", "x");
    AddMemoryEntry("tileY.tst", "tileY.tst", "y");
    Manager().SetOnDemandPrefixes({"bkgLevel", "", "tile"});
    EXPECT_EQ("bkgLevel", Manager().OnDemandPrefixOf("bkgLevelA.tst"));
    EXPECT_EQ("", Manager().OnDemandPrefixOf("bkgMenu.tst"));

    // Only the entry of no prefix is cached.
    ASSERT_EQ(1, Manager().StartCaching());
    while (Manager().CacheNext()) {
    }
    EXPECT_NE(nullptr, Manager().FindInfo("bkgMenu.tst")->GetResource());
    EXPECT_EQ(1, TrackedResource::Alive());

    // Loading one lets go of the other of its prefix; other prefixes keep theirs.
    // What was loaded lets go of its file's bytes.
    EXPECT_EQ(1,
              static_cast<MemoryReader*>(Manager().FindInfo("bkgMenu.tst")->GetReader())->Closed());
    Resource* tile = Manager().Acquire("tileX.tst");
    Resource* a = Manager().Acquire("bkgLevelA.tst");
    EXPECT_EQ("a", static_cast<TrackedResource*>(a)->Bytes());
    EXPECT_EQ(a, Manager().Acquire("bkgLevelA.tst")); // loaded once while it is the latest
    Manager().Acquire("bkgLevelB.tst");
    EXPECT_EQ(nullptr, Manager().FindInfo("bkgLevelA.tst")->GetResource());
    EXPECT_EQ(tile, Manager().FindInfo("tileX.tst")->GetResource());
    EXPECT_EQ(3, TrackedResource::Alive());
    EXPECT_EQ(1, log.Count("Loaded on demand: bkgLevelA.tst ("));
    EXPECT_EQ(1, log.Count("Loaded on demand: bkgLevelB.tst ("));

    // A load that fails lets go of nothing; one acquired again loads again.
    EXPECT_EQ("Could not load test resource bkgLevelFail.tst",
              BB_EXCEPTION_MESSAGE(Manager().Acquire("bkgLevelFail.tst"), ResourceLoadError));
    EXPECT_NE(nullptr, Manager().FindInfo("bkgLevelB.tst")->GetResource());
    Manager().Acquire("bkgLevelA.tst");
    EXPECT_EQ(nullptr, Manager().FindInfo("bkgLevelB.tst")->GetResource());
    EXPECT_EQ(3, Manager().FindInfo("bkgLevelA.tst")->GetAcquireCount());
    EXPECT_EQ(2, log.Count("Loaded on demand: bkgLevelA.tst ("));

    // Without prefixes everything is cached again and nothing is let go.
    Manager().SetOnDemandPrefixes({});
    AddMemoryEntry("bkgLevelFail.tst", "bkgLevelFail.tst", "f");
    EXPECT_EQ(6, Manager().StartCaching());
    while (Manager().CacheNext()) {
    }
    EXPECT_EQ(6, TrackedResource::Alive());
}
