#include "resources/MetadataRanges.h"

#include "core/DataReport.h"

#include <boost/format.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

// A value as a line shows it: numbers in at most 15 digits ("nan", "inf", "1e+308"), texts
// quoted and cut, other values by their type.
std::string Shown(const LuaObject& value)
{
    if (value.IsNil())
        return "missing";
    if (value.IsNumber()) {
        if (std::isnan(value.GetNumber()))
            return "nan"; // 0/0 is a NaN with its sign bit set
        char text[64];
        std::snprintf(text, sizeof text, "%.15g", value.GetNumber());
        return text;
    }
    if (value.IsString()) {
        std::string text(value.GetString(), value.GetStrLen());
        if (text.size() > 20)
            text = text.substr(0, 20) + "...";
        return "\"" + text + "\"";
    }
    return std::string("a ") + value.TypeName();
}

// Whether value is a whole number from low to high; out holds it when it is.
bool WholeIn(const LuaObject& value, long long low, long long high, long long& out)
{
    if (!value.IsNumber())
        return false;
    const double number = value.GetNumber();
    if (!std::isfinite(number) || std::floor(number) != number || number < double(low) ||
        number > double(high))
        return false;
    out = static_cast<long long>(number);
    return true;
}

std::string Range(long long low, long long high)
{
    return boost::str(boost::format("a whole number from %1% to %2%") % low % high);
}

// One key of a table of numbers and the whole numbers it may hold.
struct Bound
{
    LuaPlus::LuaKey key;
    const char* name;
    long long low;
    long long high;
    bool optional;
};

// Drops holder[key] when it is not a table whose keys each hold a whole number in their
// range; false (and a line) when it was dropped.
bool KeepIfInRange(LuaObject holder, LuaPlus::LuaKey key, const std::vector<Bound>& bounds,
                   const std::string& where, std::vector<std::string>& lines)
{
    const LuaObject table = holder.RawGet(key);
    if (table.IsNil())
        return true;
    if (!table.IsTable()) {
        lines.push_back(where + " = " + Shown(table) + " is not a table; it was dropped");
        holder.SetNil(key);
        return false;
    }
    for (const Bound& bound : bounds) {
        const LuaObject value = table.RawGet(bound.key);
        long long whole = 0;
        if ((bound.optional && value.IsNil()) || WholeIn(value, bound.low, bound.high, whole))
            continue;
        lines.push_back(where + bound.name + " = " + Shown(value) + " (it must be " +
                        Range(bound.low, bound.high) + "); " + where + " was dropped");
        holder.SetNil(key);
        return false;
    }
    return true;
}

void MendCaptionInset(LuaObject entry, std::vector<std::string>& lines)
{
    const long long side = MetadataRanges::kMaxSide;
    KeepIfInRange(entry, "captionInset", {{1, "[1]", 0, side, false}, {2, "[2]", 0, side, false}},
                  "captionInset", lines);
}

void MendRules(LuaObject entry, std::vector<std::string>& lines)
{
    const long long side = MetadataRanges::kMaxSide;
    KeepIfInRange(entry, "rules",
                  {{"top", ".top", 0, side, false},
                   {"pitch", ".pitch", 1, side, false},
                   {"last", ".last", 0, side, true}},
                  "rules", lines);
}

void MendParts(LuaObject entry, std::vector<std::string>& lines)
{
    const LuaObject parts = entry["parts"];
    if (parts.IsNil())
        return;
    if (!parts.IsTable()) {
        lines.push_back("parts = " + Shown(parts) + " is not a table; it was dropped");
        entry.SetNil("parts");
        return;
    }
    std::vector<LuaObject> names;
    for (LuaTableIterator it(parts); it; it.Next())
        names.push_back(it.GetKey());
    const long long most = MetadataRanges::kMaxMeasure;
    for (const LuaObject& name : names) {
        const std::string where = "parts." + name.ToString();
        KeepIfInRange(parts, name, {{1, "[1]", 1, most, false}, {2, "[2]", 1, most, false}}, where,
                      lines);
    }
}

