// The soak's live-memory figure follows what the program allocates and frees, in the
// allocator the build runs with.
#include "LiveMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

TEST(LiveMemory, FollowsAnAllocationAndItsRelease)
{
    const long kBlockKb = 16 * 1024;
    const long before = soak::LiveHeapKb();
    auto block = std::make_unique<char[]>(kBlockKb * 1024);
    std::memset(block.get(), 1, kBlockKb * 1024);
    const long held = soak::LiveHeapKb();
    EXPECT_GE(held - before, kBlockKb) << soak::LiveHeapSource();
    block.reset();
    EXPECT_LE(soak::LiveHeapKb(), held - kBlockKb) << soak::LiveHeapSource();
}
