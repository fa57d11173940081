#pragma once
// What happens to a pixel once a draw covers it: the texture stage cascade and blending into
// the 32-bit target. The arithmetic is chosen once per draw; the row loops it picks give the
// same pixels, bit for bit, as the per-pixel rules below (CombineStage, BlendPixel), which
// remain the reference for every state.
#include "ddraw/RasterTypes.h"

#include <cstdint>

namespace ddrawx {

class PixelPipeline
{
public:
    // For rows of colours the caller shaded itself (packed as by Pack): blending only.
    static PixelPipeline ForShaded(const RasterState& state);
    // Like ForShaded, but blending every pixel by BlendPixel itself.
    static PixelPipeline Reference(const RasterState& state);
    // For rows of texels of the first stage under one diffuse colour for the whole draw
    // (or of nothing, when no stage is active). Only for states with at most one stage.
    static PixelPipeline ForTexels(const RasterState& state, const Rgba& diffuse);

    // Shades and blends `count` pixels into dst, pixel k from src[k] | alphaFill (alphaFill
    // gives textures without alpha their implied opaque alpha). src is not read, and may be
    // null, when ReadsSource() is false.
    void Run(std::uint32_t* dst, const std::uint32_t* src, int count, std::uint32_t alphaFill) const
    {
        m_Span(*this, dst, src, count, alphaFill);
    }
    // Like Run, but only pixels k with keep[k] set are drawn; the others are left alone.
    void RunWhere(std::uint32_t* dst, const std::uint32_t* src, const std::uint8_t* keep, int count,
                  std::uint32_t alphaFill) const;
    // Whether the result depends on the source pixels at all.
    bool ReadsSource() const;

    // One stage of the cascade for one pixel: `current` is what the earlier stages made (the
    // diffuse colour for the first stage).
    static Rgba CombineStage(const RasterStage& stage, const Rgba& current, const Rgba& diffuse,
                             const Rgba& texel, const Rgba& factor);
    // The target pixel after `src` is blended into it, or replaces it when blending is off.
    static std::uint32_t BlendPixel(const RasterState& state, std::uint32_t pixel, const Rgba& src);
    // Channels of a pixel; without alpha the pixel counts as opaque.
    static Rgba Unpack(std::uint32_t p, bool hasAlpha)
    {
        return Rgba{int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF),
                    hasAlpha ? int(p >> 24) : 255};
    }
    // 0xAARRGGBB from channels in 0-255.
    static std::uint32_t Pack(const Rgba& c)
    {
        return std::uint32_t(c.a) << 24 | std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 |
               std::uint32_t(c.b);
    }

    // Where a row loop takes each part of the colour from.
    enum class Colour { Source, Constant, Generic };
    enum class Alpha { Source, Constant, ScaledSource, Generic };
    enum class Blend { Replace, SourceAlpha, Generic };

private:
    using SpanFunction = void (*)(const PixelPipeline&, std::uint32_t*, const std::uint32_t*, int,
                                  std::uint32_t);

    explicit PixelPipeline(const RasterState& state) : m_State(&state) {}
    void ChooseSpan();
    // The colour one source pixel shades to, by the general rules of this pipeline.
    Rgba ShadeOne(std::uint32_t source) const;

    template <Colour C, Alpha A, Blend B, bool TargetAlpha>
    static void FastSpan(const PixelPipeline& p, std::uint32_t* dst, const std::uint32_t* src,
                         int count, std::uint32_t alphaFill);
    static void GenericSpan(const PixelPipeline& p, std::uint32_t* dst, const std::uint32_t* src,
                            int count, std::uint32_t alphaFill);

    const RasterState* m_State;
    const RasterStage* m_Stage = nullptr; // the stage shaded per pixel, if any
    Rgba m_Diffuse{255, 255, 255, 255};
    Rgba m_Factor{255, 255, 255, 255};
    Colour m_Colour = Colour::Source;
    Alpha m_Alpha = Alpha::Source;
    Blend m_Blend = Blend::Replace;
    std::uint32_t m_ConstantRgb = 0;   // for Colour::Constant
    std::uint32_t m_ConstantAlpha = 0; // for Alpha::Constant
    std::uint32_t m_AlphaScale = 256;  // for Alpha::ScaledSource: a' = (a * scale) >> 8
    SpanFunction m_Span = nullptr;
};

} // namespace ddrawx
