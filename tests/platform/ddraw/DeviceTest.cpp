// The software Direct3D device: textured and flat quads drawn the way the game's hardware
// renderer draws them, compared pixel by pixel with SDL's blits and the software blends.
#include "DDrawFixture.h"

#include <cstdlib>

using ddrawtest::CapsDesc;
using ddrawtest::DDrawTest;
using ddrawtest::EmptyDesc;

namespace {

std::uint32_t NextRandom(std::uint32_t& seed)
{
    seed = seed * 214013u + 2531011u;
    return (seed >> 8) ^ (seed << 13);
}

int Channel(std::uint32_t pixel, int shift)
{
    return int((pixel >> shift) & 0xFF);
}

// The largest difference between two pixels over red, green and blue.
int ColourDistance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}

// A factor in 0-255 as the device scales it: x / 256, 255 exactly 1.
int Scale(int x)
{
    return x == 255 ? 256 : x;
}

// Blend set-ups of the game's hardware renderer, by shader kind.
enum class Shader { Copy, PixelAlpha, ConstantAlpha, CombinedAlpha, Flat };

} // namespace

class DeviceTest : public DDrawTest
{
protected:
    void SetUp() override
    {
        DDrawTest::SetUp();
        MakeFullScreen(320, 240);
        MakeDevice();
    }

    void Use(Shader shader)
    {
        IDirect3DDevice7* d = m_Device;
        d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, shader != Shader::Copy);
        d->SetTextureStageState(0, D3DTSS_COLORARG1,
                                shader == Shader::Flat ? D3DTA_DIFFUSE : D3DTA_TEXTURE);
        DWORD alphaArg = shader == Shader::ConstantAlpha || shader == Shader::Flat ? D3DTA_DIFFUSE
                                                                                   : D3DTA_TEXTURE;
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, alphaArg);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP,
                                shader == Shader::CombinedAlpha ? D3DTOP_MODULATE
                                                                : D3DTOP_SELECTARG1);
    }

    // One quad as the game's renderer makes it: destination (x, y, w, h) on the screen,
    // source (sx, sy, sw, sh) in a texture of texW × texH texels.
    HRESULT DrawQuad(IDirectDrawSurface7* texture, float x, float y, float w, float h, float sx,
                     float sy, float sw, float sh, float texW, float texH,
                     D3DCOLOR colour = 0xFFFFFFFF)
    {
        const float x0 = x - 0.1f, y0 = y - 0.1f, x1 = x0 + w, y1 = y0 + h;
        const float uL = sx / texW, tT = sy / texH, uR = (sx + sw) / texW, tB = (sy + sh) / texH;
        D3DTLVERTEX v[4] = {{x0, y0, 0, 1, colour, 0, uL, tT},
                            {x0, y1, 0, 1, colour, 0, uL, tB},
                            {x1, y0, 0, 1, colour, 0, uR, tT},
                            {x1, y1, 0, 1, colour, 0, uR, tB}};
        EXPECT_EQ(D3D_OK, m_Device->SetTexture(0, texture));
        return m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
    }

    HRESULT DrawRect(float x, float y, float w, float h, D3DCOLOR colour)
    {
        return DrawQuad(nullptr, x, y, w, h, 0, 0, 0, 0, 1, 1, colour);
    }

    std::vector<std::uint32_t> ReadBack(int x, int y, int w, int h)
    {
        std::vector<std::uint32_t> out;
        DDSURFACEDESC2 desc = EmptyDesc();
        RECT r{x, y, x + w, y + h};
        EXPECT_EQ(DD_OK, m_Back->Lock(&r, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr));
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                out.push_back(reinterpret_cast<const std::uint32_t*>(
                    static_cast<const std::uint8_t*>(desc.lpSurface) + j * desc.lPitch)[i]);
        m_Back->Unlock(&r);
        return out;
    }

    // Puts the same random background into the back buffer and an SDL surface laid out
    // like SDL's 32-bit display.
    SDL_Surface* Background(int w, int h, std::uint32_t seed)
    {
        SDL_Surface* ref = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
        DDSURFACEDESC2 desc = EmptyDesc();
        EXPECT_EQ(DD_OK, m_Back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = NextRandom(seed) & 0xFFFFFF;
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 y * desc.lPitch)[x] = p;
                static_cast<std::uint32_t*>(ref->pixels)[y * ref->pitch / 4 + x] = p;
            }
        m_Back->Unlock(nullptr);
        return ref;
    }

    static std::vector<std::uint32_t> RandomTexels(int count, std::uint32_t seed)
    {
        std::vector<std::uint32_t> texels(count);
        for (std::uint32_t& t : texels)
            t = NextRandom(seed);
        // Make sure both ends of the alpha range are there.
        texels[0] |= 0xFF000000u;
        texels[1] &= 0x00FFFFFFu;
        return texels;
    }

    static SDL_Surface* SurfaceOf(const std::vector<std::uint32_t>& texels, int w, int h,
                                  Uint32 amask)
    {
        SDL_Surface* s =
            SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, amask);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                static_cast<std::uint32_t*>(s->pixels)[y * s->pitch / 4 + x] = texels[y * w + x];
        return s;
    }

    // The worst colour difference between the back buffer and the SDL reference.
    int WorstDifference(SDL_Surface* ref, int w, int h)
    {
        std::vector<std::uint32_t> got = ReadBack(0, 0, w, h);
        int worst = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                worst = std::max(worst, ColourDistance(got[y * w + x],
                                                       static_cast<std::uint32_t*>(
                                                           ref->pixels)[y * ref->pitch / 4 + x]));
        return worst;
    }
};

