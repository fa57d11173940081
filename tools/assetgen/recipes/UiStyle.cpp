#include "recipes/UiStyle.h"

#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"

#include <cmath>

namespace assetgen {

namespace {

Rgba LookColour(const Rgba& base, ButtonLook look)
{
    switch (look) {
    case ButtonLook::Disabled:
        return base.Desaturated(0.75f).Scaled(0.82f);
    case ButtonLook::Highlighted:
        return Mix(base.Scaled(1.12f), Rgba{1, 0.96f, 0.8f, 1}, 0.12f);
    case ButtonLook::Pressed:
        return base.Scaled(0.9f);
    case ButtonLook::Normal:
        break;
    }
    return base;
}

} // namespace

void DrawPlate(Canvas& canvas, float x, float y, float w, float h, const PlateStyle& style,
               ButtonLook look, const std::string& seedName)
{
    const Rgba base = LookColour(style.base, look);
    const RectF rect{x, y, w, h};
    const Sdf shape = RoundedRectShape(rect, style.radius);

    Canvas layer(canvas.Width(), canvas.Height());
    FillShape(layer, shape, LinearGradient(0, y, base.Scaled(1.16f), 0, y + h, base.Scaled(0.8f)));

    // Material: soft value noise across, fine grain on top, both tiling the frame.
    Rng rng(seedName);
    const NoiseField cloud =
        NoiseField::Value(rng, canvas.Width(), canvas.Height(), 6, 2, 3, 0.55f);
    const NoiseField grain = NoiseField::Grain(rng, canvas.Width(), canvas.Height());
    const float contrast = look == ButtonLook::Disabled ? style.texture * 0.5f : style.texture;
    ApplyTexture(
        layer, [&](int px, int py) { return cloud.At(px, py); }, contrast);
    ApplyTexture(
        layer, [&](int px, int py) { return grain.At(px, py); }, contrast * 0.4f);

    if (style.gloss && look != ButtonLook::Disabled) {
        const float inset = std::max(2.0f, style.bevel + 0.5f);
        const RectF sheen{x + inset, y + inset * 0.75f, w - 2 * inset, h * 0.42f};
        const float alpha = look == ButtonLook::Pressed ? 0.16f : 0.3f;
        FillShape(layer, RoundedRectShape(sheen, std::max(1.0f, style.radius - inset)),
                  LinearGradient(0, sheen.y, Rgba{1, 1, 1, alpha}, 0, sheen.y + sheen.h,
                                 Rgba{1, 1, 1, 0.02f}));
    }

    Bevel(layer, shape, style.bevel, look == ButtonLook::Pressed ? 0.42f : 0.6f,
          look == ButtonLook::Pressed);
    // A thin dark outline keeps the plate readable on any background.
    const Rgba outline = base.Scaled(0.35f).WithAlpha(0.7f);
    FillShape(
        layer, [&](float px, float py) { return std::fabs(shape(px, py) + 0.5f) - 0.5f; },
        Solid(outline));
    canvas.DrawOver(layer, 0, 0);
}

namespace {

// Room for a button's shadow: two pixels right and below the plate (three at large sizes).
int ShadowRoom(int frameH)
{
    return frameH >= 32 ? 3 : 2;
}

} // namespace

Canvas ButtonSheet(int frameW, int frameH, const PlateStyle& style, const std::string& seedName,
                   const FaceDecoration& decoration)
{
    Canvas sheet(frameW * kButtonFrames, frameH);
    const int room = ShadowRoom(frameH);
    for (int i = 0; i < kButtonFrames; ++i) {
        const auto look = static_cast<ButtonLook>(i);
        const int shift = look == ButtonLook::Pressed ? 1 : 0;
        Canvas face(frameW, frameH);
        DrawPlate(face, 0.5f + shift, 0.5f + shift, frameW - room - 1.0f, frameH - room - 1.0f,
                  style, look, seedName);
        if (decoration)
            decoration(face, look);
        Canvas frame(frameW, frameH);
        const int offset = look == ButtonLook::Pressed ? room - 1 : room;
        const float blur = look == ButtonLook::Pressed ? 1.0f : room - 0.5f;
        DrawWithShadow(frame, face, 0, 0, offset - shift, offset - shift, blur, 0.45f);
        if (look == ButtonLook::Highlighted) {
            // A warm glow around the lit button.
            Canvas glow = ShadowOf(face, 2.5f, Rgba{1, 0.92f, 0.6f, 0.55f});
            Canvas lit(frameW, frameH);
            lit.DrawOver(glow, 0, 0);
            lit.DrawOver(frame, 0, 0);
            frame = lit;
        }
        sheet.DrawOver(frame, i * frameW, 0);
    }
    return sheet;
}

LuaValue SheetMetadata(int numFrames, int frameW, int frameH)
{
    LuaValue m = LuaValue::Table();
    m.Set("numFrames", numFrames);
    m.Set("width", frameW);
    m.Set("height", frameH);
    return m;
}

LuaValue ButtonSheetMetadata(int frameW, int frameH, const PlateStyle& style)
{
    LuaValue m = SheetMetadata(kButtonFrames, frameW, frameH);
    // The plate starts half a pixel in; its ends curve over `radius` pixels.
    const int end = static_cast<int>(std::ceil(style.radius)) + 1;
    m.Set("captionInset", LuaValue::Array({LuaValue(end), LuaValue(end + ShadowRoom(frameH))}));
    return m;
}

LuaValue RuledPaperMetadata(int top, int pitch, int last)
{
    LuaValue rules = LuaValue::Table();
    rules.Set("top", top);
    rules.Set("pitch", pitch);
    rules.Set("last", last);
    LuaValue metadata = LuaValue::Table();
    metadata.Set("rules", rules);
    return metadata;
}

} // namespace assetgen