void MendMaxSamples(LuaObject entry, std::vector<std::string>& lines)
{
    const LuaObject value = entry["maxSamples"];
    long long whole = 0;
    if (value.IsNil() || WholeIn(value, 1, MetadataRanges::kMaxSamples, whole))
        return;
    lines.push_back("maxSamples = " + Shown(value) + " (it must be " +
                    Range(1, MetadataRanges::kMaxSamples) + "); it was dropped");
    entry.SetNil("maxSamples");
}

// The whole number nearest value within low..high (0 clamped into the range when it is not a
// finite number), and whether value already was it.
bool Clamped(const LuaObject& value, long long low, long long high, long long& out)
{
    if (WholeIn(value, low, high, out))
        return true;
    const double number = value.IsNumber() ? value.GetNumber() : 0.0;
    out = std::isfinite(number)
              ? static_cast<long long>(std::clamp(std::floor(number), double(low), double(high)))
              : std::clamp(0LL, low, high);
    return false;
}

// One animation's elements: frame numbers within 0..lastFrame (left for later when lastFrame
// is negative: the frames are not known yet), names of the picture's animations, and delay
// commands within their range. Anything else becomes frame 0.
void MendAnimation(LuaObject animations, LuaObject animation, const std::string& where,
                   long long lastFrame, std::vector<std::string>& lines)
{
    const int count = animation.GetCount();
    if (count == 0) {
        lines.push_back(where + " holds no frame; it shows frame 0");
        animation.SetInteger(1, 0);
        return;
    }
    for (int i = 1; i <= count; ++i) {
        LuaObject element = animation[i];
        const std::string place = where + "[" + std::to_string(i) + "]";
        long long frame = 0;
        if (element.IsString() && animations[element.GetString()].IsTable())
            continue;
        const bool delayCommand = element.IsTable() && element[1].IsString() &&
                                  std::string(element[1].GetString()) == "delay";
        // A delay comes after a frame: the animation shows its first element at once.
        if (delayCommand && i > 1) {
            long long delay = 0;
            if (!Clamped(element[2], 0, MetadataRanges::kMaxDelayMs, delay)) {
                lines.push_back(boost::str(boost::format("%1% delay = %2% (it must be %3%); "
                                                         "it was set to %4%") %
                                           place % Shown(element[2]) %
                                           Range(0, MetadataRanges::kMaxDelayMs) % delay));
                element.SetInteger(2, static_cast<int>(delay));
            }
            continue;
        }
        if ((element.IsNumber() && lastFrame < 0) || Clamped(element, 0, lastFrame, frame))
            continue;
        lines.push_back(boost::str(boost::format("%1% = %2% (a frame must be %3%); it was set "
                                                 "to %4%") %
                                   place % Shown(element) % Range(0, lastFrame) % frame));
        animation.SetInteger(i, static_cast<int>(frame));
    }
}

void MendAnimations(LuaObject entry, long long lastFrame, std::vector<std::string>& lines)
{
    LuaObject animations = entry["Animations"];
    if (animations.IsNil())
        return;
    if (!animations.IsTable()) {
        lines.push_back("Animations = " + Shown(animations) + " is not a table; it was dropped");
        entry.SetNil("Animations");
        return;
    }
    std::vector<std::pair<LuaObject, LuaObject>> named;
    for (LuaTableIterator it(animations); it; it.Next())
        named.emplace_back(it.GetKey(), it.GetValue());
    for (auto& [key, animation] : named) {
        const std::string where = "Animations." + DataKeyText(key);
        if (!animation.IsTable()) {
            lines.push_back(where + " = " + Shown(animation) +
                            " is not a list of frames; it "
                            "shows frame 0");
            animation = animations.CreateTable(LuaPlus::LuaKey(key));
            animation.SetInteger(1, 0);
            continue;
        }
        MendAnimation(animations, animation, where, lastFrame, lines);
    }
}

} // namespace

