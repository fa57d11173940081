#include "SoakCurve.h"

#include <algorithm>

namespace soak {

Verdict JudgeCurve(const std::vector<Sample>& samples)
{
    Verdict verdict;
    if (samples.size() < 3)
        return verdict;
    verdict.judged = true;
    verdict.first = samples.front();
    const std::size_t from = samples.size() - std::max<std::size_t>(1, samples.size() / 3);
    Sample& least = verdict.least;
    least = samples[from];
    for (std::size_t i = from; i < samples.size(); ++i) {
        const Sample& s = samples[i];
        least.actors = std::min(least.actors, s.actors);
        least.bodies = std::min(least.bodies, s.bodies);
        least.timers = std::min(least.timers, s.timers);
        least.images = std::min(least.images, s.images);
        least.residentKb = std::min(least.residentKb, s.residentKb);
        least.liveKb = std::min(least.liveKb, s.liveKb);
    }
    const Sample& first = verdict.first;
    auto check = [&](const char* what, long base, long low, long margin, const char* unit) {
        if (low > base + margin)
            verdict.growing.push_back(std::string(what) + " growing (" + std::to_string(base) +
                                      unit + " after the first level, " + "at least " +
                                      std::to_string(low) + unit + " in the last third)");
    };
    const auto countMargin = [](long base) { return std::max(8L, base / 20); };
    check("actors keep", first.actors, least.actors, countMargin(first.actors), "");
    check("physics bodies keep", first.bodies, least.bodies, countMargin(first.bodies), "");
    check("timers keep", first.timers, least.timers, countMargin(first.timers), "");
    check("images keep", first.images, least.images, countMargin(first.images), "");
    check("live memory keeps", first.liveKb, least.liveKb, first.liveKb / 10, " kB");
    return verdict;
}

} // namespace soak
