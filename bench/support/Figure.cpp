#include "support/Figure.h"

#include <cstdio>
#include <cstdlib>

namespace benchfigure {

namespace {

const char* const kNotMeasured = "not measured";

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

int Passes(int passes)
{
    const char* quick = std::getenv("BB_BENCH_QUICK");
    if (quick && *quick && std::string(quick) != "0")
        return 1;
    const char* chosen = std::getenv("BB_BENCH_PASSES");
    const int count = chosen ? std::atoi(chosen) : 0;
    return count > 0 ? count : passes;
}

std::string Ms(const Figure& ms, int decimals)
{
    return ms ? Fixed(*ms, decimals) + " ms" : kNotMeasured;
}

const char* Verdict(const Figure& ms, double target)
{
    if (!ms)
        return kNotMeasured;
    return *ms <= target ? "met" : "missed";
}

Figure Ratio(const Figure& a, const Figure& b)
{
    if (!a || !b || *b <= 0.0)
        return std::nullopt;
    return *a / *b;
}

std::string Times(const Figure& ratio)
{
    return ratio ? Fixed(*ratio, 2) : kNotMeasured;
}

} // namespace benchfigure
