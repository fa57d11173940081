#pragma once
// Where the process's memory goes: the bytes the engine counts for what it loaded (images,
// sounds, music synthesiser), the Lua heap and the physics library's allocations, set
// against what the kernel and the allocator say of the whole process (resident and peak
// resident size, code and libraries, other mapped files, anonymous memory, the allocator's
// bytes in use and kept free).
//
// The script function LogMemoryReport() writes it to the log as three lines starting
// "Memory:"; tools/memreport reads them. Main thread only.
#include <cstdint>
#include <string>

class MemoryReport
{
public:
    // Takes the figures now. The Lua heap is that of the global Lua state (0 without one).
    static MemoryReport Take();

    // The report's three lines, each ending in a newline; sizes in MiB with one decimal.
    std::string Format() const;

    // Bytes the physics library holds through its allocator (counted from start-up).
    static std::int64_t PhysicsBytes();

    // Counted by the engine.
    std::int64_t imageBytes = 0;
    std::int64_t videoBytes = 0;
    std::int64_t soundBytes = 0;
    std::int64_t musicBytes = 0;
    std::int64_t luaBytes = 0;
    std::int64_t physicsBytes = 0;
    // From /proc/self/status and /proc/self/smaps (0 where they cannot be read).
    std::int64_t residentBytes = 0;
    std::int64_t peakResidentBytes = 0;
    std::int64_t codeBytes = 0;      // resident pages of the program and its libraries
    std::int64_t fileBytes = 0;      // resident pages of other mapped files
    std::int64_t anonymousBytes = 0; // heap, stacks and other anonymous mappings
    // From the allocator.
    std::int64_t mallocInUseBytes = 0;
    std::int64_t mallocFreeBytes = 0;
};
