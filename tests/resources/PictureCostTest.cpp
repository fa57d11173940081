// A picture costs what its decoder reads, within the bound. The sweep loads, through the
// resource manager as the game does, small files that promise huge work (support/
// HostilePictures: every header field of JPEG, PNG and both BMP headers at its extremes, lying
// and contradictory headers, every header cut short): each is decoded at a size within the
// bound or refused, named once (by the size its decoder read, where the generator made that
// size past the bound), and stood in for; and the resident memory a load adds stays under
// what a picture at the bound may cost, which a picture decoded at a size past the bound would
// exceed many times over. The memory is the process's own peak, so the check holds in every
// build, with or without the sanitizers. A progressive JPEG of endless scans costs no more
// than the scans a picture may have.
//
// True pictures of every kind decode as SDL_image decodes them, pixel for pixel, and a picture
// is charged to the open work meter. Every row of the sweep costs at most 1.5 s of processor
// time, whatever the file holds beside its pixels, and a stop asked for while the costliest
// pictures decode is answered at once.
#include "ResourceTestSupport.h"

#include "core/DataReport.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "resources/PictureDecoder.h"
#include "resources/SDLImageLoader.h"
#include "support/HostilePictures.h"
#include "support/ResidentMemory.h"

#include <SDL_image.h>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace bbtest;

namespace {

// What a picture at the bound may hold resident while it loads: its surface at four bytes a
// pixel, the display's copy of it, and a progressive JPEG's coefficients (two bytes for each
// of three components) beside them, twice over for the allocators' and sanitizers' overhead.
constexpr long long kMostBytesAPictureMayCost = 2 * (4 + 4 + 6) * SDLImageLoader::kMaxPicturePixels;
// The processor time a picture may cost, under the sanitizers on a busy machine: a few times
// what a picture at the bound takes (0.7 s).
constexpr double kMostSecondsAPictureMayCost = 1.5;

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class PictureCostTest : public ResourceFixture
{
protected:
    PictureCostTest()
    {
        Manager().AddLoader(new SDLImageLoader);
        m_Previous = DataReport::SetListener(
            [this](const DataIssue& issue) { m_Reports.push_back(issue.ToString()); });
    }
    ~PictureCostTest() override { DataReport::SetListener(m_Previous); }

    struct Loaded
    {
        int width = -1, height = -1;
        long long addedBytes = 0; // resident memory the load added at its peak
        double seconds = 0;       // processor time
    };

    Loaded Load(const std::string& name, const std::string& bytes)
    {
        AddMemoryEntry(name, name, bytes);
        Loaded loaded;
        EXPECT_TRUE(ResetPeakResident()) << "the peak resident memory cannot be measured here";
        const long long before = StatusKb("VmRSS");
        const double started = ProcessorSeconds();
        ResourceInfo* info = nullptr;
        auto* image = dynamic_cast<Image*>(Manager().Acquire(name, &info));
        loaded.seconds = ProcessorSeconds() - started;
        loaded.addedBytes = (StatusKb("VmHWM") - before) * 1024;
        if (image) {
            loaded.width = image->GetSize().x;
            loaded.height = image->GetSize().y;
            info->SetResource(nullptr); // the sweep holds one picture at a time
        }
        return loaded;
    }

    // The reports that name the picture and hold text.
    int ReportsWith(const std::string& name, const std::string& text) const
    {
        int count = 0;
        for (const std::string& line : m_Reports)
            count += line.find("\"" + name + "\"") != std::string::npos &&
                     line.find(text) != std::string::npos;
        return count;
    }

    int ReportsNaming(const std::string& name) const
    {
        int count = 0;
        for (const std::string& line : m_Reports)
            count += line.find("\"" + name + "\"") != std::string::npos;
        return count;
    }

    // Every picture of the list is decoded within the bound, or refused, named once and stood
    // in for; none adds more resident memory than a picture at the bound may cost.
    void ExpectEachBoundedOrNamed(const std::vector<HostilePicture>& pictures)
    {
        long long most = 0;
        std::string costliest;
        double slowest = 0;
        for (const HostilePicture& picture : pictures) {
            SCOPED_TRACE(picture.name + ": " + picture.what);
            const Loaded loaded = Load(picture.name, picture.bytes);
            if (loaded.addedBytes > most)
                most = loaded.addedBytes, costliest = picture.what;
            EXPECT_LE(loaded.addedBytes, kMostBytesAPictureMayCost);
            EXPECT_LE(loaded.seconds, kMostSecondsAPictureMayCost);
            slowest = std::max(slowest, loaded.seconds);
            ASSERT_GT(loaded.width, 0);
            if (!picture.refusal.empty()) {
                EXPECT_TRUE(Manager().IsDamaged(picture.name));
                EXPECT_EQ(1, ReportsWith(picture.name, picture.refusal));
            }
            if (Manager().IsDamaged(picture.name)) {
                EXPECT_EQ(
                    std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
                    std::make_pair(loaded.width, loaded.height));
                EXPECT_EQ(1, ReportsNaming(picture.name));
            } else {
                EXPECT_LE(loaded.width, SDLImageLoader::kMaxPictureSide);
                EXPECT_LE(loaded.height, SDLImageLoader::kMaxPictureSide);
                EXPECT_LE(static_cast<long long>(loaded.width) * loaded.height,
                          SDLImageLoader::kMaxPicturePixels);
                EXPECT_EQ(0, ReportsNaming(picture.name));
            }
        }
        std::printf("%zu pictures; the costliest added %lld MiB resident: %s; the slowest took "
                    "%.3f s\n",
                    pictures.size(), most >> 20, costliest.c_str(), slowest);
    }

    std::vector<std::string> m_Reports;
    DataReport::Listener m_Previous;
};

// The decoded surface's format and the colour of every pixel, as text for comparisons.
std::string Describe(SDL_Surface* surface)
{
    if (!surface)
        return "none";
    const SDL_PixelFormat& f = *surface->format;
    std::string text = std::to_string(surface->w) + "x" + std::to_string(surface->h) + " " +
                       std::to_string(f.BitsPerPixel) + " bits, masks " + std::to_string(f.Rmask) +
                       " " + std::to_string(f.Gmask) + " " + std::to_string(f.Bmask) + " " +
                       std::to_string(f.Amask) + ", key " +
                       std::to_string(surface->flags & SDL_SRCCOLORKEY ? f.colorkey : ~0u);
    std::uint32_t sum = 0;
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            Uint32 pixel = 0;
            std::memcpy(&pixel,
                        static_cast<Uint8*>(surface->pixels) + y * surface->pitch +
                            x * f.BytesPerPixel,
                        f.BytesPerPixel);
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
            sum = sum * 31 + (Uint32(r) << 24 | Uint32(g) << 16 | Uint32(b) << 8 | a);
        }
    return text + ", colours " + std::to_string(sum);
}

} // namespace

