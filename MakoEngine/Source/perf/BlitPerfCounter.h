#pragma once
// What one category of image operation ("Compositing", "Fade", "Clip") cost in the
// current frame.
#include <cstdint>

struct BlitPerfCounter
{
    uint32_t numCalls = 0;
    double totalTime = 0; // ms
    uint32_t numPixels = 0;
};
