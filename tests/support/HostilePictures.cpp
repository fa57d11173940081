#include "support/HostilePictures.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

namespace bbtest {

namespace {

std::string Be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Be16(unsigned v)
{
    return {char(v >> 8), char(v)};
}

std::string Le32(std::uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string Le16(unsigned v)
{
    return {char(v), char(v >> 8)};
}

void PutLe32(std::string& bytes, std::size_t at, std::uint32_t v)
{
    bytes.replace(at, 4, Le32(v));
}

void PutLe16(std::string& bytes, std::size_t at, unsigned v)
{
    bytes.replace(at, 2, Le16(v));
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string PngChunk(const std::string& type, const std::string& data)
{
    return Be32(std::uint32_t(data.size())) + type + data + Be32(Crc32(type + data));
}

const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

// The PNG with its image header's fields replaced (the checksum made true again).
std::string PngWithHeader(const std::string& png, std::uint32_t width, std::uint32_t height,
                          int bitDepth, int colourType, int interlace = 0)
{
    const std::string ihdr = Be32(width) + Be32(height) + char(bitDepth) + char(colourType) + '\0' +
                             '\0' + char(interlace);
    return kPngSignature + PngChunk("IHDR", ihdr) + png.substr(8 + 25);
}

// The JPEG segments after the start of image up to the first scan: marker and offset.
std::vector<std::pair<unsigned, std::size_t>> JpegSegments(const std::string& jpeg)
{
    std::vector<std::pair<unsigned, std::size_t>> segments;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
        const unsigned marker = static_cast<unsigned char>(jpeg[at + 1]);
        segments.push_back({marker, at});
        if (marker == 0xDA)
            break;
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 |
                   static_cast<unsigned char>(jpeg[at + 3]));
    }
    return segments;
}

std::size_t JpegFrame(const std::string& jpeg)
{
    for (const auto& [marker, at] : JpegSegments(jpeg))
        if (marker == 0xC0 || marker == 0xC2)
            return at;
    throw std::runtime_error("no frame header");
}

// The JPEG with its frame's sides replaced.
std::string JpegWithSize(std::string jpeg, unsigned width, unsigned height)
{
    const std::size_t frame = JpegFrame(jpeg);
    jpeg.replace(frame + 5, 2, Be16(height));
    jpeg.replace(frame + 7, 2, Be16(width));
    return jpeg;
}

void WriteToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

} // namespace

std::string EncodeJpeg(int width, int height, bool progressive, bool grey)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    info.optimize_coding = TRUE;
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t(width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        for (std::size_t x = 0; x < row.size(); ++x)
            row[x] = static_cast<unsigned char>((x * 7 + info.next_scanline * 3) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&info);
    free(out);
    return bytes;
}

std::string EncodePng(int width, int height, int colourType, int bitDepth, bool interlaced)
{
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("libpng could not write the picture");
    png_set_write_fn(png, &bytes, WriteToString, nullptr);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[16];
        for (int i = 0; i < 16; ++i)
            palette[i] = png_color{png_byte(i * 16), png_byte(255 - i * 16), png_byte(i * 5)};
        png_set_PLTE(png, info, palette, 1 << std::min(bitDepth, 4));
    }
    png_write_info(png, info);
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const std::size_t rowBytes = (std::size_t(width) * channels * bitDepth + 7) / 8;
    std::vector<png_byte> row(rowBytes);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y) {
            for (std::size_t x = 0; x < rowBytes; ++x)
                row[x] = png_byte((x * 5 + std::size_t(y)) & (bitDepth < 8 ? 0x00 : 0xFF));
            png_write_row(png, row.data());
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

std::string PngOfCompressedTexts(bool international, int count)
{
    // libpng compresses the text once; its chunk is copied count times behind the header of a
    // small true picture.
    std::string written;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("libpng could not write the text");
    png_set_write_fn(png, &written, WriteToString, nullptr);
    png_set_IHDR(png, info, 16, 16, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::string text((1 << 20) - 4096, 'a');
    png_text entry{};
    entry.compression = international ? PNG_ITXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_zTXt;
    entry.key = const_cast<char*>("Comment");
    entry.text = text.data();
    (international ? entry.itxt_length : entry.text_length) = text.size();
    png_set_text(png, info, &entry, 1);
    png_write_info(png, info);
    png_destroy_write_struct(&png, &info);
    const std::size_t at = written.find(international ? "iTXt" : "zTXt") - 4;
    const std::string chunk = written.substr(at);
    std::string copies;
    for (int i = 0; i < count; ++i)
        copies += chunk;
    const std::string picture = EncodePng(16, 16);
    return picture.substr(0, 33) + copies + picture.substr(33);
}

std::string EncodeBmp(int width, int height, int bits, bool os2)
{
    const std::size_t colours = bits <= 8 ? std::size_t(1) << bits : 0;
    const std::size_t entry = os2 ? 3 : 4;
    const std::size_t info = os2 ? 12 : 40;
    const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
    const std::size_t rows = std::size_t(height < 0 ? -height : height);
    const std::size_t offset = 14 + info + colours * entry;
    std::string bytes =
        "BM" + Le32(std::uint32_t(offset + stride * rows)) + Le32(0) + Le32(std::uint32_t(offset));
    if (os2)
        bytes += Le32(12) + Le16(unsigned(width)) + Le16(unsigned(height)) + Le16(1) +
                 Le16(unsigned(bits));
    else
        bytes += Le32(40) + Le32(std::uint32_t(width)) + Le32(std::uint32_t(height)) + Le16(1) +
                 Le16(unsigned(bits)) + std::string(24, '\0');
    for (std::size_t i = 0; i < colours; ++i) {
        const char level = char(i * 255 / (colours - 1 ? colours - 1 : 1));
        bytes += std::string{level, char(255 - level), level};
        if (!os2)
            bytes += '\0';
    }
    for (std::size_t y = 0; y < rows; ++y)
        for (std::size_t x = 0; x < stride; ++x)
            bytes += char((x * 3 + y) & 0xFF);
    return bytes;
}

std::string JpegFrameBehindStuffing()
{
    // The grey picture's tables and data: every segment but its JFIF header and frame header.
    const std::string grey = EncodeJpeg(16, 16, false, true);
    std::string rest;
    for (const auto& [marker, at] : JpegSegments(grey)) {
        if (marker == 0xDA) {
            rest += grey.substr(at);
            break;
        }
        const std::size_t length = 2 + (static_cast<unsigned char>(grey[at + 2]) << 8 |
                                        static_cast<unsigned char>(grey[at + 3]));
        if (marker != 0xE0 && marker != 0xC0)
            rest += grey.substr(at, length);
    }
    auto frame = [](unsigned side) {
        return std::string("\xff\xc0\x00\x0b\x08", 5) + Be16(side) + Be16(side) +
               std::string("\x01\x01\x11\x00", 4);
    };
    return std::string("\xff\xd8\xff\x00\x00\x13", 6) + frame(16000) +
           std::string("\xff\xe0\x00\x0f", 4) + frame(16) + rest;
}

std::string Os2BitmapOfUnsignedSides(bool whole)
{
    std::string bytes = EncodeBmp(1024, 64, 8, true);
    PutLe16(bytes, 20, 65535);
    PutLe32(bytes, 2, 14 + 12 + 256 * 3 + 1024u * 65535);
    if (whole)
        bytes.resize(14 + 12 + 256 * 3 + 1024u * 65535, '\0');
    return bytes;
}

std::vector<HostilePicture> HostilePictureSweep()
{
    std::vector<HostilePicture> sweep;
    auto add = [&](const std::string& name, const std::string& what, const std::string& bytes,
                   const std::string& refusal = "") {
        sweep.push_back({"Sweep" + std::to_string(sweep.size()) + name, what, bytes, refusal});
    };
    const std::string refused = "could not be loaded";
    // What the refusal of a picture whose decoder reads that size says: its size, past the
    // bound; any refusal for no pixels or sides the decoder does not read at all; else
    // nothing.
    const auto bySize = [&](long long w, long long h, long long mostSide, const char* format) {
        if (w <= 0 || h <= 0 || w > mostSide || h > mostSide)
            return refused;
        if (w > 4096 || h > 4096 || w * h > 4096LL * 1024)
            return std::to_string(w) + " x " + std::to_string(h) + " pixels by its " + format +
                   " header";
        return std::string();
    };

    // JPEG: the frame's sides at their extremes, alone and together, in each kind of frame;
    // a frame cut, lying about its length and components; frames and scans beyond one.
    const std::string jpegs[] = {EncodeJpeg(16, 16), EncodeJpeg(16, 16, true),
                                 EncodeJpeg(16, 16, false, true)};
    const char* jpegKinds[] = {"baseline", "progressive", "grey"};
    const unsigned jpegSides[] = {0, 1, 4096, 4097, 65500, 65535};
    for (int k = 0; k < 3; ++k) {
        for (unsigned w : jpegSides)
            for (unsigned h : jpegSides)
                add(".jpg",
                    std::string(jpegKinds[k]) + " JPEG of " + std::to_string(w) + " x " +
                        std::to_string(h),
                    JpegWithSize(jpegs[k], w, h), bySize(w, h, 65500, "JPEG"));
        for (const auto& [w, h] : {std::pair<unsigned, unsigned>{4096, 1024},
                                   {4096, 1025},
                                   {2048, 2048},
                                   {2049, 2048},
                                   {16000, 16000}})
            add(".jpg",
                std::string(jpegKinds[k]) + " JPEG of " + std::to_string(w) + " x " +
                    std::to_string(h),
                JpegWithSize(jpegs[k], w, h), bySize(w, h, 65500, "JPEG"));
    }
    {
        const std::string& jpeg = jpegs[0];
        const std::size_t frame = JpegFrame(jpeg);
        for (unsigned length : {0u, 2u, 7u, 16u, 18u, 0xFFFFu}) {
            std::string lying = jpeg;
            lying.replace(frame + 2, 2, Be16(length));
            add(".jpg", "JPEG frame header of length " + std::to_string(length), lying);
        }
        for (unsigned components : {0u, 2u, 4u, 255u}) {
            std::string lying = JpegWithSize(jpeg, 4096, 1024);
            lying[frame + 9] = char(components);
            add(".jpg", "JPEG frame of " + std::to_string(components) + " components", lying);
        }
        for (unsigned sampling : {0x00u, 0x44u, 0xFFu}) {
            std::string lying = JpegWithSize(jpeg, 4096, 1024);
            lying[frame + 11] = char(sampling);
            add(".jpg", "JPEG frame sampling " + std::to_string(sampling), lying);
        }
        for (unsigned precision : {0u, 12u, 16u, 255u}) {
            std::string lying = jpeg;
            lying[frame + 4] = char(precision);
            add(".jpg", "JPEG precision " + std::to_string(precision), lying);
        }
        // A second frame, past the bound, after a small one, and the other way round.
        const std::size_t frameLength = 2 + (static_cast<unsigned char>(jpeg[frame + 2]) << 8 |
                                             static_cast<unsigned char>(jpeg[frame + 3]));
        const std::string huge = JpegWithSize(jpeg, 16000, 16000).substr(frame, frameLength);
        add(".jpg", "JPEG with a second, huge frame",
            jpeg.substr(0, frame + frameLength) + huge + jpeg.substr(frame + frameLength), refused);
        add(".jpg", "JPEG with a huge frame before its own",
            jpeg.substr(0, frame) + huge + jpeg.substr(frame), refused);
        // Segments whose lengths run past the file's end or are too short to be lengths.
        for (unsigned length : {0u, 1u, 0xFFFFu})
            add(".jpg", "JPEG with an APP1 segment of length " + std::to_string(length),
                jpeg.substr(0, 2) + "\xff\xe1" + Be16(length) + jpeg.substr(2));
        add(".jpg", "JPEG of the start of image alone", std::string("\xff\xd8", 2));
        add(".jpg", "JPEG of fill bytes", std::string("\xff\xd8", 2) + std::string(4096, '\xff'));
        add(
            ".jpg", "JPEG of stuffed zeros", std::string("\xff\xd8", 2) + [] {
                std::string s;
                for (int i = 0; i < 2048; ++i)
                    s += std::string("\xff\x00", 2);
                return s;
            }());
    }
    add(".jpg", "JPEG whose frame of 16000 x 16000 hides behind stuffing",
        JpegFrameBehindStuffing(), "16000 x 16000 pixels by its JPEG header");

    // PNG: the image header's sides at their extremes; every bit depth and colour type,
    // allowed or not, at the bound; interlacing; a header that lies about its own length or
    // checksum; chunks longer than the file; a second header.
    const std::string png = EncodePng(16, 16);
    const std::uint32_t pngSides[] = {0,     1,          4096,        4097,
                                      16000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
    for (std::uint32_t w : pngSides)
        for (std::uint32_t h : pngSides)
            add(".png", "PNG of " + std::to_string(w) + " x " + std::to_string(h),
                PngWithHeader(png, w, h, 8, 2), bySize(w, h, 0x7FFFFFFF, "PNG"));
    for (const auto& [w, h] : {std::pair<std::uint32_t, std::uint32_t>{4096, 1024},
                               {4096, 1025},
                               {2048, 2048},
                               {2049, 2048}})
        add(".png", "PNG of " + std::to_string(w) + " x " + std::to_string(h),
            PngWithHeader(png, w, h, 8, 2), bySize(w, h, 0x7FFFFFFF, "PNG"));
    const auto pngReads = [](int type, int depth) {
        switch (type) {
        case 0:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
        }
    };
    for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 255})
        for (int depth : {0, 1, 2, 3, 4, 8, 16, 255})
            add(".png",
                "PNG of type " + std::to_string(type) + ", depth " + std::to_string(depth) +
                    " at the bound",
                PngWithHeader(png, 2048, 2048, depth, type), pngReads(type, depth) ? "" : refused);
    for (int interlace : {1, 2, 255})
        add(".png", "PNG interlaced " + std::to_string(interlace),
            PngWithHeader(png, 4096, 1024, 16, 6, interlace));
    {
        std::string lying = png;
        lying.replace(8, 4, Be32(14));
        add(".png", "PNG whose header says it is 14 bytes", lying);
        lying = png;
        lying.replace(8, 4, Be32(0xFFFFFFFFu));
        add(".png", "PNG whose header is 4 GiB long", lying);
        lying = PngWithHeader(png, 16000, 16000, 8, 2);
        lying[29] ^= 1;
        add(".png", "PNG of 16000 x 16000 whose header's checksum is wrong", lying);
        add(".png", "PNG with a second header of 16000 x 16000",
            png.substr(0, 33) + PngWithHeader(png, 16000, 16000, 8, 2).substr(8, 25) +
                png.substr(33));
        add(".png", "PNG with a text chunk of 2 GiB",
            png.substr(0, 33) + Be32(0x7FFFFFFF) + "tEXt" + "key" + png.substr(33));
        add(".png", "PNG of the signature alone", kPngSignature, refused);
        add(".png", "PNG of 16000 x 16000 that ends after its header",
            PngWithHeader(png, 16000, 16000, 8, 2).substr(0, 33),
            "16000 x 16000 pixels by its PNG header");
    }
    add(".png", "PNG of 1,100 zTXt chunks of 1 MiB of text", PngOfCompressedTexts(false, 1100));
    add(".png", "PNG of 1,100 iTXt chunks of 1 MiB of text", PngOfCompressedTexts(true, 1100));
    add(".png", "true PNG of 4096 x 1024, 16-bit RGBA", EncodePng(4096, 1024, 6, 16));
    add(".png", "true PNG of 2048 x 2048, grey of 1 bit, interlaced",
        EncodePng(2048, 2048, 0, 1, true));

    // BMP of both info headers: the sides at their extremes (signed or not), every depth,
    // compression and palette size, an info header of every length, pixels past the file.
    for (const bool os2 : {false, true}) {
        const std::string kind = os2 ? "OS/2 BMP" : "BMP";
        const std::string bmp = EncodeBmp(16, 16, 8, os2);
        const long long sides[] = {0,     1,     -1,    4096,       4097,           -4096,
                                   32767, 32768, 65535, 0x7FFFFFFF, -0x7FFFFFFF - 1};
        for (long long w : sides)
            for (long long h : sides) {
                if (os2 && (w < 0 || h < 0 || w > 65535 || h > 65535))
                    continue;
                std::string lying = bmp;
                if (os2) {
                    PutLe16(lying, 18, unsigned(w));
                    PutLe16(lying, 20, unsigned(h));
                } else {
                    PutLe32(lying, 18, std::uint32_t(w));
                    PutLe32(lying, 22, std::uint32_t(h));
                }
                add(".bmp", kind + " of " + std::to_string(w) + " x " + std::to_string(h), lying,
                    h == 0 ? refused : bySize(w, h < 0 ? -h : h, 0x80000000LL, "BMP"));
            }
        for (unsigned bits : {0u, 1u, 2u, 4u, 8u, 15u, 16u, 24u, 32u, 48u, 64u, 65535u}) {
            std::string lying = bmp;
            PutLe16(lying, os2 ? 24 : 28, bits);
            const bool read =
                bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
            add(".bmp", kind + " of " + std::to_string(bits) + " bits", lying, read ? "" : refused);
        }
        for (std::uint32_t offset : {0u, 1u, 14u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            std::string lying = bmp;
            PutLe32(lying, 10, offset);
            add(".bmp", kind + " whose pixels start at " + std::to_string(offset), lying,
                offset >= 0x7FFFFFFFu ? refused : "");
        }
        for (std::uint32_t info : {0u, 11u, 13u, 39u, 41u, 56u, 124u, 0xFFFFFFFFu}) {
            std::string lying = bmp;
            PutLe32(lying, 14, info);
            const bool read = info == 12 || (info >= 40 && info < 0xFFFFFFFFu);
            add(".bmp", kind + " with an info header of " + std::to_string(info) + " bytes", lying,
                read ? "" : refused);
        }
        // Rows of every depth the file does not hold, for a picture within the bound.
        for (int bits : {1, 4, 8, 16, 24, 32}) {
            std::string lying = EncodeBmp(16, 16, bits, os2);
            if (os2) {
                PutLe16(lying, 18, 4096);
                PutLe16(lying, 20, 1024);
            } else {
                PutLe32(lying, 18, 4096);
                PutLe32(lying, 22, std::uint32_t(-1024));
            }
            add(".bmp", kind + " of 4096 x 1024, " + std::to_string(bits) + " bits, 16 rows held",
                lying, refused);
        }
    }
    {
        const std::string bmp = EncodeBmp(16, 16, 8);
        for (std::uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u, 0xFFFFFFFFu}) {
            std::string lying = bmp;
            PutLe32(lying, 30, compression);
            add(".bmp", "BMP of compression " + std::to_string(compression), lying, refused);
        }
        for (std::uint32_t used : {1u, 256u, 257u, 0x40000000u, 0xFFFFFFFFu}) {
            std::string lying = bmp;
            PutLe32(lying, 46, used);
            add(".bmp", "BMP of " + std::to_string(used) + " colours", lying,
                used > 256 ? refused : "");
        }
        // A palette past the file's end, before pixels said to start inside the headers.
        std::string early = bmp.substr(0, 14 + 40 + 300);
        PutLe32(early, 10, 14);
        add(".bmp", "BMP whose palette runs past its end", early, refused);
        std::string fields = EncodeBmp(16, 16, 32);
        PutLe32(fields, 30, 3);
        add(".bmp", "BMP of channel masks in its pixels' place", fields);
        add(".bmp", "BMP of channel masks the file does not hold", fields.substr(0, 14 + 40 + 6),
            refused);
    }
    add(".bmp", "true BMP of 4096 x 1024, 1 bit", EncodeBmp(4096, 1024, 1));
    add(".bmp", "true OS/2 BMP of 2048 x 2048, 4 bits", EncodeBmp(2048, 2048, 4, true));
    add(".bmp", "OS/2 BMP of 1024 x 65535, 8 bits", Os2BitmapOfUnsignedSides(true),
        "1024 x 65535 pixels by its BMP header");
    return sweep;
}

std::vector<HostilePicture> PicturesCutShort()
{
    std::vector<HostilePicture> cut;
    const std::pair<std::string, std::string> wholes[] = {{".png", EncodePng(20, 10)},
                                                          {".jpg", EncodeJpeg(20, 10)},
                                                          {".jpg", EncodeJpeg(20, 10, true)},
                                                          {".bmp", EncodeBmp(20, 10)},
                                                          {".bmp", EncodeBmp(20, 10, 4, true)}};
    for (const auto& [ending, whole] : wholes) {
        // Every byte of the headers (up to the first scan or pixel), then a few in the data.
        const std::size_t header = ending == ".png" ? 41 : ending == ".bmp" ? 14 + 40 + 64 : 0;
        std::size_t data = header;
        if (ending == ".jpg")
            data = JpegSegments(whole).back().second + 14;
        for (std::size_t at = 0; at < whole.size(); at += at < data ? 1 : 1 + whole.size() / 8)
            cut.push_back({"Cut" + std::to_string(cut.size()) + ending,
                           ending + " cut to " + std::to_string(at) + " of " +
                               std::to_string(whole.size()) + " bytes",
                           whole.substr(0, at), ""});
    }
    return cut;
}

} // namespace bbtest
