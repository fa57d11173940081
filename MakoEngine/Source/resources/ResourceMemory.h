#pragma once
// Process-wide byte totals of loaded resources, for the memory report (ShowMemUsage) and
// the video-memory display. Reset to 0 when a resource manager is created. Main thread
// only.
#include <cstdint>
#include <functional>
#include <string>

// Images in system memory (category "Image"), kept by the surface manager.
extern int32_t SysmemImageBytes;
// Image data held in textures, kept by the hardware display backend as it creates and
// frees textures.
extern int32_t VidmemImageBytes;
// Sounds (category "Sound"), kept by the sound resources.
extern int32_t SoundBytes;

// Adds a signed byte count to the "Image" or "Sound" total (exact, case-sensitive
// category names), and to what the budget holds (MemoryBudget::Hold); any other category is
// ignored.
void AddResourceMemoryUsage(int32_t bytes, const std::string& category);

// Sets the three totals to 0.
void ResetResourceMemoryUsage();

// Bytes held by the music synthesiser, as its owner reports them: the owner installs a
// function that answers (an empty one removes it). 0 when none is installed. Not reset
// with the totals above.
void SetMusicMemorySource(std::function<std::int64_t()> source);
std::int64_t MusicMemoryBytes();
