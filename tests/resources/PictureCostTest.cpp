// A picture's cost is known before it is decoded. The sweep writes pictures of every format
// the loader reads (PNG, JPEG, BMP of both info headers) whose headers give huge sizes, with
// the rest of the file as a decoder wants it, and every header cut short, and loads each
// through the resource manager: a picture past the bound is named through the data report
// and stands in as a damaged one, and no load allocates more than a few megabytes (under
// the sanitizers every allocation is watched; a picture decoded at its header's size would
// ask for hundreds of megabytes at once). A picture within the bound decodes as before, and
// one the open work meter cannot pay for is refused naming the meter.
#include "ResourceTestSupport.h"

#include "core/DataReport.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "resources/SDLImageLoader.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace bbtest;

// The sanitizers' allocation hooks; absent from builds without them.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*))
    __attribute__((weak));

namespace {

std::size_t g_Largest = 0;

void NoteAllocation(const volatile void*, std::size_t size)
{
    if (size > g_Largest)
        g_Largest = size;
}

void NoteFree(const volatile void*) {}

// Whether every allocation is watched (a sanitizer build).
bool WatchAllocations()
{
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks &&
        __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree);
    return installed;
}

std::string Be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Le32(std::uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string PngChunk(const std::string& type, const std::string& data)
{
    return Be32(std::uint32_t(data.size())) + type + data + Be32(Crc32(type + data));
}

// An RGB PNG of that size: a true header, a little compressed data, the end.
std::string Png(std::uint32_t width, std::uint32_t height)
{
    const std::string ihdr = Be32(width) + Be32(height) + std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) +
           PngChunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
           PngChunk("IEND", "");
}

// A baseline (or progressive) JPEG of that size: the frame header, a scan header and a
// few bytes of scan.
std::string Jpeg(unsigned width, unsigned height, bool progressive = false)
{
    auto be16 = [](unsigned v) { return std::string{char(v >> 8), char(v)}; };
    const std::string sof = std::string("\xff", 1) + (progressive ? "\xc2" : "\xc0") + be16(17) +
                            "\x08" + be16(height) + be16(width) +
                            std::string("\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00", 10);
    const std::string sos = std::string("\xff\xda", 2) + be16(12) +
                            std::string("\x03\x01\x00\x02\x00\x03\x00\x00\x3f\x00", 10);
    return std::string("\xff\xd8", 2) + sof + sos + std::string(16, '\0') +
           std::string("\xff\xd9", 2);
}

// A 24-bit BMP of that size with the Windows info header (40 bytes), or the OS/2 one (12).
std::string Bmp(std::int32_t width, std::int32_t height, bool os2 = false,
                std::size_t pixelBytes = 64)
{
    std::string info;
    if (os2) {
        info = Le32(12) +
               std::string{
                   char(width), char(width >> 8), char(height), char(height >> 8), 1, 0, 24, 0};
    } else {
        info = Le32(40) + Le32(std::uint32_t(width)) + Le32(std::uint32_t(height)) +
               std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0');
    }
    const std::uint32_t offset = 14 + std::uint32_t(info.size());
    return "BM" + Le32(offset + std::uint32_t(pixelBytes)) + Le32(0) + Le32(offset) + info +
           std::string(pixelBytes, '\x7f');
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

    // Loads the bytes as a picture; its size as loaded, and the largest allocation made.
    std::pair<int, int> Load(const std::string& name, const std::string& bytes,
                             std::size_t& largest)
    {
        AddMemoryEntry(name, name, bytes);
        g_Largest = 0;
        auto* image = dynamic_cast<Image*>(Manager().Acquire(name));
        largest = g_Largest;
        if (!image)
            return {-1, -1};
        return {image->GetSize().x, image->GetSize().y};
    }

    // The reports that name the picture.
    int ReportsNaming(const std::string& name) const
    {
        int count = 0;
        for (const std::string& line : m_Reports)
            count += line.find("\"" + name + "\"") != std::string::npos;
        return count;
    }

    std::vector<std::string> m_Reports;
    DataReport::Listener m_Previous;
};

} // namespace

