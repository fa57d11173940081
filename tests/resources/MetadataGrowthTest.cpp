// What a picture folder's metadata costs grows with the file, not with how often its tables
// are named: one list of frames shared by many animation names is read through the game's
// scanner and decoded with its picture, at N and 10 N (a list of N frames shared by N
// names), and the work may grow about tenfold at most. A stop asked for while such a file
// is mended is answered at the next step of the work.
#include "ResourceTestSupport.h"

#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "resources/ImageFactory.h"
#include "resources/MetadataRanges.h"
#include "resources/SDLImageLoader.h"
#include "resources/SurfaceResource.h"
#include "resources/WindowsDirectoryResourceScanner.h"

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>

using namespace bbtest;
using LuaPlus::LuaObject;

namespace {

using Clock = std::chrono::steady_clock;

// Where the work asked for its own stop (WorkMeter's probe, which takes no closure).
struct StopMidway
{
    long long charged = 0;
    long long chargedWhenAsked = 0;
    bool requested = false;
    Clock::time_point asked;
};
StopMidway s_Stop;
// Halfway through the first walk of the list of 2,000,000 frames.
const long long kStopAfterUnits = 1000000;

// A metadata file whose picture has `names` animations, all one list of `frames` frames.
std::string SharedListMetadata(int frames, int names)
{
    return "local list = {} for i = 1, " + std::to_string(frames) +
           " do list[i] = i % 8 end\n"
           "local animations = {} for i = 1, " +
           std::to_string(names) +
           " do animations['spin' .. i] = list end\n"
           "Metadata { ['Strip.bmp'] = { numFrames = 8, width = 16, height = 16, "
           "Animations = animations } }\n";
}

class MetadataGrowthTest : public ResourceFixture
{
protected:
    MetadataGrowthTest() : m_PreviousFactory(SetImageFactory(&SurfaceResource::Create))
    {
        Manager().AddLoader(new SDLImageLoader);
    }
    ~MetadataGrowthTest() override
    {
        SetImageFactory(m_PreviousFactory);
        WorkMeter::SetProbe(nullptr);
        StopSignal::Reset();
    }

    // A folder with a strip of 8 frames of 16 x 16 and the metadata text.
    std::string Folder(const std::string& name, const std::string& metadata)
    {
        const std::string folder = Dir(name + "/");
        std::filesystem::create_directories(folder);
        SDL_Surface* strip =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 128, 16, 32, 0xff0000, 0xff00, 0xff, 0);
        EXPECT_EQ(0, SDL_SaveBMP(strip, (folder + "Strip.bmp").c_str()));
        SDL_FreeSurface(strip);
        WriteFile(folder + "metadata.cfg", metadata);
        return folder;
    }

    // Scans the folder and decodes its picture; the steps of work charged to its meters
    // (which, unlike the time, a busy machine does not stretch).
    long long ReadAndDecode(const std::string& folder)
    {
        static long long charged;
        charged = 0;
        WorkMeter::SetProbe([](const WorkMeter&, long long units) { charged += units; });
        WindowsDirectoryResourceScanner scanner(folder);
        ResourceInfoMap output = MakeResourceInfoMap();
        scanner.Scan(output);
        ResourceInfo& info = *output.at("Strip.bmp");
        SDLImageLoader().LoadResource(info.GetReader(), info);
        WorkMeter::SetProbe(nullptr);
        EXPECT_EQ(8, info.GetMetadata()["numFrames"].GetInteger());
        return charged;
    }

private:
    ImageFactory m_PreviousFactory;
};

} // namespace

TEST_F(MetadataGrowthTest, AListSharedByManyNamesCostsTheListOnce)
{
    const int n = 400;
    // The first read warms what every read shares (the script state, the picture loader).
    ReadAndDecode(Folder("warm", SharedListMetadata(n, n)));
    const long long small = ReadAndDecode(Folder("n", SharedListMetadata(n, n)));
    const long long large = ReadAndDecode(Folder("ten-n", SharedListMetadata(10 * n, 10 * n)));
    std::cout << "[ figures  ] a list of N frames shared by N names, N = " << n << ": " << small
              << " steps; 10 N: " << large << " steps\n";
    // Ten times the file may cost about ten times the work; a list mended once per name costs
    // a hundred times.
    EXPECT_GT(small, n);
    EXPECT_LE(large, 12 * small);
}

TEST_F(MetadataGrowthTest, ALongListIsMeteredAndAStopWhileItIsMendedIsAnsweredAtOnce)
{
    // Built here rather than by a file, so that the stop lands in the mend, not the script.
    Run("GrowthEntry = { numFrames = 8, width = 16, height = 16, Animations = {} }");
    LuaObject entry = Global("GrowthEntry");
    LuaObject list = entry["Animations"].CreateTable("spin1");
    for (int i = 1; i <= 2000000; ++i)
        list.SetInteger(i, i % 8);
    for (int i = 2; i <= 1000; ++i)
        entry["Animations"].SetObject(("spin" + std::to_string(i)).c_str(), list);
    {
        // A list longer than the file's meter allows: the work is counted, step by step.
        WorkMeter small("the metadata file \"small\"", 100000);
        std::string problem;
        EXPECT_THROW(MetadataRanges::FitFrames(entry, 128, 16, problem), WorkSpent);
        EXPECT_EQ("the metadata file \"small\" needs more than 100000 steps of work",
                  small.Describe());
    }
    WorkMeter meter("the metadata file \"test\"", 1LL << 60);
    // The stop is asked for by the work itself, halfway through the first walk of the list:
    // a signal that comes while the mend goes on, however busy the machine.
    s_Stop = StopMidway{};
    WorkMeter::SetProbe([](const WorkMeter&, long long units) {
        s_Stop.charged += units;
        if (!s_Stop.requested && s_Stop.charged >= kStopAfterUnits) {
            s_Stop.requested = true;
            s_Stop.chargedWhenAsked = s_Stop.charged;
            s_Stop.asked = Clock::now();
            StopSignal::Request(SIGTERM);
        }
    });
    std::string problem;
    bool stopped = false;
    try {
        // Frames 0..7 are known: every element of the list is read and held to them.
        for (int round = 0; round < 50; ++round)
            MetadataRanges::FitFrames(entry, 128, 16, problem);
    } catch (const WorkSpent&) {
        stopped = true;
    }
    const Clock::time_point answered = Clock::now();
    WorkMeter::SetProbe(nullptr);
    ASSERT_TRUE(s_Stop.requested) << "the work ended before it was halfway";
    const double answer = std::chrono::duration<double>(answered - s_Stop.asked).count();
    EXPECT_TRUE(stopped);
    EXPECT_EQ("the metadata file \"test\" was stopped by SIGTERM", meter.Describe());
    std::cout << "[ figures  ] SIGTERM answered after " << answer << " s\n";
    // A stop is answered at the next charge: no step of work is done after it.
    EXPECT_EQ(s_Stop.chargedWhenAsked, s_Stop.charged);
    EXPECT_LT(answer, 1.0);
}
