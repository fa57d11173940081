#include "support/engine/FieldWorld.h"

#include "app/ArcadeApp.h"
#include "bass/MixerSource.h"
#include "bass/bass.h"
#include "core/Config.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "sound/BASSSoundLoader.h"
#include "sound/DirectMusicLoader.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace bbtest {

namespace {

void OpenAudioOffline()
{
    static Sound::DeviceAccess access;
    access.describe = [](int device) -> const char* {
        return device == 0 ? "No sound" : device == 1 ? "Default output (offline)" : nullptr;
    };
    access.open = [](int device, std::uint32_t freq, std::uint32_t flags) {
        return BASS_Init(1, freq, flags | bassx::DEVICE_OFFLINE, nullptr, nullptr) != 0;
    };
    Sound::SetDeviceAccess(&access);
    Sound::Init(true);
}

} // namespace

void OpenGameResources()
{
    // Video and text come back on every call: an application of an earlier test in the
    // same process may have stopped what it started.
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    if (!TTF_WasInit())
        TTF_Init();
    static bool opened = false;
    if (opened)
        return;
    const std::string pack = AssetPackFolder();
    const std::string missing = MissingFile(pack, "asset pack");
    if (!missing.empty()) {
        ADD_FAILURE() << missing << ": run the play-field tests through CTest, whose "
                      << "AssetPack fixture writes the pack they read, or build the target assets";
        return;
    }
    opened = true;
    PassHarness::PrepareEngine();
    LuaPlus::LuaState* state = GetGlobalLuaState();
    static Config* config = new Config(state);
    (void)config;

    ResourceManager& resources = TestResources();
    resources.AddLoader(new SDLImageLoader());
    resources.AddLoader(new BASSSoundLoader());
    resources.AddLoader(new DirectMusicLoader()); // loads only once a test starts the music
    const std::string source = BB_SOURCE_DIR;
    AddProgramScanner(new WindowsDirectoryResourceScanner(source + "/MakoEngine/Source/scripts/"));
    AddProgramScanner(new WindowsDirectoryResourceScanner(source + "/game/"));
    AddProgramScanner(
        new WindowsDirectoryResourceScanner(source + "/MakoArcadeLib/Source/scripts/"));
    AddProgramScanner(new WindowsDirectoryResourceScanner(pack));
    resources.ScanAll();

    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    MakoLuaState::LoadString(state, "LoadConfig { music_volume = 100, sfx_volume = 100 }");
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
    OpenAudioOffline();
}

namespace {

// Every log alive hears every play.
std::vector<SoundLog*>& LiveLogs()
{
    static std::vector<SoundLog*> logs;
    return logs;
}

} // namespace

SoundLog::SoundLog()
{
    if (LiveLogs().empty())
        Sound::SetPlayListener([](const std::string& name, std::uint32_t, int volume, int pan) {
            for (SoundLog* log : LiveLogs())
                log->m_Plays.push_back({name, volume, pan});
        });
    LiveLogs().push_back(this);
}

SoundLog::~SoundLog()
{
    LiveLogs().erase(std::find(LiveLogs().begin(), LiveLogs().end(), this));
    if (LiveLogs().empty())
        Sound::SetPlayListener(nullptr);
}

int SoundLog::Count(const std::string& name) const
{
    int n = 0;
    for (const Play& play : m_Plays)
        n += play.name == name;
    return n;
}

std::vector<std::string> SoundLog::Names() const
{
    std::vector<std::string> names;
    for (const Play& play : m_Plays)
        names.push_back(play.name);
    return names;
}

} // namespace bbtest
