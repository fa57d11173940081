#include "LiveMemory.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BB_LIVE_MEMORY_FROM_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BB_LIVE_MEMORY_FROM_SANITIZER 1
#endif

#if defined(BB_LIVE_MEMORY_FROM_SANITIZER)
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace soak {

long LiveHeapKb()
{
#if defined(BB_LIVE_MEMORY_FROM_SANITIZER)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    // Chunks in the arenas and the large blocks malloc maps on their own.
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
#endif
}

const char* LiveHeapSource()
{
#if defined(BB_LIVE_MEMORY_FROM_SANITIZER)
    return "sanitizer allocator";
#else
    return "malloc";
#endif
}

} // namespace soak
