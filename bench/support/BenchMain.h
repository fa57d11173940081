#pragma once
// The main of every benchmark program (BenchMain.cpp): runs the benchmarks the command line
// selects, then every summary registered here over the figures that run measured, and
// exits 1 when a benchmark failed (SkipWithError) or a summary found a target missed, so a
// run of the benchmarks (run_benchmarks, the check that runs each alone) fails on either.
#include <functional>
#include <string>

namespace benchmain {

// Prints what it judges of this run's figures and returns the targets missed, one
// "<what>: <how>" line each ("" for none). A figure the run did not measure is no miss.
using Summary = std::function<std::string()>;

// Registers a summary, run after the benchmarks in the order registered; returns true, so
// that a static can register it.
bool AddSummary(Summary summary);

} // namespace benchmain
