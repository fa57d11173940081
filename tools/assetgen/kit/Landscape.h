#pragma once
// Painting helpers for wide scenes such as play backgrounds: graded skies, clouds,
// ridges of silhouettes, polygons and soft shapes, and the grading passes that keep a
// finished scene calm (muted, darkened, low in contrast, quiet where the player looks
// most). Every random choice comes from the Rng passed in.
#include "kit/Draw.h"
#include "kit/Rng.h"

#include <utility>
#include <vector>

namespace assetgen {

struct ColorStop
{
    float at; // 0..1 from the gradient's start to its end
    Rgba color;
};

// The colour of a gradient through stops (sorted by `at`) at t, clamped at the ends.
Rgba GradientAt(const std::vector<ColorStop>& stops, float t);

// Fills rows y0..y1-1 with a vertical gradient running through the stops.
void PaintVerticalGradient(Canvas& canvas, int y0, int y1, const std::vector<ColorStop>& stops);

// Soft clouds over rows y0..y1-1: where value noise rises above 1 - cover, the picture
// moves towards colour by up to strength, fading in below y0 and out towards y1.
// cellsX and cellsY set the clouds' size (more cells, smaller clouds).
struct CloudStyle
{
    Rgba color;
    float cover = 0.4f;
    float strength = 0.5f;
    int cellsX = 6;
    int cellsY = 3;
};
void PaintClouds(Canvas& canvas, Rng& rng, int y0, int y1, const CloudStyle& style);

// A skyline across the picture's width: the height (y) of the ridge at every column,
// base plus smooth noise of the given amplitude (pixels) over `cells` bumps.
std::vector<float> RidgeProfile(Rng& rng, int width, float base, float amplitude, int cells,
                                int octaves = 3, float persistence = 0.5f);
// Fills everything below the profile (anti-aliased along its top) with the shader;
// `rimLight` brightens the first pixels under the edge, as if lit from above.
void PaintBelow(Canvas& canvas, const std::vector<float>& profile, const Shader& shader,
                float rimLight = 0.0f);

using Point = std::pair<float, float>;
// Signed distance to a closed polygon (points in order, either winding).
Sdf PolygonShape(std::vector<Point> points);
// Signed distance to an axis-aligned ellipse.
Sdf EllipseShape(float cx, float cy, float rx, float ry);
// FillShape limited to a box, for the many small shapes of a scene.
void FillShapeIn(Canvas& canvas, const RectF& bounds, const Sdf& shape, const Shader& shader);
// A soft blob: colour painted over with opacity falling off from the centre to the
// ellipse's edge (smooth step), scaled by opacity.
void PaintSoftBlob(Canvas& canvas, float cx, float cy, float rx, float ry, const Rgba& color,
                   float opacity);

// Thin slanting streaks (rain, snow drift, light rays): count streaks of the given length
// and angle (radians from vertical), each blended at opacity within box.
void PaintStreaks(Canvas& canvas, Rng& rng, const RectF& box, int count, float length, float angle,
                  float width, const Rgba& color, float opacity);

// Low-contrast texture: every pixel scaled by 1 ± amount × (noise - 0.5), mottled at a
// coarse scale and grained at a fine one.
void AddTexture(Canvas& canvas, Rng& rng, float mottle, float grain);

// Darkens towards the corners: the far corners lose `strength` of their light.
void Vignette(Canvas& canvas, float strength);

// How a finished scene is toned down so that what is played over it stands out.
struct Grade
{
    float saturation = 0.7f;      // kept share of colourfulness
    float brightness = 0.62f;     // overall light
    float contrast = 0.7f;        // kept share of the distance from the picture's mean
    Rgba tint = Rgba{1, 1, 1, 1}; // multiplied in last
};
void GradeScene(Canvas& canvas, const Grade& grade);

// Calms the rows from y0 down: a soft blur of the given radius blended in with a
// smooth ramp over `ramp` rows, and the light lowered by up to `darken`.
void QuietBelow(Canvas& canvas, int y0, int ramp, int radius, float darken);

} // namespace assetgen
