#pragma once
// New images made from existing ones: scaled copies, right-angle rotations by exact pixel
// copy and arbitrary rotations of one frame of a sprite sheet. Each result keeps the
// source's blending flags and a metadata table of its own, rewritten to describe the new
// picture. The caller owns the result; SDL_gfx failures raise ImageException.
class Image;

namespace ImageEffects {

// Scales by factor on both axes (1.0 gives a clone). smooth selects anti-aliasing.
Image* ZoomImage(Image* image, double factor, bool smooth);
// Scales each axis by its own factor. Frames keep their count and layout (scaled size and
// row gap); metadata width, height and gap_y are scaled with them.
Image* ZoomImageXY(Image* image, double factorX, double factorY, bool smooth);
// Turns the picture by a multiple of 90 degrees (positive turns counter-clockwise on
// screen). The result has one frame and no metadata; other angles fail.
Image* RotateImageRightAngle(Image* image, int angle);
// Turns one frame (frame -1: the whole image) by degrees. Right angles are exact pixel
// copies; others go through SDL_gfx. The result's metadata describes a single frame of
// the new size.
Image* RotateImage(Image* image, double degrees, int frame, bool smooth);

} // namespace ImageEffects
