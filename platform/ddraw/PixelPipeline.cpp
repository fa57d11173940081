#include "ddraw/PixelPipeline.h"

#include <algorithm>

namespace ddrawx {

namespace {

// x in 0-255 as a factor in 0-256: x / 256, except that 255 is exactly 1.
inline int Scale(int x)
{
    return x + ((x + 1) >> 8);
}

inline int Mul(int a, int b)
{
    return (a * Scale(b)) >> 8;
}

bool ReadsTexture(DWORD argument)
{
    return (argument & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
}

// The texture's own channels, with no modifier.
bool IsPlainTexture(DWORD argument)
{
    return argument == D3DTA_TEXTURE;
}

Rgba Argument(DWORD which, const Rgba& current, const Rgba& diffuse, const Rgba& texel,
              const Rgba& factor)
{
    Rgba x = current;
    switch (which & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        x = diffuse;
        break;
    case D3DTA_TEXTURE:
        x = texel;
        break;
    case D3DTA_TFACTOR:
        x = factor;
        break;
    default:
        break;
    }
    if (which & D3DTA_COMPLEMENT)
        x = Rgba{255 - x.r, 255 - x.g, 255 - x.b, 255 - x.a};
    if (which & D3DTA_ALPHAREPLICATE)
        x = Rgba{x.a, x.a, x.a, x.a};
    return x;
}

int Apply(DWORD op, int first, int second)
{
    switch (op) {
    case D3DTOP_SELECTARG1:
        return first;
    case D3DTOP_SELECTARG2:
        return second;
    default: // D3DTOP_MODULATE
        return Mul(first, second);
    }
}

int BlendFactor(DWORD factor, int channel, const Rgba& src, const Rgba& dst)
{
    const int s[4] = {src.r, src.g, src.b, src.a};
    const int d[4] = {dst.r, dst.g, dst.b, dst.a};
    switch (factor) {
    case D3DBLEND_ZERO:
        return 0;
    case D3DBLEND_ONE:
        return 256;
    case D3DBLEND_SRCCOLOR:
        return Scale(s[channel]);
    case D3DBLEND_INVSRCCOLOR:
        return 256 - Scale(s[channel]);
    case D3DBLEND_SRCALPHA:
        return Scale(src.a);
    case D3DBLEND_INVSRCALPHA:
        return 256 - Scale(src.a);
    case D3DBLEND_DESTALPHA:
        return Scale(dst.a);
    case D3DBLEND_INVDESTALPHA:
        return 256 - Scale(dst.a);
    case D3DBLEND_DESTCOLOR:
        return Scale(d[channel]);
    case D3DBLEND_INVDESTCOLOR:
        return 256 - Scale(d[channel]);
    default:
        return 0;
    }
}

using Colour = PixelPipeline::Colour;
using Alpha = PixelPipeline::Alpha;
using Blend = PixelPipeline::Blend;

} // namespace

Rgba PixelPipeline::CombineStage(const RasterStage& stage, const Rgba& current, const Rgba& diffuse,
                                 const Rgba& texel, const Rgba& factor)
{
    const Rgba c1 = Argument(stage.colorArg1, current, diffuse, texel, factor);
    const Rgba c2 = Argument(stage.colorArg2, current, diffuse, texel, factor);
    Rgba next{Apply(stage.colorOp, c1.r, c2.r), Apply(stage.colorOp, c1.g, c2.g),
              Apply(stage.colorOp, c1.b, c2.b), current.a};
    if (stage.alphaOp != D3DTOP_DISABLE)
        next.a = Apply(stage.alphaOp, Argument(stage.alphaArg1, current, diffuse, texel, factor).a,
                       Argument(stage.alphaArg2, current, diffuse, texel, factor).a);
    return next;
}

std::uint32_t PixelPipeline::BlendPixel(const RasterState& state, std::uint32_t pixel,
                                        const Rgba& src)
{
    const bool hasAlpha = state.target.hasAlpha;
    Rgba out = src;
    if (state.blend) {
        const Rgba dst = Unpack(pixel, hasAlpha);
        const int s[4] = {src.r, src.g, src.b, src.a};
        const int d[4] = {dst.r, dst.g, dst.b, dst.a};
        int o[4];
        for (int ch = 0; ch < 4; ++ch) {
            const int fs = BlendFactor(state.srcBlend, ch, src, dst);
            const int fd = BlendFactor(state.destBlend, ch, src, dst);
            o[ch] = std::min(255, (s[ch] * fs + d[ch] * fd) >> 8);
        }
        out = Rgba{o[0], o[1], o[2], o[3]};
    }
    return (hasAlpha ? std::uint32_t(out.a) << 24 : 0u) | std::uint32_t(out.r) << 16 |
           std::uint32_t(out.g) << 8 | std::uint32_t(out.b);
}

PixelPipeline PixelPipeline::ForShaded(const RasterState& state)
{
    PixelPipeline p(state);
    p.ChooseSpan();
    return p;
}

PixelPipeline PixelPipeline::Reference(const RasterState& state)
{
    PixelPipeline p(state);
    p.ChooseSpan();
    p.m_Span = &GenericSpan;
    return p;
}

PixelPipeline PixelPipeline::ForTexels(const RasterState& state, const Rgba& diffuse)
{
    PixelPipeline p(state);
    p.m_Diffuse = diffuse;
    p.m_Factor = Unpack(state.textureFactor, true);
    if (state.stageCount == 0) {
        // No stage: the diffuse colour goes straight to blending.
        p.m_Colour = Colour::Constant;
        p.m_Alpha = Alpha::Constant;
        p.m_ConstantRgb = Pack(diffuse) & 0xFFFFFFu;
        p.m_ConstantAlpha = std::uint32_t(diffuse.a);
        p.ChooseSpan();
        return p;
    }
    const RasterStage& stage = state.stages[0];
    p.m_Stage = &stage;
    // Arguments that do not read the texture are the same for every pixel of the draw.
    auto constant = [&](DWORD which) {
        return Argument(which, diffuse, diffuse, diffuse, p.m_Factor);
    };

    if (stage.colorOp == D3DTOP_SELECTARG1 || stage.colorOp == D3DTOP_SELECTARG2) {
        const DWORD arg = stage.colorOp == D3DTOP_SELECTARG1 ? stage.colorArg1 : stage.colorArg2;
        if (!ReadsTexture(arg)) {
            p.m_Colour = Colour::Constant;
            p.m_ConstantRgb = Pack(constant(arg)) & 0xFFFFFFu;
        } else {
            p.m_Colour = IsPlainTexture(arg) ? Colour::Source : Colour::Generic;
        }
    } else if (!ReadsTexture(stage.colorArg1) && !ReadsTexture(stage.colorArg2)) {
        const Rgba a = constant(stage.colorArg1), b = constant(stage.colorArg2);
        p.m_Colour = Colour::Constant;
        p.m_ConstantRgb = Pack(Rgba{Mul(a.r, b.r), Mul(a.g, b.g), Mul(a.b, b.b), 0}) & 0xFFFFFFu;
    } else {
        // Modulating the texture by white leaves it as it is.
        const bool byWhite = IsPlainTexture(stage.colorArg1) && !ReadsTexture(stage.colorArg2) &&
                             (Pack(constant(stage.colorArg2)) & 0xFFFFFFu) == 0xFFFFFFu;
        p.m_Colour = byWhite ? Colour::Source : Colour::Generic;
    }

    auto alphaSource = [](DWORD arg) { return ReadsTexture(arg) && !(arg & D3DTA_COMPLEMENT); };
    if (stage.alphaOp == D3DTOP_DISABLE) {
        p.m_Alpha = Alpha::Constant;
        p.m_ConstantAlpha = std::uint32_t(diffuse.a);
    } else if (stage.alphaOp == D3DTOP_SELECTARG1 || stage.alphaOp == D3DTOP_SELECTARG2) {
        const DWORD arg = stage.alphaOp == D3DTOP_SELECTARG1 ? stage.alphaArg1 : stage.alphaArg2;
        if (!ReadsTexture(arg)) {
            p.m_Alpha = Alpha::Constant;
            p.m_ConstantAlpha = std::uint32_t(constant(arg).a);
        } else {
            p.m_Alpha = alphaSource(arg) ? Alpha::Source : Alpha::Generic;
        }
    } else if (!ReadsTexture(stage.alphaArg1) && !ReadsTexture(stage.alphaArg2)) {
        p.m_Alpha = Alpha::Constant;
        p.m_ConstantAlpha =
            std::uint32_t(Mul(constant(stage.alphaArg1).a, constant(stage.alphaArg2).a));
    } else if (alphaSource(stage.alphaArg1) && !ReadsTexture(stage.alphaArg2)) {
        p.m_Alpha = Alpha::ScaledSource;
        p.m_AlphaScale = std::uint32_t(Scale(constant(stage.alphaArg2).a));
    } else {
        p.m_Alpha = Alpha::Generic;
    }
    p.ChooseSpan();
    return p;
}

void PixelPipeline::RunWhere(std::uint32_t* dst, const std::uint32_t* src, const std::uint8_t* keep,
                             int count, std::uint32_t alphaFill) const
{
    // Runs of kept pixels go through the row loop together.
    int k = 0;
    while (k < count) {
        if (!keep[k]) {
            ++k;
            continue;
        }
        int end = k + 1;
        while (end < count && keep[end])
            ++end;
        Run(dst + k, src ? src + k : nullptr, end - k, alphaFill);
        k = end;
    }
}

bool PixelPipeline::ReadsSource() const
{
    return m_Colour != Colour::Constant || m_Alpha != Alpha::Constant;
}

Rgba PixelPipeline::ShadeOne(std::uint32_t source) const
{
    if (m_Stage && (m_Colour == Colour::Generic || m_Alpha == Alpha::Generic))
        return CombineStage(*m_Stage, m_Diffuse, m_Diffuse, Unpack(source, true), m_Factor);
    const std::uint32_t rgb = m_Colour == Colour::Source ? source & 0xFFFFFFu : m_ConstantRgb;
    std::uint32_t a = source >> 24;
    if (m_Alpha == Alpha::Constant)
        a = m_ConstantAlpha;
    else if (m_Alpha == Alpha::ScaledSource)
        a = (a * m_AlphaScale) >> 8;
    return Unpack(a << 24 | rgb, true);
}

template <Colour C, Alpha A, Blend B, bool TargetAlpha>
void PixelPipeline::FastSpan(const PixelPipeline& p, std::uint32_t* dst, const std::uint32_t* src,
                             int count, std::uint32_t alphaFill)
{
    const std::uint32_t constantRgb = p.m_ConstantRgb;
    const std::uint32_t constantAlpha = p.m_ConstantAlpha;
    const std::uint32_t alphaScale = p.m_AlphaScale;
    for (int k = 0; k < count; ++k) {
        std::uint32_t s = 0;
        if constexpr (C == Colour::Source || A != Alpha::Constant)
            s = src[k] | alphaFill;
        const std::uint32_t rgb = C == Colour::Source ? (s & 0xFFFFFFu) : constantRgb;
        std::uint32_t a;
        if constexpr (A == Alpha::Source)
            a = s >> 24;
        else if constexpr (A == Alpha::Constant)
            a = constantAlpha;
        else
            a = ((s >> 24) * alphaScale) >> 8;
        if constexpr (B == Blend::Replace) {
            dst[k] = TargetAlpha ? (a << 24 | rgb) : rgb;
        } else {
            // d + (((s - d) * f) >> 8) per channel, red with blue in one word: each lane
            // holds s * f + d * (256 - f) <= 255 * 256, so no lane spills into the next.
            const std::uint32_t f = a + ((a + 1) >> 8), g = 256 - f;
            const std::uint32_t d = dst[k];
            const std::uint32_t rb =
                (((rgb & 0xFF00FFu) * f + (d & 0xFF00FFu) * g) >> 8) & 0xFF00FFu;
            const std::uint32_t gg = (((rgb & 0xFF00u) * f + (d & 0xFF00u) * g) >> 8) & 0xFF00u;
            std::uint32_t out = rb | gg;
            if constexpr (TargetAlpha)
                out |= ((a * f + (d >> 24) * g) >> 8) << 24;
            dst[k] = out;
        }
    }
}

void PixelPipeline::GenericSpan(const PixelPipeline& p, std::uint32_t* dst,
                                const std::uint32_t* src, int count, std::uint32_t alphaFill)
{
    const bool reads = p.ReadsSource();
    for (int k = 0; k < count; ++k)
        dst[k] = BlendPixel(*p.m_State, dst[k], p.ShadeOne(reads ? src[k] | alphaFill : 0u));
}

void PixelPipeline::ChooseSpan()
{
    const RasterState& state = *m_State;
    if (!state.blend || (state.srcBlend == D3DBLEND_ONE && state.destBlend == D3DBLEND_ZERO))
        m_Blend = Blend::Replace;
    else if (state.srcBlend == D3DBLEND_SRCALPHA && state.destBlend == D3DBLEND_INVSRCALPHA)
        m_Blend = Blend::SourceAlpha;
    else
        m_Blend = Blend::Generic;
    if (m_Colour == Colour::Generic || m_Alpha == Alpha::Generic || m_Blend == Blend::Generic) {
        m_Span = &GenericSpan;
        return;
    }
    // The row loops of the specialised cases: [constant colour][alpha][source alpha blend]
    // [target alpha].
    static const SpanFunction kSpans[2][3][2][2] = {
        {{{&FastSpan<Colour::Source, Alpha::Source, Blend::Replace, false>,
           &FastSpan<Colour::Source, Alpha::Source, Blend::Replace, true>},
          {&FastSpan<Colour::Source, Alpha::Source, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Source, Alpha::Source, Blend::SourceAlpha, true>}},
         {{&FastSpan<Colour::Source, Alpha::Constant, Blend::Replace, false>,
           &FastSpan<Colour::Source, Alpha::Constant, Blend::Replace, true>},
          {&FastSpan<Colour::Source, Alpha::Constant, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Source, Alpha::Constant, Blend::SourceAlpha, true>}},
         {{&FastSpan<Colour::Source, Alpha::ScaledSource, Blend::Replace, false>,
           &FastSpan<Colour::Source, Alpha::ScaledSource, Blend::Replace, true>},
          {&FastSpan<Colour::Source, Alpha::ScaledSource, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Source, Alpha::ScaledSource, Blend::SourceAlpha, true>}}},
        {{{&FastSpan<Colour::Constant, Alpha::Source, Blend::Replace, false>,
           &FastSpan<Colour::Constant, Alpha::Source, Blend::Replace, true>},
          {&FastSpan<Colour::Constant, Alpha::Source, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Constant, Alpha::Source, Blend::SourceAlpha, true>}},
         {{&FastSpan<Colour::Constant, Alpha::Constant, Blend::Replace, false>,
           &FastSpan<Colour::Constant, Alpha::Constant, Blend::Replace, true>},
          {&FastSpan<Colour::Constant, Alpha::Constant, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Constant, Alpha::Constant, Blend::SourceAlpha, true>}},
         {{&FastSpan<Colour::Constant, Alpha::ScaledSource, Blend::Replace, false>,
           &FastSpan<Colour::Constant, Alpha::ScaledSource, Blend::Replace, true>},
          {&FastSpan<Colour::Constant, Alpha::ScaledSource, Blend::SourceAlpha, false>,
           &FastSpan<Colour::Constant, Alpha::ScaledSource, Blend::SourceAlpha, true>}}}};
    m_Span = kSpans[m_Colour == Colour::Constant][int(m_Alpha)][m_Blend == Blend::SourceAlpha]
                   [state.target.hasAlpha];
}

} // namespace ddrawx
