// The device's fast ways of drawing (the path for screen-aligned quads, the row loops of
// the general rasteriser) against reference drawing by the rules pixel by pixel: the same
// primitives are drawn twice over the same background, and the two targets must agree
// pixel for pixel.
#include "DDrawFixture.h"

#include <cmath>
#include <functional>
#include <sstream>

using ddrawtest::CapsDesc;
using ddrawtest::DDrawTest;
using ddrawtest::EmptyDesc;

namespace {

class Random
{
public:
    explicit Random(std::uint32_t seed) : m_Seed(seed) {}
    std::uint32_t Next()
    {
        m_Seed = m_Seed * 1664525u + 1013904223u;
        return m_Seed ^ (m_Seed >> 15);
    }
    int Int(int lo, int hi) { return lo + int(Next() % std::uint32_t(hi - lo + 1)); }
    float Real(float lo, float hi) { return lo + (hi - lo) * float(Next() % 100000u) / 100000.0f; }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    template <class T> T Pick(std::initializer_list<T> values)
    {
        return values.begin()[Int(0, int(values.size()) - 1)];
    }

private:
    std::uint32_t m_Seed;
};

// One quad as a triangle strip: v0 and v3 at opposite corners.
struct Quad
{
    D3DTLVERTEX v[4];
};

// The game renderer's quad: destination (x, y, w, h) on the screen, texture coordinates
// from (uL, tT) to (uR, tB), corners nudged up and left by `nudge` pixel.
Quad MakeQuad(float x, float y, float w, float h, float uL, float tT, float uR, float tB,
              D3DCOLOR colour = 0xFFFFFFFF, float nudge = 0.1f)
{
    const float x0 = x - nudge, y0 = y - nudge, x1 = x0 + w, y1 = y0 + h;
    return Quad{{{x0, y0, 0, 1, colour, 0, uL, tT},
                 {x0, y1, 0, 1, colour, 0, uL, tB},
                 {x1, y0, 0, 1, colour, 0, uR, tT},
                 {x1, y1, 0, 1, colour, 0, uR, tB}}};
}

} // namespace

class FastDrawingTest : public DDrawTest
{
protected:
    void SetUp() override
    {
        DDrawTest::SetUp();
        MakeFullScreen(160, 120);
        MakeDevice();
        m_Target = m_Back;
    }

    void TearDown() override
    {
        ddrawx::UseReferenceDrawing(false);
        DDrawTest::TearDown();
    }

