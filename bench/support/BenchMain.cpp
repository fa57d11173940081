#include "support/BenchMain.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace benchmain {
namespace {

std::vector<Summary>& Summaries()
{
    static std::vector<Summary> summaries;
    return summaries;
}

// The console's report, counting the benchmarks that failed with an error.
class CountingReporter : public benchmark::ConsoleReporter
{
public:
    CountingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.error_occurred)
                ++m_Failed;
        m_Ran += int(runs.size());
        ConsoleReporter::ReportRuns(runs);
    }
    int Failed() const { return m_Failed; }
    // Runs reported: none when the program only lists its benchmarks.
    int Ran() const { return m_Ran; }

private:
    int m_Failed = 0;
    int m_Ran = 0;
};

} // namespace

bool AddSummary(Summary summary)
{
    Summaries().push_back(std::move(summary));
    return true;
}

} // namespace benchmain

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmain::CountingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::string missed;
    if (reporter.Ran() > 0)
        for (const benchmain::Summary& summary : benchmain::Summaries())
            missed += summary();
    benchmark::Shutdown();
    std::fflush(stdout);
    if (reporter.Failed() > 0)
        std::fprintf(stderr, "%d benchmark(s) failed with an error\n", reporter.Failed());
    if (!missed.empty())
        std::fprintf(stderr, "targets missed:\n%s", missed.c_str());
    return reporter.Failed() > 0 || !missed.empty() ? 1 : 0;
}
