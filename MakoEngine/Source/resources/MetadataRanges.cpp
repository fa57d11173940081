#include "resources/MetadataRanges.h"

#include "core/DataReport.h"
#include "core/WorkMeter.h"
#include "lua/ScriptValueReaders.h"

#include <boost/format.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <unordered_map>
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

// The lines of one entry's mends, at most kMaxLines of them: a list of a million bad frames
// is told in a few lines and a count, not a million.
class MendLines
{
public:
    static const std::size_t kMaxLines = 100;
    void push_back(std::string line)
    {
        if (m_Lines.size() < kMaxLines)
            m_Lines.push_back(std::move(line));
        else
            ++m_Untold;
    }
    std::vector<std::string> Finish()
    {
        if (m_Untold > 0)
            m_Lines.push_back(std::to_string(m_Untold) + " more value(s) were mended likewise");
        return std::move(m_Lines);
    }

private:
    std::vector<std::string> m_Lines;
    long long m_Untold = 0;
};

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
                   const std::string& where, MendLines& lines)
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

void MendCaptionInset(LuaObject entry, MendLines& lines)
{
    const long long side = MetadataRanges::kMaxSide;
    KeepIfInRange(entry, "captionInset", {{1, "[1]", 0, side, false}, {2, "[2]", 0, side, false}},
                  "captionInset", lines);
}

void MendRules(LuaObject entry, MendLines& lines)
{
    const long long side = MetadataRanges::kMaxSide;
    KeepIfInRange(entry, "rules",
                  {{"top", ".top", 0, side, false},
                   {"pitch", ".pitch", 1, side, false},
                   {"last", ".last", 0, side, true}},
                  "rules", lines);
}

void MendParts(LuaObject entry, MendLines& lines)
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

void MendMaxSamples(LuaObject entry, MendLines& lines)
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

// One list of the Animations table (shared by every name that holds the same table), and
// the elements of it that name another list: their places and the list each names.
struct AnimationList
{
    LuaObject table;
    std::string where; // "Animations.<first name>" for the lines
    struct Name
    {
        int place;        // 1-based place in the list
        int list;         // index of the list it names
        bool cut = false; // left out
    };
    std::vector<Name> names;
    bool anyCut = false;
    int state = 0;  // 0 unvisited, 1 on the walk, 2 done
    int height = 0; // the deepest nesting playing it reaches, counting itself
};

// One list's elements: frame numbers within 0..lastFrame (left for later when lastFrame
// is negative: the frames are not known yet), names of the picture's animations (noted in
// list.names for the cycle walk), and delay commands within their range. Anything else
// becomes frame 0. One step of the file's meter per element.
void MendAnimation(LuaObject animations, AnimationList& list,
                   const std::unordered_map<const void*, int>& indexOf, long long lastFrame,
                   MendLines& lines)
{
    LuaObject animation = list.table;
    const std::string& where = list.where;
    const int count = animation.GetCount();
    if (count == 0) {
        lines.push_back(where + " holds no frame; it shows frame 0");
        animation.SetInteger(1, 0);
        return;
    }
    for (int i = 1; i <= count; ++i) {
        WorkMeter::Charge();
        LuaObject element = animation[i];
        const auto place = [&] { return where + "[" + std::to_string(i) + "]"; };
        long long frame = 0;
        if (element.IsString()) {
            const LuaObject named = animations.RawGet(LuaPlus::LuaKey(element.GetString()));
            const auto found = named.IsTable() ? indexOf.find(TableIdentity(named)) : indexOf.end();
            if (found != indexOf.end()) {
                list.names.push_back({i, found->second});
                continue;
            }
        }
        const bool delayCommand = element.IsTable() && element[1].IsString() &&
                                  std::string(element[1].GetString()) == "delay";
        // A delay comes after a frame: the animation shows its first element at once.
        if (delayCommand && i > 1) {
            long long delay = 0;
            if (!Clamped(element[2], 0, MetadataRanges::kMaxDelayMs, delay)) {
                lines.push_back(boost::str(boost::format("%1% delay = %2% (it must be %3%); "
                                                         "it was set to %4%") %
                                           place() % Shown(element[2]) %
                                           Range(0, MetadataRanges::kMaxDelayMs) % delay));
                element.SetInteger(2, static_cast<int>(delay));
            }
            continue;
        }
        if (lastFrame < 0) {
            // The frames are not known until the picture is decoded: numbers wait for it.
            if (element.IsNumber())
                continue;
            lines.push_back(place() + " = " + Shown(element) +
                            (delayCommand ? " is a delay, which cannot come first"
                                          : " is neither a frame number nor the name of an "
                                            "animation of the picture") +
                            "; it was set to 0");
            animation.SetInteger(i, 0);
            continue;
        }
        if (Clamped(element, 0, lastFrame, frame))
            continue;
        lines.push_back(boost::str(boost::format("%1% = %2% (a frame must be %3%); it was set "
                                                 "to %4%") %
                                   place() % Shown(element) % Range(0, lastFrame) % frame));
        animation.SetInteger(i, static_cast<int>(frame));
    }
}

