// The surface handle: one reference per handle, moved and not copied, given back exactly
// once, and extra references taken through the surface's own count.
#include "display/SurfaceHandle.h"
#include "display/SurfaceManager.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A surface with one reference the test keeps for itself, so the count stays readable
// after every handle is gone.
struct WatchedSurface
{
    WatchedSurface() : surface(SurfaceManager::CreateSurface(2, 2, false)) {}
    ~WatchedSurface() { SDL_FreeSurface(surface); }
    int Count() const { return surface->refcount; }
    SDL_Surface* surface;
};

TEST(SurfaceHandleTest, EachHandleHoldsOneReferenceThatMovesWithIt)
{
    WatchedSurface a;
    {
        SurfaceHandle first = SurfaceHandle::Share(a.surface);
        EXPECT_EQ(2, a.Count());
        EXPECT_EQ(a.surface, first.get());

        SurfaceHandle second = first.Share();
        EXPECT_EQ(3, a.Count());

        // Moving hands the reference over: the count stays, the source is empty.
        SurfaceHandle moved(std::move(first));
        EXPECT_EQ(3, a.Count());
        EXPECT_FALSE(first);
        EXPECT_TRUE(first == nullptr);
        EXPECT_EQ(a.surface, moved.get());

        // Assigning over a handle gives back what it held first.
        moved = std::move(second);
        EXPECT_EQ(2, a.Count());
        EXPECT_FALSE(second);

        // Moving a handle onto itself keeps its reference.
        SurfaceHandle& self = moved;
        moved = std::move(self);
        EXPECT_EQ(2, a.Count());
        EXPECT_EQ(a.surface, moved.get());
    }
    EXPECT_EQ(1, a.Count());
}

TEST(SurfaceHandleTest, ReleaseAndResetGiveBackNothingTwice)
{
    WatchedSurface a;
    WatchedSurface b;
    SurfaceHandle handle = SurfaceHandle::Share(a.surface);

    // A released reference is the caller's to free; the handle forgets it.
    SDL_Surface* released = handle.release();
    EXPECT_EQ(a.surface, released);
    EXPECT_EQ(nullptr, handle.get());
    EXPECT_EQ(2, a.Count());
    SDL_FreeSurface(released);
    EXPECT_EQ(1, a.Count());

    handle = SurfaceHandle::Share(a.surface);
    ++b.surface->refcount;
    handle.reset(b.surface); // takes b's extra reference, gives a's back
    EXPECT_EQ(1, a.Count());
    EXPECT_EQ(2, b.Count());
    handle.reset();
    EXPECT_EQ(1, b.Count());
    handle.reset(); // an empty handle has nothing to give back
    EXPECT_EQ(1, b.Count());

    // Nothing to share: an empty handle, and no count touched.
    EXPECT_FALSE(SurfaceHandle::Share(nullptr));
    EXPECT_FALSE(handle.Share());
}

TEST(SurfaceHandleTest, ALastReferenceFreesThePixels)
{
    // Under the address sanitizer a surface the handle failed to free is reported as a
    // leak, and one freed twice as a double free.
    SurfaceHandle only(SurfaceManager::CreateSurface(3, 3, true));
    ASSERT_TRUE(only);
    SurfaceHandle other(SurfaceManager::CreateSurface(3, 3, true));
    only = std::move(other);
    EXPECT_EQ(1, only->refcount);
}

} // namespace