TEST_F(PictureCostTest, EveryHostileHeaderIsDecodedWithinTheBoundOrNamedOnce)
{
    ExpectEachBoundedOrNamed(HostilePictureSweep());
}

TEST_F(PictureCostTest, APictureCutShortAtAnyByteIsDecodedOrNamedOnce)
{
    ExpectEachBoundedOrNamed(PicturesCutShort());
}

// A progressive JPEG at the bound whose frame says 2048 x 2048 over the few scans of a small
// one, and those scans repeated: each costs a pass over every pixel.
std::string JpegOfManyScans(int repeats, int* scans = nullptr)
{
    std::string jpeg = EncodeJpeg(16, 16, true);
    const std::size_t frame = jpeg.find("\xff\xc2");
    jpeg[frame + 5] = jpeg[frame + 7] = char(2048 >> 8);
    jpeg[frame + 6] = jpeg[frame + 8] = char(2048 & 0xFF);
    const std::size_t firstScan = jpeg.find("\xff\xda");
    if (scans)
        for (std::size_t at = firstScan; at != std::string::npos;
             at = jpeg.find("\xff\xda", at + 2))
            ++*scans;
    std::string many = jpeg.substr(0, jpeg.size() - 2);
    for (int i = 0; i < repeats; ++i)
        many += jpeg.substr(firstScan, jpeg.size() - 2 - firstScan);
    return many + "\xff\xd9";
}

TEST_F(PictureCostTest, AProgressiveJpegOfEndlessScansIsStoppedWithinAFewPasses)
{
    // Every scan of a progressive picture is a pass over all its pixels, whatever data it
    // holds. A picture at the bound whose frame says 2048 x 2048 over the few scans of a small
    // one costs a pass for each; with those scans repeated 3000 times it may cost no
    // more than the scans a picture may have.
    int scans = 0;
    const Loaded once = Load("Once.jpg", JpegOfManyScans(0, &scans));
    ASSERT_EQ(2048, once.width);
    const Loaded repeated = Load("Endless.jpg", JpegOfManyScans(3000));
    EXPECT_TRUE(Manager().IsDamaged("Endless.jpg"));
    // Twice the passes allowed, and a tenth of a second for the machine's other work.
    EXPECT_LT(repeated.seconds, 2 * once.seconds * PictureDecoder::kMaxJpegScans / scans + 0.1)
        << "a pass of " << once.seconds / scans << " s";
}

