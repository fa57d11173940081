#include "core/DataRange.h"

#include "core/DataReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace DataRange {

double Hold(double value, double low, double high, double fallback, bool& changed)
{
    const double held =
        std::isnan(value) ? std::clamp(fallback, low, high) : std::clamp(value, low, high);
    // A NaN is never equal to what replaces it; -0.0 and 0.0 are the same number.
    changed = std::isnan(value) || held != value;
    return held;
}

int HoldInt(double value, int low, int high, int fallback, bool& changed)
{
    // Within low..high the conversion is defined; a fraction is cut toward zero.
    return static_cast<int>(
        std::trunc(Hold(value, double(low), double(high), double(fallback), changed)));
}

std::string Text(double value)
{
    if (std::isnan(value))
        return "nan"; // 0/0 is a NaN with its sign bit set; "-nan" says nothing more
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string Describe(const std::string& key, double value, double low, double high, double held)
{
    if (std::isnan(value))
        return "\"" + key + "\": nan is no number; " + Text(held) + " is used";
    return "\"" + key + "\": " + Text(value) + " is outside " + Text(low) + " to " + Text(high) +
           "; " + Text(held) + " is used";
}

double Read(const std::string& subject, const std::string& key, double value, double low,
            double high, double fallback)
{
    bool changed = false;
    const double held = Hold(value, low, high, fallback, changed);
    if (changed)
        DataReport::Report(subject, Describe(key, value, low, high, held));
    return held;
}

int ReadInt(const std::string& subject, const std::string& key, double value, int low, int high,
            int fallback)
{
    bool changed = false;
    const int held = HoldInt(value, low, high, fallback, changed);
    if (changed)
        DataReport::Report(subject, Describe(key, value, low, high, held));
    return held;
}

} // namespace DataRange
