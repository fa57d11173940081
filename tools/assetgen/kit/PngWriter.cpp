#include "kit/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <stdexcept>

namespace assetgen {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// Runs libpng over prepared rows. libpng reports errors by longjmp, so nothing with a
// destructor lives in this frame; returns false on failure.
bool WriteRows(std::vector<std::uint8_t>* out, png_bytep* rows, png_uint_32 width,
               png_uint_32 height)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, NoFlush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Canvas& canvas)
{
    std::vector<std::uint8_t> pixels = canvas.ToRgba8();
    std::vector<png_bytep> rows(canvas.Height());
    const std::size_t stride = static_cast<std::size_t>(canvas.Width()) * 4;
    for (int y = 0; y < canvas.Height(); ++y)
        rows[y] = pixels.data() + stride * y;
    std::vector<std::uint8_t> out;
    if (!WriteRows(&out, rows.data(), canvas.Width(), canvas.Height()))
        throw std::runtime_error("PNG encoding failed");
    return out;
}

} // namespace assetgen
