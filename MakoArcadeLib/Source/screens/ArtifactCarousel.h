#pragma once
// The index arithmetic of the finds screen's carousel: a ring of entries (the found
// artefacts, then the missing ones) seen through three slots, turned one entry at a time.
// Every answer is in range for any entry count, 0 included, and for any position, so the
// screen never reads past its lists: a ring shorter than the slots leaves its surplus
// slots empty instead of showing one entry twice.
namespace ArtifactCarousel {

// Slots the screen shows side by side.
const int kSlots = 3;

// The position brought into the ring: 0 .. total - 1 (0 for an empty ring).
int Normalize(int position, int total);
// The entry (0-based) that slot (0-based) shows with the first slot at position; -1 when the
// slot stays empty (the ring holds fewer entries than the slot's number).
int EntryAt(int position, int slot, int total);
// The position after one turn right (the next entry comes first) or left; wraps at the
// ends; 0 for an empty ring.
int TurnRight(int position, int total);
int TurnLeft(int position, int total);

} // namespace ArtifactCarousel