TEST_F(DeviceTest, QuadAtIntegerCoordinatesCopiesTexelsExactly)
{
    std::vector<std::uint32_t> texels = RandomTexels(64 * 64, 7);
    IDirectDrawSurface7* texture = MakeTexture(64, 64, texels);
    ASSERT_EQ(D3D_OK, m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0));
    Use(Shader::Copy);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    // An edge tile's part (36 × 6 texels from 28, 58) at (100, 50), and one hanging over the
    // top-left corner of the screen.
    ASSERT_EQ(D3D_OK, DrawQuad(texture, 100, 50, 36, 6, 28, 58, 36, 6, 64, 64));
    ASSERT_EQ(D3D_OK, DrawQuad(texture, -10, -5, 64, 64, 0, 0, 64, 64, 64, 64));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());

    std::vector<std::uint32_t> got = ReadBack(99, 49, 38, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 38; ++x) {
            const bool inside = x >= 1 && x <= 36 && y >= 1 && y <= 6;
            const std::uint32_t want =
                inside ? texels[(58 + y - 1) * 64 + 28 + x - 1] & 0xFFFFFF : 0x102030;
            ASSERT_EQ(want, got[y * 38 + x]) << "at " << x + 99 << "," << y + 49;
        }
    EXPECT_EQ(texels[5 * 64 + 10] & 0xFFFFFF, ReadPixel(m_Back, 0, 0));
    EXPECT_EQ(texels[63 * 64 + 63] & 0xFFFFFF, ReadPixel(m_Back, 53, 58));
    EXPECT_EQ(0x102030u, ReadPixel(m_Back, 54, 58));
}

TEST_F(DeviceTest, PixelAlphaBlendMatchesSDL)
{
    const int w = 64, h = 48;
    std::vector<std::uint32_t> texels = RandomTexels(w * h, 11);
    IDirectDrawSurface7* texture = MakeTexture(w, h, texels);
    SDL_Surface* ref = Background(w, h, 3);
    SDL_Surface* src = SurfaceOf(texels, w, h, 0xFF000000u);
    ASSERT_EQ(0, SDL_BlitSurface(src, nullptr, ref, nullptr)); // per-pixel alpha
    Use(Shader::PixelAlpha);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    ASSERT_EQ(D3D_OK, DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
    EXPECT_EQ(0, WorstDifference(ref, w, h));
    // Opaque texels replace, transparent ones leave the background.
    EXPECT_EQ(texels[0] & 0xFFFFFF, ReadPixel(m_Back, 0, 0));
    EXPECT_EQ(static_cast<std::uint32_t*>(ref->pixels)[1], ReadPixel(m_Back, 1, 0));
    SDL_FreeSurface(src);
    SDL_FreeSurface(ref);
}

TEST_F(DeviceTest, ConstantAlphaBlendMatchesSDL)
{
    const int w = 32, h = 32;
    std::vector<std::uint32_t> texels = RandomTexels(w * h, 5);
    IDirectDrawSurface7* texture = MakeTexture(w, h, texels);
    Use(Shader::ConstantAlpha);
    for (int alpha : {1, 64, 127, 128, 200, 254, 255}) {
        SDL_Surface* ref = Background(w, h, std::uint32_t(alpha));
        SDL_Surface* src = SurfaceOf(texels, w, h, 0); // the texels' own alpha ignored
        SDL_SetAlpha(src, SDL_SRCALPHA, Uint8(alpha));
        ASSERT_EQ(0, SDL_BlitSurface(src, nullptr, ref, nullptr));
        ASSERT_EQ(D3D_OK, m_Device->BeginScene());
        ASSERT_EQ(D3D_OK,
                  DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h, (DWORD(alpha) << 24) | 0xFFFFFF));
        ASSERT_EQ(D3D_OK, m_Device->EndScene());
        EXPECT_EQ(0, WorstDifference(ref, w, h)) << "alpha " << alpha;
        SDL_FreeSurface(src);
        SDL_FreeSurface(ref);
    }
}

