#pragma once
// The memory the game holds live: the bytes its allocations take in the allocator the
// program runs with. Under AddressSanitizer that is the sanitizer's own allocator (glibc's
// statistics do not see it, and the resident size there is mostly the sanitizer's shadow
// and quarantine); otherwise glibc's malloc. The figure follows allocations and frees
// exactly, so a rule over it judges what the game keeps, never how the allocator spreads.

namespace soak {

// Bytes in live allocations now, in kB.
long LiveHeapKb();

// Which allocator LiveHeapKb reads: "sanitizer allocator" or "malloc".
const char* LiveHeapSource();

} // namespace soak
