#pragma once
// The read-out of the bytes of image data the hardware backend holds in textures
// (VidmemImageBytes), as a whole number without a caption. A negative count is drawn
// without its sign. Main thread only.
#include "screens/NumericalStatDisplay.h"

class D3DAvailableVidMemCounter : public NumericalStatDisplay
{
public:
    D3DAvailableVidMemCounter() = default;
    explicit D3DAvailableVidMemCounter(std::vector<Image*> glyphs)
        : NumericalStatDisplay(std::move(glyphs))
    {
    }

    void Draw(Canvas& canvas) override;
};
