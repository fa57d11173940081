#include "CheckEngine.h"

#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsApplicationResourceScanner.h"
#include "sound/BASSSoundLoader.h"
#include "sound/DirectMusicLoader.h"
#include "sound/Sound.h"

#include "app/ArcadeApp.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>

namespace levelcheck {

void OpenEngine(const std::string& pack)
{
    // No window ever opens: the dummy video driver unless the caller chose one.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();

    SDL_Init(SDL_INIT_VIDEO);
    if (!TTF_WasInit())
        TTF_Init();
    static Config* config = new Config(state);
    (void)config;

    // Lives for the process: the current manager and the source of every script.
    ResourceManager* resources = new ResourceManager(state);
    resources->AddLoader(new SDLImageLoader());
    resources->AddLoader(new BASSSoundLoader());
    resources->AddLoader(new DirectMusicLoader());
    resources->AddScanner(new WindowsApplicationResourceScanner());
    resources->AddScanner(new PhysFSResourceScanner(pack));
    resources->ScanAll();

    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    MakoLuaState::LoadString(state, "LoadConfig { music_volume = 100, sfx_volume = 100 }");
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
    // Audio on the dummy driver: the sound and music loaders accept files only while it is
    // open, and the check loads every song and sound to find the damaged ones.
    Sound::Init(true);
    Sound::InitDirectMusic(true);
}

} // namespace levelcheck