TEST_F(DeviceTest, FlatRectanglesMatchTheSoftwareFill)
{
    Use(Shader::Flat);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    // Opaque fills keep their colour (the diffuse colour is not modulated with itself).
    ASSERT_EQ(D3D_OK, DrawRect(0, 0, 10, 10, 0xFFC86432));
    EXPECT_EQ(0x00C86432u, ReadPixel(m_Back, 5, 5));
    for (int alpha : {1, 50, 127, 128, 129, 200, 254}) {
        for (std::uint32_t colour : {0x000000u, 0xFFFFFFu, 0x3C80F0u}) {
            RECT box{20, 20, 30, 30};
            Fill(m_Back, 0x00FFFFFF, &box);
            ASSERT_EQ(D3D_OK, DrawRect(20, 20, 10, 10, (DWORD(alpha) << 24) | colour));
            const std::uint32_t got = ReadPixel(m_Back, 25, 25);
            for (int shift : {0, 8, 16}) {
                const int want = 255 + (((Channel(colour, shift) - 255) * alpha) >> 8);
                EXPECT_EQ(want, Channel(got, shift)) << "alpha " << alpha << " colour " << colour;
            }
        }
    }
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
}

TEST_F(DeviceTest, CombinedAlphaMatchesTheSoftwareBlend)
{
    const int w = 32, h = 16;
    std::vector<std::uint32_t> texels = RandomTexels(w * h, 23);
    IDirectDrawSurface7* texture = MakeTexture(w, h, texels);
    Use(Shader::CombinedAlpha);
    for (int alpha : {1, 90, 127, 128, 180, 255}) {
        SDL_Surface* ref = Background(w, h, 9);
        // The SDL renderer's combined blend: f = (a_src * alpha) >> 8, then
        // dst += ((src - dst) * f) >> 8 per colour, 255 counting as 1 in both.
        for (int i = 0; i < w * h; ++i) {
            std::uint32_t& d =
                static_cast<std::uint32_t*>(ref->pixels)[(i / w) * ref->pitch / 4 + i % w];
            const int f = (Channel(texels[i], 24) * Scale(alpha)) >> 8;
            std::uint32_t out = d & 0xFF000000u;
            for (int shift : {0, 8, 16}) {
                const int dc = Channel(d, shift);
                out |= std::uint32_t(dc + (((Channel(texels[i], shift) - dc) * Scale(f)) >> 8))
                       << shift;
            }
            d = out;
        }
        ASSERT_EQ(D3D_OK, m_Device->BeginScene());
        ASSERT_EQ(D3D_OK,
                  DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h, (DWORD(alpha) << 24) | 0xFFFFFF));
        ASSERT_EQ(D3D_OK, m_Device->EndScene());
        EXPECT_EQ(0, WorstDifference(ref, w, h)) << "alpha " << alpha;
        SDL_FreeSurface(ref);
    }
}