    IDirectDrawSurface7* MakeTextureOf(int w, int h, bool alpha, Random& random)
    {
        DWORD dw = DWORD(w), dh = DWORD(h);
        D3DX_SURFACEFORMAT format = alpha ? D3DX_SF_A8R8G8B8 : D3DX_SF_X8R8G8B8;
        IDirectDrawSurface7* texture = nullptr;
        EXPECT_EQ(DD_OK, D3DXCreateTexture(m_Device, nullptr, &dw, &dh, &format, nullptr, &texture,
                                           nullptr));
        if (!texture)
            return nullptr;
        Keep(texture);
        DDSURFACEDESC2 desc = EmptyDesc();
        EXPECT_EQ(DD_OK, texture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Alpha at both ends of its range as often as between them.
                std::uint32_t a = random.Pick<std::uint32_t>({0, 255, random.Next() & 0xFF});
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 y * desc.lPitch)[x] =
                    a << 24 | (random.Next() & 0xFFFFFF);
            }
        EXPECT_EQ(DD_OK, texture->Unlock(nullptr));
        return texture;
    }

    // A second render target of w × h with an alpha channel, and a device drawing into it
    // with the renderer's states; becomes the target of later draws.
    void UseTargetWithAlpha(int w, int h)
    {
        DDSURFACEDESC2 desc = CapsDesc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        desc.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = DWORD(w);
        desc.dwHeight = DWORD(h);
        desc.ddpfPixelFormat = DDPIXELFORMAT{sizeof(DDPIXELFORMAT),
                                             DDPF_RGB | DDPF_ALPHAPIXELS,
                                             0,
                                             32,
                                             0xFF0000,
                                             0xFF00,
                                             0xFF,
                                             0xFF000000u};
        ASSERT_EQ(DD_OK, m_DD->CreateSurface(&desc, &m_Target, nullptr));
        Keep(m_Target);
        IDirect3D7* d3d = nullptr;
        ASSERT_EQ(DD_OK, m_DD->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)));
        Keep(d3d);
        ASSERT_EQ(DD_OK, d3d->CreateDevice(IID_IDirect3DHALDevice, m_Target, &m_Device));
        Keep(m_Device);
        m_Device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    }

    // Fills the target with noise from `seed` (alpha included) and returns the target's size.
    void Background(std::uint32_t seed, int& w, int& h)
    {
        Random random(seed);
        DDSURFACEDESC2 desc = EmptyDesc();
        ASSERT_EQ(DD_OK, m_Target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        const bool alpha = desc.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS;
        w = int(desc.dwWidth);
        h = int(desc.dwHeight);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 y * desc.lPitch)[x] =
                    random.Next() & (alpha ? 0xFFFFFFFFu : 0xFFFFFFu);
        ASSERT_EQ(DD_OK, m_Target->Unlock(nullptr));
    }

    std::vector<std::uint32_t> ReadTarget()
    {
        std::vector<std::uint32_t> out;
        DDSURFACEDESC2 desc = EmptyDesc();
        EXPECT_EQ(DD_OK, m_Target->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr));
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            for (DWORD x = 0; x < desc.dwWidth; ++x)
                out.push_back(reinterpret_cast<const std::uint32_t*>(
                    static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch)[x]);
        m_Target->Unlock(nullptr);
        return out;
    }

    // Draws `quads` over the same background fast and by reference and expects the same
    // pixels. Returns how many of the quads the fast path took.
    long Compare(const std::vector<Quad>& quads, const std::string& what)
    {
        return Compare(
            [&] {
                for (const Quad& quad : quads) {
                    Quad copy = quad;
                    EXPECT_EQ(D3D_OK, m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX,
                                                              copy.v, 4, 0))
                        << what;
                }
            },
            what);
    }

    long Compare(const std::function<void()>& draw, const std::string& what)
    {
        std::vector<std::uint32_t> result[2];
        long taken = 0;
        for (int fast = 0; fast < 2; ++fast) {
            int w = 0, h = 0;
            Background(99, w, h);
            ddrawx::UseReferenceDrawing(fast == 0);
            const long before = ddrawx::QuadFastPathDraws();
            EXPECT_EQ(D3D_OK, m_Device->BeginScene());
            draw();
            EXPECT_EQ(D3D_OK, m_Device->EndScene());
            taken = ddrawx::QuadFastPathDraws() - before;
            result[fast] = ReadTarget();
            ddrawx::UseReferenceDrawing(false);
        }
        EXPECT_EQ(result[0].size(), result[1].size());
        for (std::size_t i = 0; i < result[0].size(); ++i)
            if (result[0][i] != result[1][i]) {
                ADD_FAILURE() << what << ": pixel " << i << " reference " << std::hex
                              << result[0][i] << " fast " << result[1][i];
                break;
            }
        return taken;
    }

    // The game renderer's blend set-ups (as in its shader kinds).
    void UseShader(int kind)
    {
        IDirect3DDevice7* d = m_Device;
        d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, kind != 0);
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, kind == 4 ? D3DTA_DIFFUSE : D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1,
                                kind == 2 || kind == 4 ? D3DTA_DIFFUSE : D3DTA_TEXTURE);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, kind == 3 ? D3DTOP_MODULATE : D3DTOP_SELECTARG1);
    }

    void MakeRandomTextures(Random& random)
    {
        m_Textures[0] = MakeTextureOf(64, 64, true, random);
        m_Textures[1] = MakeTextureOf(5, 9, false, random);
        m_Textures[2] = MakeTextureOf(1, 1, true, random);
    }

    // A random texture (or none) for the first stage and random states; `common` keeps to
    // the renderer's own blend and stage set-ups.
    void RandomState(Random& random, bool common)
    {
        IDirect3DDevice7* d = m_Device;
        UseShader(random.Int(0, 4));
        d->SetTexture(0, random.Chance(85) ? m_Textures[random.Int(0, 2)] : nullptr);
        d->SetRenderState(D3DRENDERSTATE_CULLMODE,
                          common ? D3DCULL_NONE : random.Int(D3DCULL_NONE, D3DCULL_CCW));
        d->SetRenderState(D3DRENDERSTATE_TEXTUREFACTOR, random.Next());
        d->SetTextureStageState(0, D3DTSS_BORDERCOLOR, random.Next());
        d->SetTextureStageState(0, D3DTSS_ADDRESSU, random.Int(1, 4));
        d->SetTextureStageState(0, D3DTSS_ADDRESSV, random.Int(1, 4));
        const bool linear = !common && random.Chance(20);
        d->SetTextureStageState(0, D3DTSS_MAGFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
        d->SetTextureStageState(0, D3DTSS_MINFILTER, linear ? D3DTFN_LINEAR : D3DTFN_POINT);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        if (common)
            return;
        d->SetRenderState(D3DRENDERSTATE_SRCBLEND, random.Int(D3DBLEND_ZERO, 10));
        d->SetRenderState(D3DRENDERSTATE_DESTBLEND, random.Int(D3DBLEND_ZERO, 10));
        const DWORD arguments[] = {D3DTA_DIFFUSE, D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_TFACTOR};
        auto argument = [&] {
            DWORD a = arguments[random.Int(0, 3)];
            if (random.Chance(25))
                a |= D3DTA_COMPLEMENT;
            if (random.Chance(25))
                a |= D3DTA_ALPHAREPLICATE;
            return a;
        };
        d->SetTextureStageState(0, D3DTSS_COLOROP, random.Int(D3DTOP_SELECTARG1, 4));
        d->SetTextureStageState(0, D3DTSS_COLORARG1, argument());
        d->SetTextureStageState(0, D3DTSS_COLORARG2, argument());
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, random.Int(D3DTOP_DISABLE, 4));
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, argument());
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, argument());
    }

    IDirectDrawSurface7* m_Target = nullptr;
    IDirectDrawSurface7* m_Textures[3] = {};
};

