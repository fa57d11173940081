#include "resources/MemoryReport.h"

#include "core/Log.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceMemory.h"

#include <ode/ode.h>

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The physics library's allocations, counted by its allocator hooks below. Each block
// carries its size in a header of its own, since the sizes the library passes back when
// it frees or grows a block do not always match what it asked for.
std::atomic<std::int64_t> gPhysicsBytes{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(dsizeint size)
{
    char* block = static_cast<char*>(std::malloc(kHeader + size));
    if (!block)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    gPhysicsBytes += std::int64_t(size);
    return block + kHeader;
}

void* CountedRealloc(void* data, dsizeint, dsizeint newSize)
{
    char* block = data ? static_cast<char*>(data) - kHeader : nullptr;
    const std::size_t oldSize = block ? *reinterpret_cast<std::size_t*>(block) : 0;
    char* moved = static_cast<char*>(std::realloc(block, kHeader + newSize));
    if (!moved)
        return nullptr;
    *reinterpret_cast<std::size_t*>(moved) = newSize;
    gPhysicsBytes += std::int64_t(newSize) - std::int64_t(oldSize);
    return moved + kHeader;
}

void CountedFree(void* data, dsizeint)
{
    if (!data)
        return;
    char* block = static_cast<char*>(data) - kHeader;
    gPhysicsBytes -= std::int64_t(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}

// Installed before main, so that every block the physics library allocates is counted.
struct PhysicsAllocatorHooks
{
    PhysicsAllocatorHooks()
    {
        dSetAllocHandler(CountedAlloc);
        dSetReallocHandler(CountedRealloc);
        dSetFreeHandler(CountedFree);
    }
} gPhysicsAllocatorHooks;

// "VmRSS:" and "VmHWM:" of /proc/self/status, in bytes.
void ReadStatus(MemoryReport& report)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        long long kb = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %lld kB", &kb) == 1)
            report.residentBytes = kb * 1024;
        else if (std::sscanf(line.c_str(), "VmHWM: %lld kB", &kb) == 1)
            report.peakResidentBytes = kb * 1024;
    }
}

// True for the program's own file and shared libraries.
bool IsCode(const std::string& path, const std::string& program)
{
    return path == program || path.find(".so") != std::string::npos;
}

// Sorts the resident pages of /proc/self/smaps into code, other files and anonymous.
void ReadMappings(MemoryReport& report)
{
    char program[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    const std::string self = length > 0 ? std::string(program, std::size_t(length)) : "";

    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    std::int64_t* bucket = &report.anonymousBytes;
    while (std::getline(smaps, line)) {
        long long kb = 0;
        if (std::sscanf(line.c_str(), "Rss: %lld kB", &kb) == 1) {
            *bucket += kb * 1024;
            continue;
        }
        // A mapping's header: "start-end perms offset dev inode [path]".
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        if (!(fields >> range >> perms >> offset >> device >> inode) ||
            range.find('-') == std::string::npos)
            continue;
        std::getline(fields >> std::ws, path);
        if (!path.empty() && path[0] == '/')
            bucket = IsCode(path, self) ? &report.codeBytes : &report.fileBytes;
        else
            bucket = &report.anonymousBytes;
    }
}

std::string MiB(std::int64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", double(bytes) / (1024.0 * 1024.0));
    return text;
}

} // namespace

std::int64_t MemoryReport::PhysicsBytes()
{
    return gPhysicsBytes;
}

MemoryReport MemoryReport::Take()
{
    MemoryReport report;
    report.imageBytes = SysmemImageBytes;
    report.videoBytes = VidmemImageBytes;
    report.soundBytes = SoundBytes;
    report.musicBytes = MusicMemoryBytes();
    if (LuaPlus::LuaState* state = GetGlobalLuaState()) {
        lua_State* L = state->GetCState();
        report.luaBytes =
            std::int64_t(lua_gc(L, LUA_GCCOUNT, 0)) * 1024 + lua_gc(L, LUA_GCCOUNTB, 0);
    }
    report.physicsBytes = PhysicsBytes();
    ReadStatus(report);
    ReadMappings(report);
    const struct mallinfo2 heap = mallinfo2();
    report.mallocInUseBytes = std::int64_t(heap.uordblks) + std::int64_t(heap.hblkhd);
    report.mallocFreeBytes = std::int64_t(heap.fordblks);
    return report;
}

std::string MemoryReport::Format() const
{
    std::string text;
    text += "Memory: resident " + MiB(residentBytes) + " MiB, peak " + MiB(peakResidentBytes) +
            " MiB\n";
    text += "Memory: images " + MiB(imageBytes) + " (textures " + MiB(videoBytes) + "), sounds " +
            MiB(soundBytes) + ", music synthesiser " + MiB(musicBytes) + ", Lua " + MiB(luaBytes) +
            ", physics " + MiB(physicsBytes) + " MiB\n";
    text += "Memory: code and libraries " + MiB(codeBytes) + ", mapped files " + MiB(fileBytes) +
            ", anonymous " + MiB(anonymousBytes) + ", allocator in use " + MiB(mallocInUseBytes) +
            ", allocator free " + MiB(mallocFreeBytes) + " MiB\n";
    return text;
}

// LogMemoryReport(): writes the memory report to the log.
MAKO_LUA_FUNCTION(LogMemoryReport)
{
    Log("%s", MemoryReport::Take().Format().c_str());
    return 0;
}
