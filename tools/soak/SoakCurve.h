#pragma once
// The soak's samples and its judgement of their curve: whether any count, or the live
// memory, keeps growing over a run.
#include <string>
#include <vector>

namespace soak {

// What lives at one moment of a run.
struct Sample
{
    double minutes = 0;
    int levels = 0, won = 0;
    long actors = 0, bodies = 0, timers = 0, images = 0;
    long residentKb = 0;
    // The bytes in live allocations (LiveMemory.h), which the memory rule judges: the
    // resident size also holds what the allocator keeps back, which no leak explains.
    long liveKb = 0;
};

// The judgement of the samples taken between levels, the first after the first level.
struct Verdict
{
    bool judged = false; // false when there were fewer than three samples
    Sample first, least; // the first sample, and the least of each value in the last third
    std::vector<std::string> growing; // one line per count that keeps growing
};

// A count keeps growing when the least of its samples in the last third of the run is more
// than max(8, 5 %) above its first sample: a count that falls back to where it started, even
// now and then, does not. The live memory keeps growing when that least is more than 10 %
// above the first. The resident memory is reported, not judged.
Verdict JudgeCurve(const std::vector<Sample>& samples);

} // namespace soak