TEST_F(FastDrawingTest, GameRendererQuadsTakeTheFastPathAndMatch)
{
    Random random(1);
    IDirectDrawSurface7* tile = MakeTextureOf(64, 64, true, random);
    // Copy, pixel alpha, constant alpha, combined alpha and flat colour; tiles in full, an
    // edge tile's part, quads hanging over every side, a one-pixel sliver.
    for (int kind = 0; kind <= 4; ++kind) {
        UseShader(kind);
        ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, kind == 4 ? nullptr : tile));
        const D3DCOLOR colour = kind >= 2 ? 0xB4FFFFFF : 0xFFFFFFFF;
        const D3DCOLOR flat = 0x80C86432;
        std::vector<Quad> quads = {
            MakeQuad(10, 10, 64, 64, 0, 0, 1, 1, kind == 4 ? flat : colour),
            MakeQuad(80, 5, 36, 6, 28 / 64.f, 58 / 64.f, 1, 1, kind == 4 ? flat : colour),
            MakeQuad(-10, -5, 64, 64, 0, 0, 1, 1, kind == 4 ? flat : colour),
            MakeQuad(130, 90, 64, 64, 0, 0, 1, 1, kind == 4 ? flat : colour),
            MakeQuad(20, 100, 1, 1, 5 / 64.f, 7 / 64.f, 6 / 64.f, 8 / 64.f, colour),
        };
        EXPECT_EQ(long(quads.size()), Compare(quads, "shader " + std::to_string(kind)));
    }
}

TEST_F(FastDrawingTest, ScaledMirroredAndRepeatedTexturesMatch)
{
    Random random(2);
    IDirectDrawSurface7* solid = MakeTextureOf(13, 7, false, random);
    IDirectDrawSurface7* sprite = MakeTextureOf(16, 16, true, random);
    m_Device->SetTextureStageState(0, D3DTSS_BORDERCOLOR, 0x80FF00FF);
    for (IDirectDrawSurface7* texture : {solid, sprite}) {
        ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, texture));
        for (int kind : {0, 1, 3}) {
            UseShader(kind);
            for (DWORD mode :
                 {D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_CLAMP, D3DTADDRESS_BORDER}) {
                m_Device->SetTextureStageState(0, D3DTSS_ADDRESSU, mode);
                m_Device->SetTextureStageState(0, D3DTSS_ADDRESSV, mode);
                const D3DCOLOR c = 0xB4FFFFFF;
                std::vector<Quad> quads = {
                    MakeQuad(3, 4, 50, 29, 0, 0, 1, 1, c),                  // enlarged
                    MakeQuad(60, 4, 9, 5, 0, 0, 1, 1, c),                   // shrunk
                    MakeQuad(80, 4, 40, 40, 1, 1, 0, 0, c),                 // mirrored both ways
                    MakeQuad(3, 50, 70, 50, -1.3f, -0.6f, 2.2f, 1.9f, c),   // repeated
                    MakeQuad(80, 50, 33, 21, 0.25f, 0.5f, 0.25f, 0.5f, c),  // one texel
                    MakeQuad(122.5f, 60.5f, 17.25f, 11.75f, 0, 0, 1, 1, c), // off the grid
                    MakeQuad(20, 104, 26, 14, 0, 0, 2, 2, c, 0.0f),         // corners on centres
                };
                std::ostringstream what;
                what << "kind " << kind << " mode " << mode;
                EXPECT_GE(Compare(quads, what.str()), 5) << what.str();
            }
        }
    }
}

