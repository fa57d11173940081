#include "sound/SoundConfigHelper.h"

#include "sound/Sound.h"

#include <string>

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
        Sound::SetMusicVolume(static_cast<unsigned>(value.GetInteger()));
    } else if (name == "sfx_volume") {
        Sound::SetSFXVolume(static_cast<unsigned>(value.GetInteger()));
    }
    return true;
}
