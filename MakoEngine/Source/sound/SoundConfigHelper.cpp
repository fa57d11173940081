#include "sound/SoundConfigHelper.h"

#include "core/Log.h"
#include "sound/Sound.h"

#include <algorithm>
#include <string>

namespace {

// The configured volume truncated to an integer. A value outside 0..100 (a hand-edited
// configuration file) is brought into range with a warning naming the key, so the
// user's file never stops the game.
unsigned VolumeFrom(const std::string& key, const LuaPlus::LuaObject& value)
{
    int volume = value.GetInteger();
    if (volume < 0 || volume > 100) {
        int inRange = std::clamp(volume, 0, 100);
        Log("WARNING: Configuration key \"%s\" holds %d, outside 0..100; using %d.\n", key.c_str(),
            volume, inRange);
        volume = inRange;
    }
    return static_cast<unsigned>(volume);
}

} // namespace

bool SoundConfigHelper::OnConfigUpdate(const Event& event)
{
    const LuaPlus::LuaObject* update = static_cast<const LuaPlus::LuaObject*>(EventData1(event));
    if (!update || !update->IsTable()) {
        return true;
    }
    LuaPlus::LuaObject key = (*update)["key"];
    LuaPlus::LuaObject value = (*update)["value"];
    if (!key.IsString() || !value.IsNumber()) {
        return true;
    }
    std::string name = key.GetString();
    if (name == "music_volume") {
        Sound::SetMusicVolume(VolumeFrom(name, value));
    } else if (name == "sfx_volume") {
        Sound::SetSFXVolume(VolumeFrom(name, value));
    }
    return true;
}
