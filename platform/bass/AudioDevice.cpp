#include "bass/AudioDevice.h"

#include "bass/DriverMessages.h"
#include "bass/Mixer.h"
#include "bass/MixerSource.h"

#include <SDL/SDL.h>

namespace bassx {

bool AudioDevice::s_Open = false;
bool AudioDevice::s_InitedSubsystem = false;

namespace {

// Frames per callback: about 23 ms at 44100 Hz.
constexpr int BUFFER_FRAMES = 1024;

std::string DriverName()
{
    char name[64] = {0};
    if (!SDL_AudioDriverName(name, sizeof(name))) {
        return "unknown";
    }
    return name;
}

} // namespace

bool AudioDevice::Probe(std::string& driverName)
{
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        driverName = DriverName();
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        return false;
    }
    driverName = DriverName();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return true;
}

bool AudioDevice::Open(std::string& driverName, int& bufferFrames)
{
    if (s_Open) {
        return false;
    }
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
            return false;
        }
        s_InitedSubsystem = true;
    }
    SDL_AudioSpec desired = {};
    desired.freq = MIX_RATE;
    desired.format = AUDIO_S16SYS;
    desired.channels = 2;
    desired.samples = BUFFER_FRAMES;
    desired.callback = &AudioDevice::Callback;
    // Without an "obtained" record SDL converts to exactly this format for us.
    if (SDL_OpenAudio(&desired, nullptr) < 0) {
        if (s_InitedSubsystem) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            s_InitedSubsystem = false;
        }
        return false;
    }
    s_Open = true;
    driverName = DriverName();
    bufferFrames = BUFFER_FRAMES;
    SDL_PauseAudio(0);
    return true;
}

void AudioDevice::Close()
{
    if (s_Open) {
        SDL_CloseAudio();
        s_Open = false;
    }
    if (s_InitedSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s_InitedSubsystem = false;
    }
    // The audio thread has ended: what it said is handed over now.
    DriverMessages::Deliver();
}

void AudioDevice::Callback(void*, unsigned char* stream, int length)
{
    Mixer::Instance().RenderS16(reinterpret_cast<short*>(stream), length / 4);
}

} // namespace bassx
