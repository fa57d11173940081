#pragma once
// Where a playing segment sends its channel messages: the performance's synthesiser.
#include "dmusic/MusicTypes.h"

#include <cstdint>

namespace dmusic {

class EventSink
{
public:
    virtual ~EventSink() = default;
    // Performs one channel message now. `time` is the message's place in its segment, in
    // music time (for listeners; the message takes effect at the current output frame).
    virtual void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                      MusicTime time) = 0;
    // Whether the sink takes another message now. A sequencer that finds no room holds the
    // events that are due, and its place in the music, until there is.
    virtual bool HasRoom() const { return true; }
};

} // namespace dmusic