std::vector<std::string> MetadataRanges::MendEntry(LuaObject entry)
{
    std::vector<std::string> lines;
    if (!entry.IsTable())
        return lines;
    MendCaptionInset(entry, lines);
    MendRules(entry, lines);
    MendParts(entry, lines);
    MendMaxSamples(entry, lines);
    // Frame numbers are held to the picture's frames once it is decoded (FitFrames).
    MendAnimations(entry, -1, lines);
    return lines;
}

namespace {

// The frame layout the metadata gives, each key usable or not.
struct Layout
{
    long long frames = 0, width = 0, height = 0, gap = 0;
    bool framesOk = false, widthOk = false, heightOk = false, gapOk = false;
};

void SetKey(LuaObject entry, const char* key, const LuaObject& was, long long value,
            const std::string& rule, std::vector<std::string>& lines)
{
    lines.push_back(boost::str(boost::format("%1% = %2% (%3%); it was set to %4%") % key %
                               Shown(was) % rule % value));
    entry.SetInteger(key, static_cast<int>(value));
}

} // namespace

std::vector<std::string> MetadataRanges::FitFrames(LuaObject entry, int width, int height,
                                                   std::string& problem)
{
    std::vector<std::string> lines;
    problem.clear();
    if (!entry.IsTable() || width < 1 || height < 1)
        return lines;
    const LuaObject framesWas = entry["numFrames"], widthWas = entry["width"],
                    heightWas = entry["height"], gapWas = entry["gap_y"];
    if (framesWas.IsNil()) {
        // One frame: the sizes given are the picture's.
        long long given = 0;
        if (!widthWas.IsNil() && !(WholeIn(widthWas, width, width, given)))
            SetKey(entry, "width", widthWas, width, "the picture is that wide", lines);
        if (!heightWas.IsNil() && !(WholeIn(heightWas, height, height, given)))
            SetKey(entry, "height", heightWas, height, "the picture is that high", lines);
        MendAnimations(entry, 0, lines);
        return lines;
    }
    Layout at;
    at.framesOk = WholeIn(framesWas, 1, INT_MAX, at.frames);
    at.widthOk = WholeIn(widthWas, 1, width, at.width);
    at.heightOk = WholeIn(heightWas, 1, height, at.height);
    at.gapOk = gapWas.IsNil() || WholeIn(gapWas, 0, kMaxSide, at.gap);
    if (!at.framesOk && !at.widthOk) {
        problem = boost::str(boost::format("numFrames = %1% and width = %2% cannot cut the "
                                           "picture of %3% x %4% into frames") %
                             Shown(framesWas) % Shown(widthWas) % width % height);
        return lines;
    }
    if (!at.heightOk)
        SetKey(entry, "height", heightWas, at.height = height,
               "it must be " + Range(1, height) + ", within the picture", lines);
    if (!at.gapOk)
        SetKey(entry, "gap_y", gapWas, at.gap = 0, "it must be " + Range(0, kMaxSide), lines);
    const long long rows = (height - 1) / (at.height + at.gap) + 1;
    if (!at.widthOk) {
        const long long columns = (at.frames + rows - 1) / rows;
        SetKey(entry, "width", widthWas, at.width = std::max(1LL, width / columns),
               "it must be " + Range(1, width) + ", within the picture", lines);
    }
    const long long capacity = (width / at.width) * rows;
    if (!at.framesOk || at.frames > capacity)
        SetKey(entry, "numFrames", framesWas, at.frames = capacity,
               boost::str(boost::format("the picture holds %1% frames of %2% x %3%") % capacity %
                          at.width % at.height),
               lines);
    MendAnimations(entry, at.frames - 1, lines);
    return lines;
}
