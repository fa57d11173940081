#include "ddraw/PresentBatch.h"

#include "ddraw/DDrawTestHooks.h"
#include "ddraw/Display.h"

#include <SDL.h>

#include <vector>

namespace ddrawx {

namespace {

struct Batch
{
    int depth = 0;
    std::vector<SDL_Rect> rects;
    long updates = 0;
};

Batch& Current()
{
    static Batch batch;
    return batch;
}

} // namespace

void BeginPresentBatch()
{
    ++Current().depth;
}

void EndPresentBatch()
{
    Batch& batch = Current();
    if (batch.depth == 0 || --batch.depth > 0)
        return;
    SDL_Surface* video = Display::VideoSurface();
    if (video && !batch.rects.empty()) {
        ++batch.updates;
        SDL_UpdateRects(video, static_cast<int>(batch.rects.size()), batch.rects.data());
    }
    batch.rects.clear();
}

void ShowOnDisplay(int x, int y, int width, int height)
{
    Batch& batch = Current();
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(width);
    rect.h = static_cast<Uint16>(height);
    if (batch.depth > 0) {
        batch.rects.push_back(rect);
        return;
    }
    if (SDL_Surface* video = Display::VideoSurface()) {
        ++batch.updates;
        SDL_UpdateRects(video, 1, &rect);
    }
}

long DisplayUpdateCount()
{
    return Current().updates;
}

} // namespace ddrawx