// With colour keying on, texels with the key's colour (whatever their alpha) are not
// drawn under any blend set-up, and only point-sampled keyed textures can be drawn.
TEST_F(DeviceTest, ColourKeyedTexelsAreNotDrawn)
{
    const int w = 16, h = 16;
    const std::uint32_t key = 0x00FF00FFu;
    std::vector<std::uint32_t> texels = RandomTexels(w * h, 31);
    for (int i = 0; i < w * h; i += 3)
        texels[i] = (texels[i] & 0xFF000000u) | key;
    IDirectDrawSurface7* texture = MakeTexture(w, h, texels);
    DDCOLORKEY colorKey{0xFF000000u | key, 0xFF000000u | key};
    ASSERT_EQ(DD_OK, texture->SetColorKey(DDCKEY_SRCBLT, &colorKey));
    ASSERT_EQ(D3D_OK, m_Device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE));
    for (Shader shader :
         {Shader::Copy, Shader::PixelAlpha, Shader::ConstantAlpha, Shader::CombinedAlpha}) {
        SDL_Surface* ref = Background(w * 2, h, 17);
        Use(shader);
        ASSERT_EQ(D3D_OK, m_Device->BeginScene());
        ASSERT_EQ(D3D_OK, DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h, 0xC8FFFFFF));
        // Stretched twice as wide: the general rules, not only the unscaled copy.
        ASSERT_EQ(D3D_OK, DrawQuad(texture, w, 0, w, h, 0, 0, w / 2, h, w, h, 0xC8FFFFFF));
        ASSERT_EQ(D3D_OK, m_Device->EndScene());
        std::vector<std::uint32_t> got = ReadBack(0, 0, w * 2, h);
        int keyedDrawn = 0, othersKept = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w * 2; ++x) {
                const int texel = y * w + (x < w ? x : (x - w) / 2);
                const std::uint32_t before =
                    static_cast<std::uint32_t*>(ref->pixels)[y * ref->pitch / 4 + x];
                const bool keyed = (texels[texel] & 0xFFFFFFu) == key;
                keyedDrawn += keyed && got[y * w * 2 + x] != before;
                othersKept += !keyed && (texels[texel] >> 24) == 255 &&
                              shader != Shader::CombinedAlpha && shader != Shader::ConstantAlpha &&
                              got[y * w * 2 + x] == before && before != (texels[texel] & 0xFFFFFFu);
            }
        EXPECT_EQ(0, keyedDrawn) << int(shader);
        EXPECT_EQ(0, othersKept) << int(shader);
        SDL_FreeSurface(ref);
    }
    m_Device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    EXPECT_EQ(DDERR_UNSUPPORTED, DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h));
    // Without its key, or with keying off, the same texture draws with the filter.
    ASSERT_EQ(DD_OK, texture->SetColorKey(DDCKEY_SRCBLT, nullptr));
    EXPECT_EQ(D3D_OK, DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h));
    ASSERT_EQ(DD_OK, texture->SetColorKey(DDCKEY_SRCBLT, &colorKey));
    m_Device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, FALSE);
    EXPECT_EQ(D3D_OK, DrawQuad(texture, 0, 0, w, h, 0, 0, w, h, w, h));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
}

TEST_F(DeviceTest, SharedEdgesAreDrawnOnceAndViewportClips)
{
    Use(Shader::Flat);
    ASSERT_EQ(D3D_OK, m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    // Two half-transparent quads side by side, and a scaled one: a pixel blended twice
    // (on the diagonal or the shared edge) would come out brighter.
    ASSERT_EQ(D3D_OK, DrawRect(0, 0, 64, 64, 0x80FFFFFF));
    ASSERT_EQ(D3D_OK, DrawRect(64, 0, 37, 64, 0x80FFFFFF));
    std::vector<std::uint32_t> got = ReadBack(0, 0, 102, 65);
    for (int y = 0; y < 65; ++y)
        for (int x = 0; x < 102; ++x) {
            const std::uint32_t want = (x < 101 && y < 64) ? 0x7F7F7Fu : 0u;
            ASSERT_EQ(want, got[y * 102 + x]) << "at " << x << "," << y;
        }

    // Corners on pixel centres: centres on the left and top edges and on the diagonal are
    // drawn once, those on the right and bottom edges not at all.
    const float x0 = 150, y0 = 100, x1 = 158, y1 = 108;
    D3DTLVERTEX v[4] = {{x0, y0, 0, 1, 0x80FFFFFF, 0, 0, 0},
                        {x0, y1, 0, 1, 0x80FFFFFF, 0, 0, 0},
                        {x1, y0, 0, 1, 0x80FFFFFF, 0, 0, 0},
                        {x1, y1, 0, 1, 0x80FFFFFF, 0, 0, 0}};
    ASSERT_EQ(D3D_OK, m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0));
    got = ReadBack(149, 99, 10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 1 && x <= 8 && y >= 1 && y <= 8;
            ASSERT_EQ(inside ? 0x7F7F7Fu : 0u, got[y * 10 + x]) << "at " << x << "," << y;
        }

    D3DVIEWPORT7 viewport{10, 20, 30, 40, 0.0f, 1.0f};
    ASSERT_EQ(D3D_OK, m_Device->SetViewport(&viewport));
    ASSERT_EQ(D3D_OK, m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0));
    ASSERT_EQ(D3D_OK, DrawRect(-100, -100, 1000, 1000, 0xFF00FF00));
    EXPECT_EQ(0x0000FF00u, ReadPixel(m_Back, 10, 20));
    EXPECT_EQ(0x0000FF00u, ReadPixel(m_Back, 39, 59));
    EXPECT_EQ(0x007F7F7Fu, ReadPixel(m_Back, 9, 20));
    EXPECT_EQ(0x007F7F7Fu, ReadPixel(m_Back, 40, 59));
    D3DVIEWPORT7 tooBig{300, 0, 30, 10, 0.0f, 1.0f};
    EXPECT_EQ(DDERR_INVALIDPARAMS, m_Device->SetViewport(&tooBig));

    // The default culling (counter-clockwise) drops the renderer's strips.
    m_Device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    ASSERT_EQ(D3D_OK, DrawRect(10, 20, 5, 5, 0xFFFF0000));
    EXPECT_EQ(0x0000FF00u, ReadPixel(m_Back, 12, 22));
    m_Device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
    ASSERT_EQ(D3D_OK, DrawRect(10, 20, 5, 5, 0xFFFF0000));
    EXPECT_EQ(0x00FF0000u, ReadPixel(m_Back, 12, 22));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
}