TEST_F(PictureCostTest, AHugeSizeInAnyHeaderIsRefusedBeforeItIsDecoded)
{
    const bool watched = WatchAllocations();
    struct Case
    {
        std::string name, bytes;
    };
    std::vector<Case> cases;
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {
        {16000, 16000}, {60000, 2}, {2, 60000}, {4097, 1}, {2100, 2100}};
    for (const auto& [w, h] : sizes) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        cases.push_back({"Huge" + size + ".png", Png(w, h)});
        cases.push_back({"Huge" + size + ".jpg", Jpeg(w, h)});
        cases.push_back({"HugeProgressive" + size + ".jpg", Jpeg(w, h, true)});
        cases.push_back({"Huge" + size + ".bmp", Bmp(std::int32_t(w), std::int32_t(h))});
        cases.push_back({"HugeTopDown" + size + ".bmp", Bmp(std::int32_t(w), -std::int32_t(h))});
        if (w < 32768 && h < 32768)
            cases.push_back(
                {"HugeOs2" + size + ".bmp", Bmp(std::int32_t(w), std::int32_t(h), true)});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t largest = 0;
        EXPECT_EQ(std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
                  Load(c.name, c.bytes, largest));
        EXPECT_TRUE(Manager().IsDamaged(c.name));
        EXPECT_EQ(1, ReportsNaming(c.name));
        if (watched) {
            EXPECT_LT(largest, 8u << 20) << "bytes allocated at once";
        }
    }
}

TEST_F(PictureCostTest, AHeaderCutShortAtAnyByteStandsIn)
{
    const std::string whole[] = {Png(20, 10), Jpeg(20, 10), Bmp(20, 10), Bmp(20, 10, true)};
    const std::size_t headers[] = {33, 2 + 19 + 14, 14 + 40, 14 + 12};
    for (int f = 0; f < 4; ++f)
        for (std::size_t cut = 0; cut < headers[f]; ++cut) {
            const std::string name = "Cut" + std::to_string(f) + "_" + std::to_string(cut) + ".png";
            SCOPED_TRACE(name);
            std::size_t largest = 0;
            EXPECT_EQ(std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
                      Load(name, whole[f].substr(0, cut), largest));
            EXPECT_TRUE(Manager().IsDamaged(name));
        }
}

TEST_F(PictureCostTest, APictureWithinTheBoundDecodesAndTheWorkMeterPaysForIt)
{
    std::size_t largest = 0;
    EXPECT_EQ(std::make_pair(4, 3), Load("Small.png", OpaquePng(), largest));
    // A 640 x 480 picture, the size of the game's screens, as a BMP.
    const std::string bmp = Bmp(640, 480, false, 640 * 480 * 3);
    EXPECT_EQ(std::make_pair(640, 480), Load("Screen.bmp", bmp, largest));
    EXPECT_TRUE(m_Reports.empty());

    // Under a meter too small for its pixels it is refused, naming the meter.
    {
        WorkMeter meter("level \"Tiny\"", 100);
        EXPECT_EQ(std::make_pair(SDLImageLoader::kStandInSize, SDLImageLoader::kStandInSize),
                  Load("Metered.bmp", bmp, largest));
    }
    ASSERT_EQ(1, ReportsNaming("Metered.bmp"));
    EXPECT_NE(std::string::npos, m_Reports.back().find("level \"Tiny\"")) << m_Reports.back();
    // A meter with room for it pays: 640 x 480 is 1,201 steps.
    {
        WorkMeter meter("level \"Roomy\"", 5000);
        EXPECT_EQ(std::make_pair(640, 480), Load("Paid.bmp", bmp, largest));
        EXPECT_GE(meter.GetUsed(), 1 + 640 * 480 / SDLImageLoader::kPixelsPerStep);
    }
}
