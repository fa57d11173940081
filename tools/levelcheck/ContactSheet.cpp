#include "ContactSheet.h"

#include "core/FileWriter.h"
#include "display/Canvas.h"
#include "display/Font.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"

#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <memory>

namespace levelcheck {

namespace {

const int kGap = 8;
const int kCaptionHeight = 38;
const std::uint32_t kSheetColour = 0x202020;
const std::uint32_t kFailedColour = 0x601010;

std::uint32_t PixelRGB(SDL_Surface* surface, int x, int y)
{
    const std::uint8_t* row =
        static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
    std::uint32_t value = 0;
    switch (surface->format->BytesPerPixel) {
    case 4:
        value = reinterpret_cast<const std::uint32_t*>(row)[x];
        break;
    case 2:
        value = reinterpret_cast<const std::uint16_t*>(row)[x];
        break;
    default:
        value = row[x * surface->format->BytesPerPixel];
        break;
    }
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

// An RGB picture under construction.
struct Sheet
{
    int width, height;
    std::vector<std::uint32_t> pixels;

    void Fill(int x0, int y0, int w, int h, std::uint32_t colour)
    {
        for (int y = std::max(0, y0); y < std::min(height, y0 + h); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x0 + w); ++x)
                pixels[y * width + x] = colour;
    }

    // Blends a rendered text (any format with alpha) at (x0, y0), clipped to maxWidth.
    void Blend(SDL_Surface* text, int x0, int y0, int maxWidth)
    {
        if (!text)
            return;
        SDL_LockSurface(text);
        for (int y = 0; y < text->h; ++y)
            for (int x = 0; x < std::min(text->w, maxWidth); ++x) {
                const int sx = x0 + x, sy = y0 + y;
                if (sx < 0 || sy < 0 || sx >= width || sy >= height)
                    continue;
                const std::uint8_t* row =
                    static_cast<const std::uint8_t*>(text->pixels) + y * text->pitch;
                const std::uint32_t value = text->format->BytesPerPixel == 4
                                                ? reinterpret_cast<const std::uint32_t*>(row)[x]
                                                : row[x];
                Uint8 r, g, b, a;
                SDL_GetRGBA(value, text->format, &r, &g, &b, &a);
                std::uint32_t& dst = pixels[sy * width + sx];
                auto mix = [&](int shift, int src) {
                    const int d = (dst >> shift) & 0xff;
                    return std::uint32_t((src * a + d * (255 - a)) / 255) << shift;
                };
                dst = mix(16, r) | mix(8, g) | mix(0, b);
            }
        SDL_UnlockSurface(text);
    }
};

// libpng's writer into bytes kept in memory.
void AppendPngBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

// The sheet encoded as a PNG file's bytes; false when libpng refuses.
bool EncodePng(const Sheet& sheet, std::string& bytes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, &AppendPngBytes, &FlushNothing);
    png_set_IHDR(png, info, sheet.width, sheet.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(sheet.width * 3);
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) {
            const std::uint32_t p = sheet.pixels[y * sheet.width + x];
            row[x * 3] = png_byte(p >> 16);
            row[x * 3 + 1] = png_byte(p >> 8);
            row[x * 3 + 2] = png_byte(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The sheet is the check's own output: written whole through the one writer of the game's
// output, never through a link and never over a file the check did not make.
bool WritePng(const std::string& path, const Sheet& sheet, std::string& error)
{
    std::string bytes;
    if (!EncodePng(sheet, bytes)) {
        error = "cannot encode the PNG " + path;
        return false;
    }
    const FileWriter::Result written =
        FileWriter::WriteOutput(path, bytes, FileWriter::REPLACE_OWN);
    if (!written.Ok()) {
        error = "cannot write " + path + ": " + written.reason;
        return false;
    }
    return true;
}

} // namespace

void ContactSheet::AddFrame(const std::string& level, Canvas& frame)
{
    SDL_Surface* surface = frame.GetTargetImage()->GetSDLSurface();
    SDL_LockSurface(surface);
    std::vector<std::uint32_t> thumb(kThumbWidth * kThumbHeight);
    // Each thumbnail pixel is the mean of the frame's pixels it covers.
    for (int ty = 0; ty < kThumbHeight; ++ty) {
        const int y0 = ty * surface->h / kThumbHeight;
        const int y1 = std::max(y0 + 1, (ty + 1) * surface->h / kThumbHeight);
        for (int tx = 0; tx < kThumbWidth; ++tx) {
            const int x0 = tx * surface->w / kThumbWidth;
            const int x1 = std::max(x0 + 1, (tx + 1) * surface->w / kThumbWidth);
            std::uint32_t r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const std::uint32_t p = PixelRGB(surface, x, y);
                    r += p >> 16;
                    g += (p >> 8) & 0xff;
                    b += p & 0xff;
                    ++n;
                }
            thumb[ty * kThumbWidth + tx] = ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
    }
    SDL_UnlockSurface(surface);
    m_Thumbs[level] = std::move(thumb);
}

bool ContactSheet::Write(const std::string& path, const std::vector<std::string>& levels,
                         const std::map<std::string, std::string>& files,
                         const std::map<std::string, std::string>& titles, std::string& error) const
{
    const int count = std::max<int>(1, int(levels.size()));
    const int columns = std::min(kColumns, count);
    const int rows = (count + kColumns - 1) / kColumns;
    const int cellWidth = kThumbWidth + kGap;
    const int cellHeight = kThumbHeight + kCaptionHeight + kGap;
    Sheet sheet{kGap + columns * cellWidth, kGap + rows * cellHeight, {}};
    sheet.pixels.assign(size_t(sheet.width) * sheet.height, kSheetColour);

    // The game's own font for the captions; without it the sheet has none.
    std::unique_ptr<Font> font;
    LuaPlus::LuaObject fontName = GetGlobalLuaState()->GetGlobals()["ConstConfig"]["BumperluxFont"];
    if (fontName.IsString()) {
        font.reset(new Font(fontName.GetString(), 13, 0));
        if (!font->IsOpen())
            font.reset();
    }

    for (size_t i = 0; i < levels.size(); ++i) {
        const std::string& level = levels[i];
        const int x0 = kGap + int(i % kColumns) * cellWidth;
        const int y0 = kGap + int(i / kColumns) * cellHeight;
        const auto thumb = m_Thumbs.find(level);
        if (thumb == m_Thumbs.end()) {
            sheet.Fill(x0, y0, kThumbWidth, kThumbHeight, kFailedColour);
        } else {
            for (int y = 0; y < kThumbHeight; ++y)
                for (int x = 0; x < kThumbWidth; ++x)
                    sheet.pixels[(y0 + y) * sheet.width + x0 + x] =
                        thumb->second[y * kThumbWidth + x];
        }
        if (!font)
            continue;
        const auto file = files.find(level);
        const auto title = titles.find(level);
        // "3. Crates.lua", or "3. Crates (Harbour.lua)" when the file is named otherwise.
        std::string line1 = std::to_string(i + 1) + ". ";
        if (file == files.end())
            line1 += level;
        else if (file->second == level + ".lua")
            line1 += file->second;
        else
            line1 += level + " (" + file->second + ")";
        const std::string line2 = title != titles.end() ? title->second : "";
        const SDL_Color white{255, 255, 255, 0};
        const SDL_Color grey{190, 190, 170, 0};
        SDL_Surface* text = font->RenderText_Blended(line1, white);
        sheet.Blend(text, x0, y0 + kThumbHeight + 2, kThumbWidth);
        if (text)
            SDL_FreeSurface(text);
        if (!line2.empty()) {
            text = font->RenderText_Blended(line2, grey);
            sheet.Blend(text, x0, y0 + kThumbHeight + 19, kThumbWidth);
            if (text)
                SDL_FreeSurface(text);
        }
    }
    return WritePng(path, sheet, error);
}

} // namespace levelcheck