TEST_F(PictureCostTest, AStopAskedForDuringADecodingIsAnsweredAtOnce)
{
    // The costliest pictures at the bound, by the decoder's own work (a JPEG's scans, read before
    // its first row) and by its rows (a PNG's seven passes). A stop asked for a third of the way
    // through the whole decoding ends it (no picture), well before the rest would have been
    // decoded (within half the whole: busy cores stretch a short decoding's clock), and within
    // a second.
    int scans = 0;
    JpegOfManyScans(0, &scans);
    const std::pair<const char*, std::string> pictures[] = {
        {"Scans.jpg", JpegOfManyScans(PictureDecoder::kMaxJpegScans / scans - 1)},
        {"Passes.png", EncodePng(2048, 2048, 6, 16, true)},
    };
    using Clock = std::chrono::steady_clock;
    for (const auto& [name, bytes] : pictures) {
        SCOPED_TRACE(name);
        const auto started = Clock::now();
        SDL_FreeSurface(PictureDecoder::Decode(name, bytes.data(), bytes.size()));
        const double whole = std::chrono::duration<double>(Clock::now() - started).count();
        // A try whose decoding ended before the stop was asked for (busy cores kept the stopper
        // waiting, or ran this decoding faster than the first) shows nothing: the next asks
        // for it sooner.
        bool landed = false;
        auto wait = std::chrono::duration<double>(whole / 3);
        for (int attempt = 0; attempt < 5 && !landed; ++attempt, wait /= 2) {
            Clock::time_point asked;
            std::thread stopper([&] {
                std::this_thread::sleep_for(wait);
                StopSignal::Request(SIGTERM);
                asked = Clock::now();
            });
            bool stopped = false;
            try {
                SDL_FreeSurface(PictureDecoder::Decode(name, bytes.data(), bytes.size()));
            } catch (const WorkSpent&) {
                stopped = true;
            }
            const auto answered = Clock::now();
            stopper.join();
            StopSignal::Reset();
            landed = stopped || answered > asked;
            if (!landed)
                continue;
            EXPECT_TRUE(stopped) << "the decoding went on to its end after the stop";
            const double seconds = std::chrono::duration<double>(answered - asked).count();
            std::printf("%s: decoded whole in %.3f s, the stop answered after %.3f s\n", name,
                        whole, seconds);
            EXPECT_LT(seconds, std::min(1.0, whole / 2));
        }
        EXPECT_TRUE(landed) << "no stop came inside a decoding in 5 tries";
    }
}

TEST_F(PictureCostTest, TruePicturesOfEveryKindDecodeAsSdlImageDecodesThem)
{
    const std::pair<std::string, std::string> pictures[] = {
        {"baseline JPEG", EncodeJpeg(33, 17)},
        {"progressive JPEG", EncodeJpeg(33, 17, true)},
        {"grey JPEG", EncodeJpeg(9, 31, false, true)},
        {"RGB PNG", EncodePng(13, 7)},
        {"RGBA PNG of 16 bits", EncodePng(13, 7, 6, 16)},
        {"grey PNG of 1 bit, interlaced", EncodePng(13, 7, 0, 1, true)},
        {"grey PNG of 8 bits", EncodePng(13, 7, 0, 8)},
        {"grey and alpha PNG", EncodePng(13, 7, 4, 8)},
        {"palette PNG of 4 bits", EncodePng(13, 7, 3, 4)},
        {"small PNG", OpaquePng()},
        {"alpha PNG", AlphaPng()},
        {"BMP of 1 bit", EncodeBmp(13, 7, 1)},
        {"BMP of 4 bits", EncodeBmp(13, 7, 4)},
        {"BMP of 8 bits", EncodeBmp(13, 7, 8)},
        {"BMP of 16 bits", EncodeBmp(13, 7, 16)},
        {"BMP of 24 bits", EncodeBmp(13, 7, 24)},
        {"BMP of 32 bits", EncodeBmp(13, 7, 32)},
        {"BMP stored top to bottom", EncodeBmp(13, -7, 24)},
        {"OS/2 BMP of 8 bits", EncodeBmp(13, 7, 8, true)},
        {"OS/2 BMP of 24 bits", EncodeBmp(13, 7, 24, true)},
    };
    for (const auto& [what, bytes] : pictures) {
        SCOPED_TRACE(what);
        SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
        SDL_Surface* expected = IMG_Load_RW(rw, 1);
        SDL_Surface* decoded = PictureDecoder::Decode(what, bytes.data(), bytes.size());
        EXPECT_EQ(Describe(expected), Describe(decoded));
        SDL_FreeSurface(expected);
        SDL_FreeSurface(decoded);
    }
}

TEST_F(PictureCostTest, APictureWithinTheBoundIsChargedToTheOpenWorkMeter)
{
    // A 640 x 480 picture, the size of the game's screens.
    const std::string bmp = EncodeBmp(640, 480);
    EXPECT_EQ(640, Load("Screen.bmp", bmp).width);
    EXPECT_TRUE(m_Reports.empty());

    // Under a meter too small for its pixels it is refused, naming the meter.
    {
        WorkMeter meter("level \"Tiny\"", 100);
        EXPECT_EQ(SDLImageLoader::kStandInSize, Load("Metered.bmp", bmp).width);
    }
    ASSERT_EQ(1, ReportsNaming("Metered.bmp"));
    EXPECT_NE(std::string::npos, m_Reports.back().find("level \"Tiny\"")) << m_Reports.back();
    // A meter with room for it pays: 640 x 480 is 1,201 steps.
    {
        WorkMeter meter("level \"Roomy\"", 5000);
        EXPECT_EQ(640, Load("Paid.bmp", bmp).width);
        EXPECT_GE(meter.GetUsed(), 1 + 640 * 480 / SDLImageLoader::kPixelsPerStep);
    }
}
