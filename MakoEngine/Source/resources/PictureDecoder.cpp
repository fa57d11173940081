#include "resources/PictureDecoder.h"

#include "core/Exception.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "resources/MemoryBudget.h"

#include <boost/format.hpp>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// libjpeg's header needs the types of stdio before it.
#include <jpeglib.h>
#include <png.h>

static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the BMP rows are copied as the file stores them");

namespace PictureDecoder {

namespace {

using Bytes = const std::uint8_t*;
using SurfacePtr = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

// ---- The path every decoder shares: whether to go on, the row loop, the refusal.

// Whether the decoding goes on: asked by every decoder as it works (before each row it writes,
// and from within libpng and libjpeg as they read: at each chunk, at each step of a scan). A
// stop of the program, or the open work meter spent, ends it. Never throws, so the libraries'
// callbacks may ask it.
bool GoOn() noexcept
{
    try {
        WorkMeter::Charge(0);
    } catch (const WorkSpent&) {
        return false;
    }
    return !StopSignal::IsRequested();
}

// Raises WorkSpent when the decoding was ended by a stop (naming the open meter, if any,
// else the picture).
void ThrowIfStopped(const std::string& location)
{
    WorkMeter::Charge(0);
    if (StopSignal::IsRequested())
        MAKO_THROW(WorkSpent, boost::str(boost::format("the picture %1% was stopped by %2%") %
                                         location % StopSignal::GetName()));
}

// Every decoder's way out when it cannot go on: a stop is answered as one (WorkSpent), never
// taken for damage of the picture.
[[noreturn]] void Refuse(const std::string& location, const std::string& problem)
{
    ThrowIfStopped(location);
    MAKO_THROW(ResourceLoadError,
               boost::str(boost::format("Could not load image:\nfile=%1%\nerror=%2%") % location %
                          problem));
}

// Holds the size a decoder read against the bound and charges its pixels to the open work
// meter and its bytes to the budget of what the game holds decoded; throws the refusal. The sides
// are compared before they are multiplied, so no reading overflows.
void CheckCost(const char* format, unsigned long long width, unsigned long long height)
{
    std::string refusal;
    const auto side = static_cast<unsigned long long>(kMaxSide);
    if (width > side || height > side ||
        width * height > static_cast<unsigned long long>(kMaxPixels)) {
        refusal = boost::str(boost::format("is %1% x %2% pixels by its %3% header, more than a "
                                           "picture may have (%4% on a side, %5% in all)") %
                             width % height % format % kMaxSide % kMaxPixels);
    } else {
        const long long pixels = static_cast<long long>(width * height);
        try {
            WorkMeter::Charge(1 + pixels / kPixelsPerStep);
        } catch (const WorkSpent&) {
            if (StopSignal::IsRequested())
                throw;
            refusal = boost::str(boost::format("is %1% x %2% pixels, more than the work left to "
                                               "%3% allows") %
                                 width % height % WorkMeter::Current()->GetWhat());
        }
    }
    if (!refusal.empty())
        MAKO_THROW(ResourceLoadError, "the picture " + refusal + "; it is not decoded");
    // Held in the reference format's four bytes a pixel, whatever the file's depth.
    MemoryBudget::Charge(static_cast<long long>(width * height) * 4, "the picture");
}

// Writes the surface's rows: for each pass (an interlaced PNG has seven), row by row from the
// top, readRow(row, that row's pixels) decoding one. False when readRow failed (the decoder
// says why); WorkSpent when the decoding did not go on. Asks GoOn() before every row, so a
// decoder written later answers a stop as these do.
template <typename ReadRow>
bool WriteRows(const std::string& location, SDL_Surface* surface, int passes, ReadRow readRow)
{
    for (int pass = 0; pass < passes; ++pass)
        for (int row = 0; row < surface->h; ++row) {
            if (!GoOn())
                ThrowIfStopped(location);
            auto* pixels = static_cast<Uint8*>(surface->pixels) +
                           std::size_t(row) * std::size_t(surface->pitch);
            if (!readRow(row, pixels))
                return false;
        }
    return true;
}

SurfacePtr NewSurface(const std::string& location, int width, int height, int depth, Uint32 red,
                      Uint32 green, Uint32 blue, Uint32 alpha)
{
    SurfacePtr surface(
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, depth, red, green, blue, alpha),
        SDL_FreeSurface);
    if (!surface)
        Refuse(location, std::string("its surface could not be made: ") + SDL_GetError());
    return surface;
}

// ---- JPEG: libjpeg reads the frame header; its numbers are the size.

// libjpeg's error manager, with the place a failure jumps back to and its message.
struct JpegError
{
    jpeg_error_mgr manager; // first: libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    error->manager.format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (damaged data the decoder mends) are not written to standard error.
void JpegQuiet(j_common_ptr) {}

// Called by libjpeg at every step of its work (a row of blocks of a scan, as it reads and as
// it writes): ends the decoding when it is not to go on, and a progressive picture of more
// scans than any encoder writes (each costs a pass over every pixel).
void JpegProgress(j_common_ptr info)
{
    auto* picture = reinterpret_cast<j_decompress_ptr>(info);
    auto* error = reinterpret_cast<JpegError*>(info->err);
    if (!GoOn()) {
        std::snprintf(error->message, sizeof error->message, "its decoding was stopped");
        std::longjmp(error->jump, 1);
    }
    if (picture->input_scan_number <= kMaxJpegScans)
        return;
    std::snprintf(error->message, sizeof error->message, "its JPEG data has more than %d scans",
                  kMaxJpegScans);
    std::longjmp(error->jump, 1);
}

// The two steps of libjpeg's decoding, each returning false with Problem() on a failure; the
// work between them (the bound, the surface) is the caller's, in C++.
class JpegReader
{
public:
    JpegReader(const void* data, std::size_t size) : m_Data(data), m_Size(size) {}
    ~JpegReader()
    {
        if (m_Created)
            jpeg_destroy_decompress(&m_Info);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Reads up to the first scan and chooses the output: RGB, or CMYK as it is stored.
    bool ReadHeader()
    {
        m_Info.err = jpeg_std_error(&m_Error.manager);
        m_Error.manager.error_exit = JpegFail;
        m_Error.manager.output_message = JpegQuiet;
        if (setjmp(m_Error.jump))
            return false;
        jpeg_create_decompress(&m_Info);
        m_Created = true;
        m_Progress.progress_monitor = JpegProgress;
        m_Info.progress = &m_Progress;
        jpeg_mem_src(&m_Info, static_cast<const unsigned char*>(m_Data),
                     static_cast<unsigned long>(m_Size));
        jpeg_read_header(&m_Info, TRUE);
        m_Info.out_color_space = m_Info.num_components == 4 ? JCS_CMYK : JCS_RGB;
        m_Info.quantize_colors = FALSE;
        jpeg_calc_output_dimensions(&m_Info);
        return true;
    }

    // Starts the decoding (a progressive picture's scans are all read here).
    bool Start()
    {
        if (setjmp(m_Error.jump))
            return false;
        jpeg_start_decompress(&m_Info);
        return true;
    }

    // Decodes the next row into pixels, a row of the output's width.
    bool ReadRow(Uint8* pixels)
    {
        if (setjmp(m_Error.jump))
            return false;
        JSAMPROW row = pixels;
        jpeg_read_scanlines(&m_Info, &row, 1);
        return true;
    }

    unsigned Width() const { return m_Info.image_width; }
    unsigned Height() const { return m_Info.image_height; }
    bool Cmyk() const { return m_Info.out_color_space == JCS_CMYK; }
    std::string Problem() const { return m_Error.message; }

private:
    const void* m_Data;
    std::size_t m_Size;
    jpeg_decompress_struct m_Info{};
    JpegError m_Error{};
    jpeg_progress_mgr m_Progress{};
    bool m_Created = false;
};

SurfacePtr DecodeJpeg(const std::string& location, const void* data, std::size_t size)
{
    JpegReader reader(data, size);
    if (!reader.ReadHeader())
        Refuse(location, reader.Problem());
    CheckCost("JPEG", reader.Width(), reader.Height());
    const int width = static_cast<int>(reader.Width());
    const int height = static_cast<int>(reader.Height());
    SurfacePtr surface =
        reader.Cmyk() ? NewSurface(location, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF,
                                   0xFF000000)
                      : NewSurface(location, width, height, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    const auto readRow = [&reader](int, Uint8* pixels) { return reader.ReadRow(pixels); };
    if (!reader.Start() || !WriteRows(location, surface.get(), 1, readRow))
        Refuse(location, reader.Problem());
    return surface;
}

// ---- PNG: libpng reads the image header and holds its sides to the bound itself.

struct PngState
{
    std::jmp_buf jump;
    char message[256];
    // libpng refused a side past its user limit (the bound's side).
    bool pastLimit;
    Bytes data;
    std::size_t size;
    std::size_t at;
    // What libpng holds now, of at most kMaxPngMemory.
    std::size_t held;
};

// libpng's allocations, held to kMaxPngMemory in all: its rows, its inflater, what it reads of
// a chunk (whole, at the length the file gives). A refused allocation is libpng's "out of
// memory".
png_voidp PngAllocate(png_structp png, png_alloc_size_t size)
{
    auto* state = static_cast<PngState*>(png_get_mem_ptr(png));
    const std::size_t kHeader = alignof(std::max_align_t);
    if (size > kMaxPngMemory - state->held)
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kHeader + size));
    if (!block)
        return nullptr;
    std::memcpy(block, &size, sizeof size);
    state->held += size;
    return block + kHeader;
}

void PngFree(png_structp png, png_voidp pointer)
{
    if (!pointer)
        return;
    auto* state = static_cast<PngState*>(png_get_mem_ptr(png));
    unsigned char* block = static_cast<unsigned char*>(pointer) - alignof(std::max_align_t);
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    state->held -= size;
    std::free(block);
}

[[noreturn]] void PngFail(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    std::longjmp(state->jump, 1);
}

void PngWarn(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    if (std::strstr(message, "exceeds user limit"))
        state->pastLimit = true;
}

// libpng's reads from the file, one or two for each chunk: each asks whether to go on.
void PngRead(png_structp png, png_bytep out, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (!GoOn())
        png_error(png, "its decoding was stopped");
    if (length > state->size - state->at)
        png_error(png, "its PNG data ends early");
    std::memcpy(out, state->data + state->at, length);
    state->at += length;
}

class PngReader
{
public:
    PngReader(const void* data, std::size_t size)
    {
        m_State.data = static_cast<Bytes>(data);
        m_State.size = size;
    }
    ~PngReader()
    {
        if (m_Png)
            png_destroy_read_struct(&m_Png, m_Info ? &m_Info : nullptr, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads up to the image data. When libpng refused a side past the bound, false with
    // PastLimit(): Width() and Height() are still libpng's reading of the header.
    bool ReadHeader()
    {
        if (setjmp(m_State.jump))
            return false;
        m_Png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &m_State, PngFail, PngWarn,
                                         &m_State, PngAllocate, PngFree);
        if (!m_Png) {
            std::snprintf(m_State.message, sizeof m_State.message, "libpng could not start");
            return false;
        }
        m_Info = png_create_info_struct(m_Png);
        if (!m_Info)
            png_error(m_Png, "libpng could not start");
        png_set_user_limits(m_Png, kMaxSide, kMaxSide);
        // Only the chunks that make the pixels are read (the header, palette, transparency and
        // image data): every other chunk, text, colour profile or one libpng does not know, is
        // passed over unread (its checksum alone is computed), so no compressed text is
        // inflated. What is read is held to kMaxPngMemory, and a chunk to 1 MiB.
        png_set_keep_unknown_chunks(m_Png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
        png_set_chunk_malloc_max(m_Png, 1 << 20);
        png_set_read_fn(m_Png, &m_State, PngRead);
        png_read_info(m_Png, m_Info);
        return true;
    }

    // Chooses the output, as the game has always read PNG pictures: 8 bits a channel, a
    // palette for palette and grey pictures, a colour key for a single transparent colour,
    // else an alpha channel for transparency.
    bool ChooseOutput()
    {
        if (setjmp(m_State.jump))
            return false;
        const int type = png_get_color_type(m_Png, m_Info);
        png_set_strip_16(m_Png);
        png_set_packing(m_Png);
        if (type == PNG_COLOR_TYPE_GRAY)
            png_set_expand(m_Png);
        if (png_get_valid(m_Png, m_Info, PNG_INFO_tRNS)) {
            png_bytep alphas = nullptr;
            int count = 0;
            png_color_16p colour = nullptr;
            png_get_tRNS(m_Png, m_Info, &alphas, &count, &colour);
            if (type == PNG_COLOR_TYPE_PALETTE) {
                int i = 0, clear = -1;
                for (; i < count; ++i) {
                    if (alphas[i] == 0) {
                        if (clear >= 0)
                            break;
                        clear = i;
                    } else if (alphas[i] != 255) {
                        break;
                    }
                }
                if (i == count)
                    m_Key = clear;
                else
                    png_set_expand(m_Png);
            } else if (colour) {
                m_Key = 0;
                m_KeyColour = *colour;
            }
        }
        if (type == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_gray_to_rgb(m_Png);
        m_Passes = png_set_interlace_handling(m_Png);
        png_read_update_info(m_Png, m_Info);
        m_Type = png_get_color_type(m_Png, m_Info);
        m_Depth = png_get_bit_depth(m_Png, m_Info) * png_get_channels(m_Png, m_Info);
        m_Channels = png_get_channels(m_Png, m_Info);
        return true;
    }

    // Decodes the next row of the pass into pixels, a row of the output (of an interlaced
    // picture, the pixels of the pass are put among those of the passes before).
    bool ReadRow(Uint8* pixels)
    {
        if (setjmp(m_State.jump))
            return false;
        png_read_row(m_Png, pixels, nullptr);
        return true;
    }

    unsigned Width() const { return m_Png && m_Info ? png_get_image_width(m_Png, m_Info) : 0; }
    unsigned Height() const { return m_Png && m_Info ? png_get_image_height(m_Png, m_Info) : 0; }
    bool PastLimit() const { return m_State.pastLimit; }
    int Type() const { return m_Type; }
    int Depth() const { return m_Depth; }
    int Channels() const { return m_Channels; }
    int Passes() const { return m_Passes; }
    int Key() const { return m_Key; }
    const png_color_16& KeyColour() const { return m_KeyColour; }
    std::string Problem() const { return m_State.message; }
    void Palette(png_colorp& colours, int& count) const
    {
        colours = nullptr;
        count = 0;
        if (png_get_valid(m_Png, m_Info, PNG_INFO_PLTE))
            png_get_PLTE(m_Png, m_Info, &colours, &count);
    }

private:
    PngState m_State{};
    png_structp m_Png = nullptr;
    png_infop m_Info = nullptr;
    int m_Type = 0;
    int m_Depth = 0;
    int m_Channels = 0;
    int m_Passes = 1;
    int m_Key = -1;
    png_color_16 m_KeyColour{};
};

SurfacePtr DecodePng(const std::string& location, const void* data, std::size_t size)
{
    PngReader reader(data, size);
    if (!reader.ReadHeader()) {
        // libpng refused the size: named by its reading, as every picture past the bound is.
        if (reader.PastLimit())
            CheckCost("PNG", reader.Width(), reader.Height());
        Refuse(location, reader.Problem());
    }
    CheckCost("PNG", reader.Width(), reader.Height());
    if (!reader.ChooseOutput())
        Refuse(location, reader.Problem());
    const bool palette = reader.Type() == PNG_COLOR_TYPE_PALETTE;
    const int width = static_cast<int>(reader.Width());
    const int height = static_cast<int>(reader.Height());
    SurfacePtr surface =
        palette ? NewSurface(location, width, height, reader.Depth(), 0, 0, 0, 0)
                : NewSurface(location, width, height, reader.Depth(), 0x000000FF, 0x0000FF00,
                             0x00FF0000, reader.Channels() == 4 ? 0xFF000000 : 0);
    if (reader.Key() >= 0) {
        const png_color_16& c = reader.KeyColour();
        const Uint32 key =
            palette ? Uint32(reader.Key())
                    : SDL_MapRGB(surface->format, Uint8(c.red), Uint8(c.green), Uint8(c.blue));
        SDL_SetColorKey(surface.get(), SDL_SRCCOLORKEY, key);
    }
    const auto readRow = [&reader](int, Uint8* pixels) { return reader.ReadRow(pixels); };
    if (!WriteRows(location, surface.get(), reader.Passes(), readRow))
        Refuse(location, reader.Problem());
    if (SDL_Palette* colours = surface->format->palette) {
        png_colorp entries = nullptr;
        int count = 0;
        reader.Palette(entries, count);
        if (reader.Type() == PNG_COLOR_TYPE_GRAY) {
            colours->ncolors = 256;
            for (int i = 0; i < 256; ++i)
                colours->colors[i] = SDL_Color{Uint8(i), Uint8(i), Uint8(i), 0};
        } else if (count > 0) {
            colours->ncolors = count;
            for (int i = 0; i < count; ++i)
                colours->colors[i] =
                    SDL_Color{entries[i].red, entries[i].green, entries[i].blue, 0};
        }
    }
    return surface;
}

// ---- BMP: the reader's own fields are the size, and every row it reads lies in the file.

std::uint32_t Le32(Bytes p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

unsigned Le16(Bytes p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

SurfacePtr DecodeBmp(const std::string& location, Bytes p, std::size_t size)
{
    // A 14-byte file header, then the info header, whose first word is its own length:
    // 12 (OS/2: 16-bit sides, no sign) or 40 and more (Windows: 32-bit signed sides, a
    // height below 0 for rows stored top to bottom).
    const std::size_t kFile = 14;
    if (size < kFile + 4)
        Refuse(location, "its BMP header is cut short");
    const std::uint32_t info = Le32(p + kFile);
    long long width = 0;
    long long height = 0;
    unsigned bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t used = 0;
    std::size_t entry = 4; // bytes of a palette entry
    if (info == 12) {
        if (size < kFile + 12)
            Refuse(location, "its BMP header is cut short");
        width = Le16(p + 18);
        height = Le16(p + 20);
        bits = Le16(p + 24);
        entry = 3;
    } else if (info >= 40) {
        if (info > size - kFile)
            Refuse(location, "its BMP header is cut short");
        width = static_cast<std::int32_t>(Le32(p + 18));
        height = static_cast<std::int32_t>(Le32(p + 22));
        bits = Le16(p + 28);
        compression = Le32(p + 30);
        used = Le32(p + 46);
    } else {
        Refuse(location, boost::str(boost::format("its BMP info header is %1% bytes, neither 12 "
                                                  "nor 40 or more") %
                                    info));
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height == 0)
        Refuse(location, boost::str(boost::format("its BMP header gives it no pixels (%1% x %2%)") %
                                    width % height));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Refuse(location, boost::str(boost::format("its BMP header gives %1% bits a pixel") % bits));
    const bool fields = compression == 3 && (bits == 16 || bits == 32);
    if (compression != 0 && !fields)
        Refuse(location,
               boost::str(boost::format("its BMP compression %1% is not read") % compression));
    CheckCost("BMP", static_cast<unsigned long long>(width),
              static_cast<unsigned long long>(height));

    // The palette or the channel masks follow the info header.
    std::size_t at = kFile + info;
    Uint32 masks[4] = {0, 0, 0, 0};
    if (fields) {
        if (info < 52 && size - at < 12)
            Refuse(location, "its BMP channel masks are cut short");
        for (int i = 0; i < 3; ++i)
            masks[i] = Le32(p + kFile + 40 + 4 * i);
        masks[3] = info >= 56 ? Le32(p + kFile + 52) : 0;
        if (info < 52)
            at += 12;
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 24) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0xFF000000;
    }
    const std::size_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    if (bits <= 8 && colours > (1u << bits))
        Refuse(location, boost::str(boost::format("its BMP palette of %1% colours is more than "
                                                  "%2% bits a pixel index") %
                                    colours % bits));
    if (colours * entry > size - at)
        Refuse(location, "its BMP palette is cut short");
    const Bytes palette = p + at;
    at += colours * entry;

    // Every row, padded to four bytes, lies in the file before a pixel is allocated.
    const std::uint32_t offset = Le32(p + 10);
    const std::size_t pixels = offset ? offset : at;
    const unsigned long long stride = (static_cast<unsigned long long>(width) * bits + 31) / 32 * 4;
    const unsigned long long need = stride * static_cast<unsigned long long>(height);
    if (pixels > size || need > size - pixels)
        Refuse(location, boost::str(boost::format("its BMP pixels are cut short (%1% bytes of %2% "
                                                  "from byte %3%)") %
                                    (pixels > size ? 0 : size - pixels) % need % pixels));

    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    SurfacePtr surface = NewSurface(location, w, h, bits <= 8 ? 8 : int(bits), masks[0], masks[1],
                                    masks[2], masks[3]);
    if (bits <= 8) {
        SDL_Color* to = surface->format->palette->colors;
        for (std::size_t i = 0; i < colours; ++i)
            to[i] =
                SDL_Color{palette[i * entry + 2], palette[i * entry + 1], palette[i * entry], 0};
    }
    const auto readRow = [&](int row, Uint8* to) {
        const int stored = topDown ? row : h - 1 - row;
        const Bytes from = p + pixels + stride * static_cast<unsigned long long>(stored);
        if (bits >= 8) {
            std::memcpy(to, from, std::size_t(w) * (bits / 8));
            return true;
        }
        // 1 or 4 bits: one index a byte, the first pixel in the highest bits.
        const unsigned perByte = 8 / bits;
        const unsigned mask = (1u << bits) - 1;
        for (int x = 0; x < w; ++x) {
            const unsigned shift = 8 - bits * (1 + unsigned(x) % perByte);
            to[x] = Uint8(from[unsigned(x) / perByte] >> shift & mask);
        }
        return true;
    };
    WriteRows(location, surface.get(), 1, readRow);
    return surface;
}

} // namespace

SDL_Surface* Decode(const std::string& location, const void* data, std::size_t size)
{
    const auto* p = static_cast<Bytes>(data);
    static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    SurfacePtr surface(nullptr, SDL_FreeSurface);
    if (p && size >= 8 && std::memcmp(p, kPng, 8) == 0)
        surface = DecodePng(location, data, size);
    else if (p && size >= 2 && p[0] == 0xFF && p[1] == 0xD8)
        surface = DecodeJpeg(location, data, size);
    else if (p && size >= 2 && p[0] == 'B' && p[1] == 'M')
        surface = DecodeBmp(location, p, size);
    else
        Refuse(location, "it is not a PNG, JPEG or BMP picture");
    return surface.release();
}

} // namespace PictureDecoder
