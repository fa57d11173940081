// A font file and a sound file as the game opens them. The font is registered as the only
// font of a resource manager and opened by name at sizes the game uses, then made to
// measure and draw texts; the sound is loaded whole as a sample and opened as a stream by
// the audio layer (offline). Both promise bounds: a text surface within the font's
// proportion, and every pixel of a text written inside its surface (the surface is guarded,
// since SDL_ttf, which writes it, is not built with the sanitizers); a sample within the
// whole-decode bound.
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "FuzzSeeds.h"
#include "GuardedSurfaces.h"

#include "bass/MixerSource.h"
#include "bass/SoundDecoder.h"
#include "bass/bass.h"
#include "core/Exception.h"
#include "display/Font.h"
#include "display/FontCache.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsMappedFileReader.h"
#include "support/CostlyFiles.h"

#include <SDL_ttf.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fuzz {

namespace {

const int kFontSizes[] = {6, 9, 26, 120};

} // namespace

void RunFontFile(const uint8_t* data, size_t size)
{
    PrepareEngineOnce();
    if (!TTF_WasInit() && TTF_Init() != 0)
        Fail("SDL_ttf did not start");
    const std::string path = ScratchFolder() + "fuzz.ttf";
    WriteScratchFile(path, data, size);
    ResourceManager manager(GetGlobalLuaState());
    manager.AddInfo("Fuzz.ttf",
                    new ResourceInfo(path, std::make_unique<WindowsMappedFileReader>()));
    const std::string text = "Great Wall 0123 MWg \xC3\xA9\xE2\x82\xAC";
    const SDL_Color white = {255, 255, 255, 0};
    for (int pointSize : kFontSizes) {
        try {
            Font font("Fuzz.ttf", pointSize, 0);
            const long long bound =
                FontCache::kProportion * pointSize + FontCache::kProportionSlack;
            const long long allowed = bound * bound * static_cast<long long>(text.size() + 1);
            const Point<int> measured = font.GetTextSize(text);
            if (static_cast<long long>(measured.x) * measured.y > allowed)
                Fail("a text measured out of its font's proportion");
            GuardedSurfaces guarded;
            SDL_Surface* drawn = font.RenderText_Blended(text, white);
            if (!drawn)
                Fail("a font drew no surface");
            if (!guarded.Intact(drawn))
                Fail("a text was drawn outside its surface");
            if (static_cast<long long>(drawn->w) * drawn->h > allowed)
                Fail("a text drawn out of its font's proportion");
            guarded.Release(drawn);
        } catch (const Exception&) {
            // Refused: named, and the game stands another font in or says it cannot start.
        }
    }
}

void RunSoundFile(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    static const bool started = BASS_Init(1, 44100, bassx::DEVICE_OFFLINE, nullptr, nullptr);
    if (!started || size == 0)
        return;
    HSAMPLE sample =
        BASS_SampleLoad(true, data, 0, static_cast<std::uint32_t>(size), 4, BASS_SAMPLE_SOFTWARE);
    if (sample) {
        BASS_SAMPLE info{};
        if (!BASS_SampleGetInfo(sample, &info))
            Fail("a loaded sample has no information");
        if (info.length > bassx::SoundDecoder::kMaxBytes)
            Fail("a sample holds more than a whole decode may");
        BASS_SampleFree(sample);
    }
    HSTREAM stream = BASS_StreamCreateFile(true, data, 0, size, BASS_SAMPLE_SOFTWARE);
    if (stream)
        BASS_StreamFree(stream);
}

std::vector<Seed> FontSeeds(const std::string& packFolder)
{
    std::vector<Seed> seeds;
    if (packFolder.empty())
        return seeds;
    for (const char* name : {"DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf"}) {
        std::ifstream in(packFolder + "/Fonts/" + name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in)
            continue;
        seeds.push_back({name, bytes.str()});
        for (const bbtest::FontField& field : bbtest::FontExtremes()) {
            std::string seedName = std::string(field.name) + "-" + name;
            for (char& c : seedName)
                if (c == '/' || c == ' ')
                    c = '_';
            seeds.push_back({seedName, bbtest::PatchFont(bytes.str(), field)});
        }
    }
    return seeds;
}

std::vector<Seed> SoundSeeds()
{
    return {
        {"hour-of-silence.ogg", bbtest::SilentOgg({48000, 2, 3600})},
        {"second.ogg", bbtest::SilentOgg({48000, 2, 1})},
        {"second-claiming-an-hour.ogg", bbtest::SilentOgg({48000, 2, 1, 3600ll * 48000})},
        {"rate-one.ogg", bbtest::SilentOgg({1, 1, 1})},
        {"second.wav", bbtest::LyingWav({22050, 1, 16, 44100})},
        {"rate-one.wav", bbtest::LyingWav({1, 2, 16, 40000})},
        {"claims-two-gigabytes.wav", bbtest::LyingWav({22050, 2, 16, 1000, 0x7FFFFFF0})},
        {"adpcm.wav", bbtest::LyingWav({22050, 2, 4, 4000, -1, 2})},
    };
}

} // namespace fuzz
