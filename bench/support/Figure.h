#pragma once
// A benchmark's figure as the summaries print it. A figure is missing when its benchmark
// did not run (a filter left it out, its backend could not start, it ran no passes): a
// missing figure prints as "not measured" and is held to no target, so a summary never
// calls a target met that nothing measured.
#include <optional>
#include <string>

namespace benchfigure {

using Figure = std::optional<double>;

// The passes a benchmark of a fixed count runs: `passes`; 1 when the environment sets
// BB_BENCH_QUICK (the check that runs every benchmark alone, as briefly as it can); the
// count BB_BENCH_PASSES gives, when it gives one (fewer for a profiler).
int Passes(int passes);

// "1.234 ms" (with the given number of decimals), or "not measured".
std::string Ms(const Figure& ms, int decimals = 3);

// "met" when the figure is at most the target, "missed" above it, "not measured" without it.
const char* Verdict(const Figure& ms, double target);

// a / b when both were measured and b is above 0; missing otherwise.
Figure Ratio(const Figure& a, const Figure& b);

// "1.23" (two decimals), or "not measured".
std::string Times(const Figure& ratio);

} // namespace benchfigure
