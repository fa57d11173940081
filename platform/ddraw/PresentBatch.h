#pragma once
// Shows what several writes into the primary surface changed with one update of SDL's
// display, instead of one update (one round trip to the window system) per write.
namespace ddrawx {

// While a batch is open, blits, fast blits and unlocks of the primary surface only note
// the rectangle they wrote; the end of the batch shows every noted rectangle in one
// SDL_UpdateRects call. Batches nest: the outermost end shows. Main thread only.
void BeginPresentBatch();
void EndPresentBatch();

// Opens a batch for its life.
class PresentBatch
{
public:
    PresentBatch() { BeginPresentBatch(); }
    ~PresentBatch() { EndPresentBatch(); }
    PresentBatch(const PresentBatch&) = delete;
    PresentBatch& operator=(const PresentBatch&) = delete;
};

// For the layer: shows the rectangle (left, top, width, height) of SDL's video surface at
// once, or at the end of the open batch.
void ShowOnDisplay(int x, int y, int width, int height);

} // namespace ddrawx