// Leaves out the names that would make playing an animation name itself again (a cycle) or
// nest deeper than the player goes (kMaxAnimationDepth): a walk over the lists, depth first,
// from each in the order of their first names. A name is cut where it closes a cycle or
// where what it names is already as deep as may be.
void CutCyclesAndDepth(std::vector<AnimationList>& lists, MendLines& lines)
{
    const int most = MetadataRanges::kMaxAnimationDepth;
    struct Step
    {
        int list;
        std::size_t next;
    };
    std::vector<Step> walk;
    auto cut = [&](AnimationList& list, AnimationList::Name& name, const std::string& why) {
        name.cut = list.anyCut = true;
        lines.push_back(list.where + "[" + std::to_string(name.place) + "] names " +
                        lists[name.list].where + ", " + why + "; it was left out");
    };
    for (std::size_t root = 0; root < lists.size(); ++root) {
        if (lists[root].state != 0)
            continue;
        lists[root].state = 1;
        walk.push_back({int(root), 0});
        while (!walk.empty()) {
            WorkMeter::Charge();
            Step& step = walk.back();
            AnimationList& list = lists[step.list];
            if (step.next < list.names.size()) {
                AnimationList::Name& name = list.names[step.next++];
                AnimationList& named = lists[name.list];
                if (named.state == 1)
                    cut(list, name, "which leads back to it (they would play in a circle)");
                else if (named.state == 0) {
                    named.state = 1;
                    walk.push_back({name.list, 0});
                }
                continue;
            }
            // Every list it names is done: its height, cutting names that reach too deep.
            int height = 1;
            for (AnimationList::Name& name : list.names) {
                WorkMeter::Charge();
                if (name.cut)
                    continue;
                if (lists[name.list].height >= most)
                    cut(list, name, "which nests animations deeper than " + std::to_string(most));
                else
                    height = std::max(height, lists[name.list].height + 1);
            }
            list.height = height;
            list.state = 2;
            walk.pop_back();
        }
    }
}

// Writes each list again without the names cut from it (frame 0 when nothing is left).
void RemoveCut(std::vector<AnimationList>& lists)
{
    for (AnimationList& list : lists) {
        if (!list.anyCut)
            continue;
        const int count = list.table.GetCount();
        int kept = 0;
        std::size_t next = 0;
        for (int i = 1; i <= count; ++i) {
            WorkMeter::Charge();
            while (next < list.names.size() && list.names[next].place < i)
                ++next;
            if (next < list.names.size() && list.names[next].place == i && list.names[next].cut)
                continue;
            if (++kept != i)
                list.table.SetObject(kept, list.table[i]);
        }
        for (int i = count; i > kept; --i)
            list.table.SetNil(i);
        if (kept == 0)
            list.table.SetInteger(1, 0);
    }
}

// Mends the Animations table. A list held by several names is mended once (by the table's
// identity), so a file that shares one long list among many names costs the list once.
void MendAnimations(LuaObject entry, long long lastFrame, MendLines& lines)
{
    LuaObject animations = entry["Animations"];
    if (animations.IsNil())
        return;
    if (!animations.IsTable()) {
        lines.push_back("Animations = " + Shown(animations) + " is not a table; it was dropped");
        entry.SetNil("Animations");
        return;
    }
    struct Named
    {
        std::string text; // the name as a line shows it
        LuaObject key, animation;
    };
    std::vector<Named> named;
    for (LuaTableIterator it(animations); it; it.Next())
        named.push_back({DataKeyText(it.GetKey()), it.GetKey(), it.GetValue()});
    // Names in order, so that which name of a cycle is cut never depends on the traversal.
    std::sort(named.begin(), named.end(),
              [](const Named& a, const Named& b) { return a.text < b.text; });
    std::vector<AnimationList> lists;
    std::unordered_map<const void*, int> indexOf;
    for (auto& [text, key, animation] : named) {
        const std::string where = "Animations." + text;
        if (!animation.IsTable()) {
            lines.push_back(where + " = " + Shown(animation) +
                            " is not a list of frames; it shows frame 0");
            animation = animations.CreateTable(LuaPlus::LuaKey(key));
            animation.SetInteger(1, 0);
        }
        if (indexOf.emplace(TableIdentity(animation), int(lists.size())).second) {
            lists.emplace_back();
            lists.back().table = animation;
            lists.back().where = where;
        }
    }
    for (AnimationList& list : lists)
        MendAnimation(animations, list, indexOf, lastFrame, lines);
    CutCyclesAndDepth(lists, lines);
    RemoveCut(lists);
}

} // namespace

