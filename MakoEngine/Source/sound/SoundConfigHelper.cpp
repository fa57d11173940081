#include "sound/SoundConfigHelper.h"

#include "core/DataRange.h"
#include "core/Log.h"
#include "sound/Sound.h"

#include <algorithm>
#include <string>

namespace {

// The configured volume truncated to an integer. A value outside 0..100 (a hand-edited
// configuration file) is brought into range with a warning naming the key and the value as
// written (the range is checked before the conversion), so the user's file never stops the
// game.
unsigned VolumeFrom(const std::string& key, const LuaPlus::LuaObject& value)
{
    bool changed = false;
    const double written = value.GetNumber();
    const int volume = DataRange::HoldInt(written, 0, 100, 100, changed);
    if (changed)
        Log("WARNING: Configuration key \"%s\" holds %s, outside 0..100; using %d.\n", key.c_str(),
            DataRange::Text(written).c_str(), volume);
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
