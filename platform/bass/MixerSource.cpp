#include "bass/MixerSource.h"

#include "bass/Mixer.h"

namespace bassx {

void SetMusicSource(MixSourceFn fn, void* user)
{
    Mixer::Instance().SetMusicSource(fn, user);
}

void RenderMix(short* out, int frames)
{
    Mixer::Instance().RenderS16(out, frames);
}

} // namespace bassx
