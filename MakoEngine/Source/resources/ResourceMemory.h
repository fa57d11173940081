#pragma once
// Process-wide byte totals of loaded resources, for the memory report (ShowMemUsage) and
// the video-memory display. Reset to 0 when a resource manager is created. Main thread
// only.
#include <cstdint>
#include <string>

// Images in system memory (category "Image"), kept by the surface manager.
extern int32_t SysmemImageBytes;
// Image data held in textures, kept by the hardware display backend as it creates and
// frees textures.
extern int32_t VidmemImageBytes;
// Sounds (category "Sound"), kept by the sound resources.
extern int32_t SoundBytes;

// Adds a signed byte count to the "Image" or "Sound" total (exact, case-sensitive
// category names); any other category is ignored.
void AddResourceMemoryUsage(int32_t bytes, const std::string& category);

// Sets the three totals to 0.
void ResetResourceMemoryUsage();