std::vector<std::string> MetadataRanges::MendEntry(LuaObject entry)
{
    MendLines lines;
    if (!entry.IsTable())
        return lines.Finish();
    MendCaptionInset(entry, lines);
    MendRules(entry, lines);
    MendParts(entry, lines);
    MendMaxSamples(entry, lines);
    // Frame numbers are held to the picture's frames once it is decoded (FitFrames).
    MendAnimations(entry, -1, lines);
    return lines.Finish();
}

namespace {

// The frame layout the metadata gives, each key usable or not.
struct Layout
{
    long long frames = 0, width = 0, height = 0, gap = 0;
    bool framesOk = false, widthOk = false, heightOk = false, gapOk = false;
};

void SetKey(LuaObject entry, const char* key, const LuaObject& was, long long value,
            const std::string& rule, MendLines& lines)
{
    lines.push_back(boost::str(boost::format("%1% = %2% (%3%); it was set to %4%") % key %
                               Shown(was) % rule % value));
    entry.SetInteger(key, static_cast<int>(value));
}

// The fewest pixels a frame side may have in a picture side of `side`: the game zooms a
// whole picture so that one frame becomes at most kMaxZoomedSide, and the picture zoomed so
// must still fit a surface.
long long SmallestZoomableSide(long long side)
{
    const long long across = MetadataRanges::kMaxSurfaceSide / MetadataRanges::kMaxZoomedSide;
    return (side + across - 1) / across;
}

// A frame so narrow that zooming it to a size the game asks would make the picture wider
// than a surface may be (frames 1 px wide in a strip of 512) is widened: to the frames laid
// side by side across the picture when that is wide enough, else to the narrowest that fits.
void FitZoomableWidth(LuaObject entry, const LuaObject& widthWas, int width, long long rows,
                      Layout& at, MendLines& lines)
{
    const long long least = SmallestZoomableSide(width);
    if (at.width >= least)
        return;
    const long long columns = std::max(1LL, (at.frames + rows - 1) / rows);
    const long long laid = width / columns;
    SetKey(entry, "width", widthWas, at.width = std::max(least, laid),
           boost::str(boost::format("a frame of the picture %1% pixels wide must be at least %2% "
                                    "wide to be zoomed to %3% pixels") %
                      width % least % MetadataRanges::kMaxZoomedSide),
           lines);
}

// The same for the frames' height: a frame too low to be zoomed is raised to the lowest that
// fits.
void FitZoomableHeight(LuaObject entry, const LuaObject& heightWas, int height, Layout& at,
                       MendLines& lines)
{
    const long long least = SmallestZoomableSide(height);
    if (at.height >= least)
        return;
    SetKey(entry, "height", heightWas, at.height = least,
           boost::str(boost::format("a frame of the picture %1% pixels high must be at least %2% "
                                    "high to be zoomed to %3% pixels") %
                      height % least % MetadataRanges::kMaxZoomedSide),
           lines);
}

} // namespace

std::vector<std::string> MetadataRanges::FitFrames(LuaObject entry, int width, int height,
                                                   std::string& problem)
{
    MendLines lines;
    problem.clear();
    if (!entry.IsTable() || width < 1 || height < 1)
        return lines.Finish();
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
        return lines.Finish();
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
        return lines.Finish();
    }
    if (!at.heightOk)
        SetKey(entry, "height", heightWas, at.height = height,
               "it must be " + Range(1, height) + ", within the picture", lines);
    FitZoomableHeight(entry, heightWas, height, at, lines);
    if (!at.gapOk)
        SetKey(entry, "gap_y", gapWas, at.gap = 0, "it must be " + Range(0, kMaxSide), lines);
    const long long rows = (height - 1) / (at.height + at.gap) + 1;
    if (!at.widthOk) {
        const long long columns = (at.frames + rows - 1) / rows;
        SetKey(entry, "width", widthWas, at.width = std::max(1LL, width / columns),
               "it must be " + Range(1, width) + ", within the picture", lines);
    }
    FitZoomableWidth(entry, widthWas, width, rows, at, lines);
    const long long capacity = (width / at.width) * rows;
    if (!at.framesOk || at.frames > capacity)
        SetKey(entry, "numFrames", framesWas, at.frames = capacity,
               boost::str(boost::format("the picture holds %1% frames of %2% x %3%") % capacity %
                          at.width % at.height),
               lines);
    MendAnimations(entry, at.frames - 1, lines);
    return lines.Finish();
}
