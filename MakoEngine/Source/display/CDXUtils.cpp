#include "display/CDXUtils.h"

#include <cpuid.h>
#include <cstdio>

namespace {

// Shifts mask down to its lowest set bit (at most 32 steps); the count of steps.
std::uint8_t ShiftDown(DWORD& mask)
{
    std::uint8_t shift = 0;
    while (mask && !(mask & 1) && shift < 32) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::uint32_t ReadLE32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// The colour table of an 8-bit BMP file into entries (red and blue swapped into place).
HRESULT ReadPaletteFile(const char* name, PALETTEENTRY* entries)
{
    std::FILE* file = std::fopen(name, "rb");
    if (!file)
        return E_FAIL;
    unsigned char header[14 + 40];
    unsigned char table[1024];
    bool complete = std::fread(header, 1, sizeof header, file) == sizeof header &&
                    std::fread(table, 1, sizeof table, file) == sizeof table;
    std::fclose(file);
    if (!complete)
        return E_FAIL;
    const unsigned char* info = header + 14;
    std::uint32_t size = ReadLE32(info);
    unsigned bitCount = unsigned(info[14]) | unsigned(info[15]) << 8;
    std::uint32_t used = ReadLE32(info + 32);
    if (size != 40 || bitCount > 8)
        return S_OK;
    std::uint32_t count = used ? used : (1u << bitCount);
    for (std::uint32_t i = 0; i < count && i < 256; ++i) {
        entries[i].peRed = table[i * 4 + 2];
        entries[i].peGreen = table[i * 4 + 1];
        entries[i].peBlue = table[i * 4 + 0];
        entries[i].peFlags = 0;
    }
    return S_OK;
}

} // namespace

bool GetRGBFormat(IDirectDrawSurface7* surface, RGBFORMAT& format)
{
    format = RGBFORMAT();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_PIXELFORMAT;
    if (!surface || FAILED(surface->GetSurfaceDesc(&desc)))
        return false;
    const DDPIXELFORMAT& pf = desc.ddpfPixelFormat;
    if (pf.dwRGBBitCount <= 8) {
        format.depth = static_cast<std::int32_t>(pf.dwRGBBitCount);
        return true;
    }
    DWORD red = pf.dwRBitMask, green = pf.dwGBitMask, blue = pf.dwBBitMask;
    format.redShift = ShiftDown(red);
    format.greenShift = ShiftDown(green);
    format.blueShift = ShiftDown(blue);
    format.red = static_cast<std::uint8_t>(red);
    format.green = static_cast<std::uint8_t>(green);
    format.blue = static_cast<std::uint8_t>(blue);
    if (!(pf.dwFlags & DDPF_RGB)) {
        format.depth = 0;
        return false;
    }
    switch (pf.dwRGBBitCount) {
    case 16:
        format.depth = (red + green + blue == 93) ? 15 : 16;
        break;
    case 24:
        format.depth = 24;
        break;
    case 32:
        format.depth = 32;
        break;
    default:
        format.depth = 0;
        break;
    }
    return true;
}

HRESULT LoadPalette(IDirectDraw7* directDraw, IDirectDrawPalette** palette, const char* name)
{
    if (!directDraw || !palette || !name)
        return E_INVALIDARG;
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i].peRed = static_cast<BYTE>((i >> 5) * 255 / 7);
        entries[i].peGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
        entries[i].peBlue = static_cast<BYTE>((i & 3) * 255 / 3);
        entries[i].peFlags = 0;
    }
    HRESULT result = ReadPaletteFile(name, entries);
    if (FAILED(result))
        return result;
    return directDraw->CreatePalette(DDPCAPS_8BIT, entries, palette, nullptr);
}

bool IsMMXAvailable()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    return (edx & (1u << 23)) != 0;
}
