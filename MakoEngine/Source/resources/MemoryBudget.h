#pragma once
// One budget for what the game holds decoded: pictures and their zoomed, turned and display
// copies, label images, sounds decoded whole. Each file's own bound (a picture's pixels, a
// sound's length) keeps one file small; the budget keeps their sum within the setting
// `memory_budget_mb` of the configuration (kDefaultMegabytes when it gives none).
//
// Whoever decodes or copies charges the bytes it is about to allocate, where it holds them to
// its own bound and before it allocates (Charge). When they would take what is held past the
// limit, the current resource manager first lets go of what it caches and nobody uses (the
// releaser); what still does not fit is refused with BudgetExceeded, whose text names what
// asked ("the pack needs more than the budget of 768 MB for what the game holds decoded:
// a copy of "Images/X.png" zoomed to 2048 x 1024 pixels needs 8.0 MB"), never a crash.
//
// The bytes held are counted by their owners as they keep and free them (Hold: the surface
// manager for every surface of an image, the sounds for their samples), so the budget is
// given back whatever frees them. Main thread only.
#include "core/Exception.h"

#include <functional>
#include <string>

// A decode or copy refused because what the game holds decoded would pass the budget.
MAKO_DECLARE_EXCEPTION(BudgetExceeded);

class MemoryBudget
{
public:
    static constexpr long long kDefaultMegabytes = 768;
    static constexpr long long kMegabyte = 1 << 20;

    // Raises BudgetExceeded naming what ("the picture "Images/X.png"") when bytes do not fit
    // even after the releaser let go of what it could.
    static void Charge(long long bytes, const std::string& what);
    // The same without raising: "" when the bytes fit, else the refusal's text. Without
    // makeRoom nothing is let go (for a caller that may itself be drawing a cached picture).
    static std::string TryCharge(long long bytes, const std::string& what, bool makeRoom = true);

    // For what the program makes itself (a canvas, a screen's layer, a text's image), which
    // is never refused: lets go of what is cached and unused when bytes would pass the limit.
    static void MakeRoom(long long bytes);

    // Bytes kept (positive) or freed (negative) by their owner.
    static void Hold(long long bytes);
    static long long GetHeld();
    // The most held since the start or the last ResetPeak (which sets it to what is held).
    static long long GetPeak();
    static void ResetPeak();
    // Every byte charged since the start: what the decodes and copies asked for in all.
    static long long GetCharged();

    static long long GetLimit();
    // The limit in bytes; values below a megabyte are taken as one.
    static void SetLimit(long long bytes);
    // The limit from the configuration's value (megabytes, a whole number from 1 to
    // 1048576); anything else keeps the default and is named in the log.
    static void SetLimitFromSetting(const std::string& key, double megabytes, bool given);

    // Lets go of what is cached and not in use until at least `needed` bytes are given back,
    // or nothing more can be. Installed by the resource manager while it is current; empty
    // for none.
    using Releaser = std::function<void(long long needed)>;
    static Releaser SetReleaser(Releaser releaser);

    // The refusal's text for bytes that do not fit.
    static std::string Refusal(long long bytes, const std::string& what);
};
