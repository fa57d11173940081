#include "resources/ResourceMemory.h"

#include "resources/MemoryBudget.h"

int32_t SysmemImageBytes = 0;
int32_t VidmemImageBytes = 0;
int32_t SoundBytes = 0;

namespace {
std::function<std::int64_t()> gMusicMemorySource;
}

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
    gMusicMemorySource = std::move(source);
}

std::int64_t MusicMemoryBytes()
{
    return gMusicMemorySource ? gMusicMemorySource() : 0;
}
