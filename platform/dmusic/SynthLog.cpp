#include "dmusic/SynthLog.h"

#include <fluidsynth.h>

#include <algorithm>
#include <mutex>

namespace dmusic {
namespace {

struct Kept
{
    SynthLevel level;
    std::string text;
    std::int64_t since = 0; // said since last taken
    bool taken = false;
};

// What was said, in the order first said (at most kMaxDistinctSynthMessages entries), and
// how many of each group are kept. Made once and never destroyed: the synthesiser may speak,
// and its messages be taken, while the program's statics are destroyed at its exit.
struct Said
{
    std::mutex mutex;
    std::vector<Kept> kept;
    std::size_t keptOf[2] = {0, 0};
};

Said& TheSaid()
{
    static Said* said = new Said;
    return *said;
}

// Distinct messages kept per group: the warnings and worse, and the chatter (information
// and debugging, which names voices and presets by number), so chatter never takes the
// places of warnings. Past its share a group's messages count under its "others" entry.
constexpr std::size_t kSeriousKept = kMaxDistinctSynthMessages * 3 / 4 - 1;
constexpr std::size_t kChatterKept = kMaxDistinctSynthMessages / 4 - 1;
const char* const kOthers[2] = {
    "(further distinct warnings of the synthesiser, not kept one by one)",
    "(further distinct chatter of the synthesiser, not kept one by one)"};

SynthLevel LevelOf(int level)
{
    switch (level) {
    case FLUID_PANIC:
        return SynthLevel::Panic;
    case FLUID_ERR:
        return SynthLevel::Error;
    case FLUID_WARN:
        return SynthLevel::Warning;
    case FLUID_INFO:
        return SynthLevel::Info;
    default:
        return SynthLevel::Debug;
    }
}

void Collect(int level, const char* message, void*)
{
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const SynthLevel graded = LevelOf(level);
    const int group = graded <= SynthLevel::Warning ? 0 : 1;
    Said& said = TheSaid();
    std::lock_guard<std::mutex> lock(said.mutex);
    std::vector<Kept>& kept = said.kept;
    auto same =
        std::find_if(kept.begin(), kept.end(), [&](const Kept& k) { return k.text == text; });
    if (same == kept.end()) {
        if (said.keptOf[group] >= (group == 0 ? kSeriousKept : kChatterKept)) {
            text = kOthers[group];
            same = std::find_if(kept.begin(), kept.end(),
                                [&](const Kept& k) { return k.text == text; });
        } else {
            ++said.keptOf[group];
        }
        if (same == kept.end()) {
            kept.push_back({graded, std::move(text)});
            same = kept.end() - 1;
        }
    }
    ++same->since;
}

} // namespace

void CaptureSynthMessages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, &Collect, nullptr);
    });
}

std::vector<SynthMessage> TakeSynthMessages()
{
    std::vector<SynthMessage> out;
    Said& said = TheSaid();
    std::lock_guard<std::mutex> lock(said.mutex);
    for (Kept& kept : said.kept) {
        if (kept.since == 0)
            continue;
        out.push_back({kept.level, kept.text, kept.since, !kept.taken});
        kept.since = 0;
        kept.taken = true;
    }
    return out;
}

} // namespace dmusic
