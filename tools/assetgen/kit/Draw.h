#pragma once
// Drawing helpers over a Canvas. Shapes are signed distance functions (negative inside,
// in pixels) sampled at pixel centres, so every edge is anti-aliased the same way.
// Light comes from the upper left throughout, as the art direction asks.
#include "kit/Canvas.h"

#include <functional>

namespace assetgen {

struct RectF
{
    float x = 0, y = 0, w = 0, h = 0;
};

// Signed distance to a shape, in pixels.
using Sdf = std::function<float(float x, float y)>;
// The colour to paint at a pixel (straight alpha).
using Shader = std::function<Rgba(int x, int y)>;

Sdf RoundedRectShape(const RectF& rect, float radius);
Sdf CircleShape(float cx, float cy, float radius);
// A stroke of the given width along a segment, with round caps.
Sdf SegmentShape(float x0, float y0, float x1, float y1, float width);
// Union of two shapes.
Sdf Union(Sdf a, Sdf b);

Shader Solid(const Rgba& color);
// Linear gradient from c0 at (x0, y0) to c1 at (x1, y1), clamped beyond the ends.
Shader LinearGradient(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1);
// Radial gradient from c0 at the centre to c1 at the radius and beyond.
Shader RadialGradient(float cx, float cy, float radius, const Rgba& c0, const Rgba& c1);

// Paints the shader wherever the shape covers a pixel (source-over).
void FillShape(Canvas& canvas, const Sdf& shape, const Shader& shader);

// Bevel lit from the upper left: within `width` pixels of the shape's edge, faces
// turned towards the light are brightened and the others darkened, by up to
// `strength` (0..1). Pixels keep their opacity. `inverted` lights the lower right
// instead (a pressed or sunken surface).
void Bevel(Canvas& canvas, const Sdf& shape, float width, float strength, bool inverted = false);

// A soft shadow of the layer's opacity, blurred by `blur` pixels, in colour × opacity.
Canvas ShadowOf(const Canvas& layer, float blur, const Rgba& color);
// Draws a layer onto the target at (dx, dy) with its soft drop shadow offset down-right
// by (offsetX, offsetY).
void DrawWithShadow(Canvas& target, const Canvas& layer, int dx, int dy, int offsetX, int offsetY,
                    float blur, float opacity);

// Look of a shaded sphere.
struct SphereStyle
{
    float ambient = 0.28f;   // light on the side away from the lamp, 0..1
    float specular = 0.9f;   // strength of the highlight
    float shininess = 36.0f; // tightness of the highlight
    float rim = 0.35f;       // darkening towards the outline
};
// A sphere shaded from the upper left with a specular highlight, anti-aliased edge.
void DrawSphere(Canvas& canvas, float cx, float cy, float radius, const Rgba& base,
                const SphereStyle& style = SphereStyle());

// A soft round sprite whose alpha falls off to zero at the radius: (1 - d²)^falloff.
// Additive sprites add light (glows, coronas); others paint over.
void DrawRadialSprite(Canvas& canvas, float cx, float cy, float radius, const Rgba& color,
                      float falloff, bool additive);

// Multiplies the colour under a shape by a material texture: value in 0..1 around 0.5
// darkens or lightens by up to `contrast`.
void ApplyTexture(Canvas& canvas, const std::function<float(int, int)>& texture, float contrast);

// A decimal digit from a 3 × 5 pixel font, each font pixel drawn as scale × scale.
void DrawDigit(Canvas& canvas, int digit, int x, int y, int scale, const Rgba& color);

} // namespace assetgen
