#include "resources/ResourceMemory.h"

#include "resources/MemoryBudget.h"

int32_t SysmemImageBytes = 0;
int32_t VidmemImageBytes = 0;
int32_t SoundBytes = 0;

namespace {

// Made on first use and never destroyed: the music manager clears it when it goes, which
// may be at exit, after the static objects of this file are gone (its owner is a static of
// another file, and the order statics of different files die in is not given).
std::function<std::int64_t()>& MusicMemorySource()
{
    static auto* source = new std::function<std::int64_t()>();
    return *source;
}

} // namespace

void AddResourceMemoryUsage(int32_t bytes, const std::string& category)
{
    // What is held decoded is held against the one budget, whoever counts it.
    if (category == "Image" || category == "Sound")
        MemoryBudget::Hold(bytes);
    // Wrapping arithmetic: the totals are diagnostics and must never be undefined.
    if (category == "Image")
        SysmemImageBytes = static_cast<int32_t>(static_cast<uint32_t>(SysmemImageBytes) +
                                                static_cast<uint32_t>(bytes));
    else if (category == "Sound")
        SoundBytes =
            static_cast<int32_t>(static_cast<uint32_t>(SoundBytes) + static_cast<uint32_t>(bytes));
}

void ResetResourceMemoryUsage()
{
    SysmemImageBytes = 0;
    VidmemImageBytes = 0;
    SoundBytes = 0;
}

void SetMusicMemorySource(std::function<std::int64_t()> source)
{
    MusicMemorySource() = std::move(source);
}

std::int64_t MusicMemoryBytes()
{
    const std::function<std::int64_t()>& source = MusicMemorySource();
    return source ? source() : 0;
}
