#pragma once
// Holds the numbers of a pack file's metadata to what their users can take, where the
// metadata is read, so that no picture, animation, button, sheet of paper or song ever sees
// a value out of its range.
//
// MendEntry runs when a metadata file is read and mends what needs no picture: a button's
// captionInset, a paper's rules, an animation's frame numbers and delays, a song's parts, a
// sound's maxSamples. FitFrames runs when the picture is decoded and cuts its frames from
// inside it: numFrames, width, height and gap_y that are not whole numbers the picture can
// hold are worked out from the picture and the keys that can be, a frame count is cut to
// the frames the picture holds, frames too small to be zoomed to the sizes the game asks
// are enlarged, and animation frames are brought within the frames. An animation that would
// name itself again when played, or nest deeper than kMaxAnimationDepth, has the name that
// closes the circle or goes too deep left out; a list shared by several names is mended
// once. Each step of the work charges the file's meter (core/WorkMeter). What
// cannot be mended without a loss of sense is dropped (an inset, rules, a part): its users
// go on as without it. Each mend is described in one line naming the key, the value and
// what became of it; the table is mended in place, so a second reading finds nothing to
// mend and the lines are told once.
#include "luaplus/LuaPlus.h"

#include <string>
#include <vector>

class MetadataRanges
{
public:
    // The largest side, offset or gap in pixels any metadata may give (SDL's rectangles).
    static constexpr int kMaxSide = 32767;
    // The largest side of a surface SDL makes, in pixels.
    static constexpr int kMaxSurfaceSide = 16383;
    // The largest side the game zooms one frame of a picture to (no frame is shown larger
    // than the screen). A picture's frames are held large enough at load that the whole
    // picture zoomed so still fits a surface: at most kMaxSurfaceSide / kMaxZoomedSide
    // frames across and down.
    static constexpr int kMaxZoomedSide = 1024;
    // The deepest animations may nest when played (an animation naming another that names
    // another ...), counting the one played.
    static constexpr int kMaxAnimationDepth = 32;
    // The largest delay of an animation, in milliseconds.
    static constexpr int kMaxDelayMs = 60000;
    // The highest measure a song's part may name, and the longest part.
    static constexpr int kMaxMeasure = 100000;
    // The most samples a sound may play at once (the audio layer's limit).
    static constexpr int kMaxSamples = 65535;

    // Mends the keys of one file's metadata entry that need no picture; entry is left alone
    // when it is not a table.
    static std::vector<std::string> MendEntry(LuaPlus::LuaObject entry);

    // Fits the entry's frame keys to a decoded picture of width x height and its
    // animations to the frames. When the frames cannot be worked out (neither a usable
    // numFrames nor a usable width), problem names the keys and nothing is changed.
    static std::vector<std::string> FitFrames(LuaPlus::LuaObject entry, int width, int height,
                                              std::string& problem);
};