TEST_F(FastDrawingTest, TargetsWithAlphaMatch)
{
    UseTargetWithAlpha(96, 64);
    Random random(3);
    IDirectDrawSurface7* sprite = MakeTextureOf(32, 32, true, random);
    ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, sprite));
    for (int kind = 0; kind <= 4; ++kind) {
        UseShader(kind);
        ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, kind == 4 ? nullptr : sprite));
        std::vector<Quad> quads = {MakeQuad(2, 3, 32, 32, 0, 0, 1, 1, 0x9080FF40),
                                   MakeQuad(40, 10, 50, 40, 0.1f, 0.2f, 0.9f, 0.7f, 0x9080FF40)};
        EXPECT_EQ(2, Compare(quads, "alpha target, kind " + std::to_string(kind)));
    }
}

// Keyed textures: the fast path leaves out the same pixels as the rules do, whatever the
// blend, scale, mirroring or address mode.
TEST_F(FastDrawingTest, ColourKeyedTexturesMatch)
{
    Random random(5);
    IDirectDrawSurface7* sprite = MakeTextureOf(16, 16, true, random);
    IDirectDrawSurface7* solid = MakeTextureOf(13, 7, false, random);
    for (IDirectDrawSurface7* texture : {sprite, solid}) {
        // Every fourth texel gets the key's colour, with its own alpha.
        DDSURFACEDESC2 desc = EmptyDesc();
        ASSERT_EQ(DD_OK, texture->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            for (DWORD x = 0; x < desc.dwWidth; ++x)
                if ((x + 3 * y) % 4 == 0) {
                    auto& texel = reinterpret_cast<std::uint32_t*>(
                        static_cast<std::uint8_t*>(desc.lpSurface) + y * desc.lPitch)[x];
                    texel = (texel & 0xFF000000u) | 0x123456u;
                }
        ASSERT_EQ(DD_OK, texture->Unlock(nullptr));
        DDCOLORKEY key{0x00123456u, 0x00123456u};
        ASSERT_EQ(DD_OK, texture->SetColorKey(DDCKEY_SRCBLT, &key));
    }
    m_Device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
    m_Device->SetTextureStageState(0, D3DTSS_BORDERCOLOR, 0x80123456);
    for (IDirectDrawSurface7* texture : {sprite, solid}) {
        ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, texture));
        for (int kind : {0, 1, 2, 3}) {
            UseShader(kind);
            for (DWORD mode : {D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR, D3DTADDRESS_BORDER}) {
                m_Device->SetTextureStageState(0, D3DTSS_ADDRESSU, mode);
                m_Device->SetTextureStageState(0, D3DTSS_ADDRESSV, mode);
                const D3DCOLOR c = 0xB4FFFFFF;
                std::vector<Quad> quads = {
                    MakeQuad(3, 4, 16, 16, 0, 0, 1, 1, c),
                    MakeQuad(30, 4, 50, 29, 0, 0, 1, 1, c),
                    MakeQuad(90, 4, 40, 40, 1, 1, 0, 0, c),
                    MakeQuad(3, 50, 70, 50, -1.3f, -0.6f, 2.2f, 1.9f, c),
                };
                std::ostringstream what;
                what << "keyed, kind " << kind << " mode " << mode;
                EXPECT_EQ(4, Compare(quads, what.str())) << what.str();
            }
        }
    }
}