TEST_F(DeviceTest, LinearFilteringBlendsNeighbouringTexels)
{
    IDirectDrawSurface7* texture = MakeTexture(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    Use(Shader::Copy);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    ASSERT_EQ(D3D_OK, DrawQuad(texture, 0, 0, 8, 1, 0, 0, 2, 1, 2, 1));
    std::vector<std::uint32_t> point = ReadBack(0, 0, 8, 1);
    m_Device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    ASSERT_EQ(D3D_OK, DrawQuad(texture, 0, 0, 8, 1, 0, 0, 2, 1, 2, 1));
    std::vector<std::uint32_t> linear = ReadBack(0, 0, 8, 1);
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
    EXPECT_EQ(0u, point[3]);
    EXPECT_EQ(0xFFFFFFu, point[4]);
    EXPECT_EQ(0u, linear[0]);
    EXPECT_EQ(0xFFFFFFu, linear[7]);
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(Channel(linear[x], 0), Channel(linear[x - 1], 0));
    EXPECT_GT(Channel(linear[3], 0), 0);
    EXPECT_LT(Channel(linear[3], 0), 255);
}

TEST_F(DeviceTest, ScenesLostSurfacesAndUnsupportedStatesFailCleanly)
{
    IDirectDrawSurface7* texture = MakeTexture(4, 4, std::vector<std::uint32_t>(16, 0xFF00FF00u));
    Use(Shader::PixelAlpha);
    EXPECT_EQ(D3DERR_SCENE_NOT_IN_SCENE, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    EXPECT_EQ(D3DERR_SCENE_NOT_IN_SCENE, m_Device->EndScene());
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    EXPECT_EQ(D3DERR_SCENE_IN_SCENE, m_Device->BeginScene());
    D3DTLVERTEX line[2] = {};
    EXPECT_EQ(DDERR_UNSUPPORTED,
              m_Device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_TLVERTEX, line, 2, 0));
    EXPECT_EQ(DDERR_INVALIDPARAMS,
              m_Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_XYZ, line, 2, 0));
    m_Device->SetRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
    EXPECT_EQ(DDERR_UNSUPPORTED, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    m_Device->SetRenderState(D3DRENDERSTATE_FOGENABLE, FALSE);
    EXPECT_EQ(DDERR_INVALIDPARAMS, m_Device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0));

    // Another program takes the display: textures and the back buffer are lost.
    ddrawx::LoseSurfaces();
    EXPECT_EQ(DDERR_SURFACELOST, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
    EXPECT_EQ(DDERR_SURFACELOST, m_Device->BeginScene());
    ASSERT_EQ(DD_OK, m_DD->TestCooperativeLevel());
    ASSERT_EQ(DD_OK, m_Front->Restore());
    ddrawx::FailNext("BeginScene", DDERR_SURFACELOST, 2);
    EXPECT_EQ(DDERR_SURFACELOST, m_Device->BeginScene());
    EXPECT_EQ(DDERR_SURFACELOST, m_Device->BeginScene());
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    EXPECT_EQ(DDERR_SURFACELOST, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    ASSERT_EQ(DD_OK, texture->Restore());
    EXPECT_EQ(D3D_OK, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
    EXPECT_EQ(0x0000FF00u, ReadPixel(m_Back, 3, 3));
}

TEST_F(DeviceTest, TexturesAndDevicesAreMadeOnlyWhereTheyCanWork)
{
    DWORD w = 64, h = 64;
    D3DX_SURFACEFORMAT format = D3DX_SF_R8G8B8;
    IDirectDrawSurface7* texture = nullptr;
    DWORD levels = 5;
    ASSERT_EQ(DD_OK,
              D3DXCreateTexture(m_Device, nullptr, &w, &h, &format, nullptr, &texture, &levels));
    Keep(texture);
    EXPECT_EQ(D3DX_SF_A8R8G8B8, format);
    EXPECT_EQ(64u, w);
    EXPECT_EQ(1u, levels);
    D3DXUninitialize();
    IDirectDrawSurface7* none = nullptr;
    EXPECT_EQ(DDERR_NOTINITIALIZED,
              D3DXCreateTexture(m_Device, nullptr, &w, &h, &format, nullptr, &none, nullptr));
    D3DXInitialize();
    ddrawx::FailNext("D3DXCreateTexture", DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(DDERR_OUTOFVIDEOMEMORY,
              D3DXCreateTexture(m_Device, nullptr, &w, &h, &format, nullptr, &none, nullptr));
    EXPECT_EQ(nullptr, none);

    IDirect3D7* d3d = nullptr;
    ASSERT_EQ(DD_OK, m_DD->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&d3d)));
    Keep(d3d);
    IDirect3DDevice7* device = nullptr;
    ddrawx::FailNext("CreateDevice", D3DERR_INITFAILED);
    EXPECT_EQ(D3DERR_INITFAILED, d3d->CreateDevice(IID_IDirect3DHALDevice, m_Back, &device));
    EXPECT_EQ(D3DERR_INVALID_DEVICE, d3d->CreateDevice(IID_IDirectDraw7, m_Back, &device));
    DDSURFACEDESC2 desc = CapsDesc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    desc.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = desc.dwHeight = 8;
    desc.ddpfPixelFormat =
        DDPIXELFORMAT{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
    IDirectDrawSurface7* shallow = nullptr;
    ASSERT_EQ(DD_OK, m_DD->CreateSurface(&desc, &shallow, nullptr));
    Keep(shallow);
    EXPECT_EQ(DDERR_INVALIDPIXELFORMAT,
              d3d->CreateDevice(IID_IDirect3DMMXDevice, shallow, &device));
    EXPECT_EQ(DDERR_INVALIDCAPS, d3d->CreateDevice(IID_IDirect3DRGBDevice, m_Front, &device));
    EXPECT_EQ(nullptr, device);
    D3DDEVICEDESC7 caps{};
    ASSERT_EQ(D3D_OK, m_Device->GetCaps(&caps));
    EXPECT_TRUE(IsEqualGUID(caps.deviceGUID, IID_IDirect3DHALDevice));
}

TEST_F(DeviceTest, ShutdownInTheRenderersOrderLeavesNoReferences)
{
    IDirectDrawSurface7* texture = MakeTexture(4, 4, std::vector<std::uint32_t>(16, 0xFFFFFFFFu));
    Use(Shader::PixelAlpha);
    ASSERT_EQ(D3D_OK, m_Device->BeginScene());
    ASSERT_EQ(D3D_OK, DrawQuad(texture, 0, 0, 4, 4, 0, 0, 4, 4, 4, 4));
    ASSERT_EQ(D3D_OK, m_Device->SetTexture(0, nullptr));
    ASSERT_EQ(D3D_OK, m_Device->EndScene());
    // Textures, then the device, then the screen's surfaces and DirectDraw, then Direct3D;
    // the device and the Direct3D object report no references left. The back buffer is
    // left to its chain, as the screen wrapper does in full screen.
    IUnknown* d3d = m_Owned[2];
    IUnknown* back = m_Back;
    EXPECT_EQ(0u, texture->Release());
    EXPECT_EQ(0u, m_Device->Release());
    EXPECT_EQ(0u, m_Front->Release());
    m_DD->Release();
    m_DD = nullptr;
    EXPECT_EQ(0u, d3d->Release());
    m_Owned.clear();
    EXPECT_EQ(1, ddrawx::LiveObjectCount()); // the back buffer, still held
    EXPECT_EQ(0u, back->Release());
}
