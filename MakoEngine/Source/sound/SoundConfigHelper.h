#pragma once
// Keeps the global volumes in step with the configuration: observes "music_volume" and
// "sfx_volume" and hands each new value (truncated to an integer, brought into 0..100) to
// Sound::SetMusicVolume or Sound::SetSFXVolume. Owned by the sound system, which
// attaches it when audio starts and detaches it before deleting it.
#include "core/Object.h"

class SoundConfigHelper : public Object
{
public:
    // Consumes every configuration update; acts on the two volume keys. The event's
    // data1 is the update {key = ..., value = ...}.
    bool OnConfigUpdate(const Event& event) override;
};