// Random quads in random states, each compared on its own: whatever the fast path takes
// it must draw as the rules do, and it must take the common cases.
TEST_F(FastDrawingTest, RandomQuadsInRandomStatesMatch)
{
    Random random(4);
    MakeRandomTextures(random);
    long taken = 0;
    const int kCases = 400;
    for (int n = 0; n < kCases; ++n) {
        const bool common = random.Chance(50); // the renderer's own states
        RandomState(random, common);
        // Corners on, near or off the pixel grid; sizes from a sliver to past the screen.
        auto coordinate = [&](int lo, int hi) {
            return float(random.Int(lo, hi)) +
                   random.Pick<float>({0.0f, -0.1f, 0.5f, 0.999f, random.Real(0, 1)});
        };
        const float x = coordinate(-30, 170), y = coordinate(-30, 130);
        const float w = random.Chance(70) ? float(random.Int(1, 70)) : coordinate(0, 200);
        const float h = random.Chance(70) ? float(random.Int(1, 50)) : coordinate(0, 150);
        float uL = random.Real(-1, 1), uR = random.Real(-1, 2);
        float tT = random.Real(-1, 1), tB = random.Real(-1, 2);
        if (random.Chance(50)) { // texels 1:1, as the renderer draws
            uL = float(random.Int(0, 63)) / 64;
            tT = float(random.Int(0, 63)) / 64;
            uR = uL + w / 64;
            tB = tT + h / 64;
        }
        const D3DCOLOR colour = common ? 0xFFFFFFFF : random.Next();
        Quad quad = MakeQuad(x, y, w, h, uL, tT, uR, tB, colour);
        // Any corner first, as long as v1 and v2 share the diagonal.
        if (random.Chance(30))
            std::swap(quad.v[1], quad.v[2]);
        if (random.Chance(30))
            std::swap(quad.v[0], quad.v[3]);
        if (!common && random.Chance(10))
            quad.v[random.Int(0, 3)].color = random.Next(); // shaded: general path only
        if (!common && random.Chance(10))
            quad.v[random.Int(0, 3)].rhw = random.Real(0.5f, 2); // perspective: likewise

        taken += Compare({quad}, "quad case " + std::to_string(n));
        if (HasFailure())
            break;
    }
    EXPECT_GT(taken, kCases / 2);
}

// Triangles the quad path does not take (rotated sprites, lists, fans and strips of any
// shape, shaded colours, perspective, two stages) drawn by the general rasteriser's row
// loops and by the rules.
TEST_F(FastDrawingTest, FreeTrianglesInRandomStatesMatch)
{
    Random random(5);
    MakeRandomTextures(random);
    for (int n = 0; n < 200; ++n) {
        const bool common = random.Chance(40);
        RandomState(random, common);
        const bool twoStages = !common && random.Chance(20);
        m_Device->SetTexture(1, twoStages ? m_Textures[random.Int(0, 2)] : nullptr);
        m_Device->SetTextureStageState(1, D3DTSS_COLOROP,
                                       twoStages ? D3DTOP_MODULATE : D3DTOP_DISABLE);
        m_Device->SetTextureStageState(1, D3DTSS_ALPHAOP, random.Int(D3DTOP_DISABLE, 4));

        std::vector<D3DTLVERTEX> v;
        D3DPRIMITIVETYPE type = D3DPT_TRIANGLEFAN;
        const D3DCOLOR shared = common ? 0xFFFFFFFF : random.Next();
        if (random.Chance(50)) {
            // A sprite turned about its centre, as the renderer's rotated images.
            const float cx = random.Real(-10, 170), cy = random.Real(-10, 130);
            const float hw = random.Real(1, 40), hh = random.Real(1, 40);
            const float angle = random.Real(0, 6.3f), c = std::cos(angle), s = std::sin(angle);
            const float corners[4][4] = {
                {-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1}, {-1, 1, 0, 1}};
            for (const auto& k : corners)
                v.push_back({cx + k[0] * hw * c - k[1] * hh * s, cy + k[0] * hw * s + k[1] * hh * c,
                             0, 1, shared, 0, k[2], k[3]});
        } else {
            type = random.Pick<D3DPRIMITIVETYPE>(
                {D3DPT_TRIANGLELIST, D3DPT_TRIANGLESTRIP, D3DPT_TRIANGLEFAN});
            const int count = random.Int(3, 8);
            for (int i = 0; i < count; ++i) {
                const bool onGrid = random.Chance(30);
                const float x = onGrid ? float(random.Int(-20, 180)) : random.Real(-20, 180);
                const float y = onGrid ? float(random.Int(-20, 140)) : random.Real(-20, 140);
                v.push_back({x, y, 0, 1, shared, 0, random.Real(-1, 2), random.Real(-1, 2)});
            }
        }
        if (!common && random.Chance(30))
            for (D3DTLVERTEX& vertex : v)
                vertex.color = random.Next();
        if (!common && random.Chance(20))
            for (D3DTLVERTEX& vertex : v)
                vertex.rhw = random.Real(0.2f, 3);

        Compare(
            [&] {
                EXPECT_EQ(D3D_OK, m_Device->DrawPrimitive(type, D3DFVF_TLVERTEX, v.data(),
                                                          DWORD(v.size()), 0));
            },
            "triangle case " + std::to_string(n));
        if (HasFailure())
            break;
    }
}
