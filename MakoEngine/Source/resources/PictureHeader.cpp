#include "resources/PictureHeader.h"

#include <cstdint>
#include <cstring>

namespace {

using Bytes = const std::uint8_t*;

std::uint32_t BigEndian32(Bytes p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

unsigned BigEndian16(Bytes p)
{
    return unsigned(p[0]) << 8 | p[1];
}

std::int32_t LittleEndian32(Bytes p)
{
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

std::int16_t LittleEndian16(Bytes p)
{
    return std::int16_t(std::uint16_t(p[0] | p[1] << 8));
}

void ReadPng(Bytes p, std::size_t size, PictureHeader& header)
{
    // The signature, then the first chunk, which must be IHDR: length 13, width, height.
    if (size < 8 + 8 + 13) {
        header.problem = "its PNG header is cut short";
        return;
    }
    if (BigEndian32(p + 8) != 13 || std::memcmp(p + 12, "IHDR", 4) != 0) {
        header.problem = "its PNG header does not start with the image header (IHDR)";
        return;
    }
    header.width = BigEndian32(p + 16);
    header.height = BigEndian32(p + 20);
}

bool IsStartOfFrame(unsigned marker)
{
    // SOF0-3, 5-7, 9-11, 13-15; C4 (tables), C8 (reserved) and CC (arithmetic) are not frames.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void ReadJpeg(Bytes p, std::size_t size, PictureHeader& header)
{
    // Segments after the start of image: FF, marker, then (except for the standalone
    // markers) a big-endian length that counts itself. The first frame header gives the size.
    std::size_t at = 2;
    while (true) {
        while (at < size && p[at] == 0xFF && at + 1 < size && p[at + 1] == 0xFF)
            ++at; // fill bytes
        if (at + 2 > size) {
            header.problem = "its JPEG header is cut short";
            return;
        }
        if (p[at] != 0xFF) {
            header.problem = "its JPEG header is damaged";
            return;
        }
        const unsigned marker = p[at + 1];
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // standalone
        if (marker == 0xD9 || marker == 0xDA) {
            header.problem = "its JPEG data has no frame header";
            return;
        }
        if (at + 2 > size) {
            header.problem = "its JPEG header is cut short";
            return;
        }
        const unsigned length = BigEndian16(p + at);
        if (length < 2) {
            header.problem = "its JPEG header is damaged";
            return;
        }
        if (IsStartOfFrame(marker)) {
            if (length < 7 || at + 7 > size) {
                header.problem = "its JPEG header is cut short";
                return;
            }
            header.height = BigEndian16(p + at + 3);
            header.width = BigEndian16(p + at + 5);
            return;
        }
        at += length;
    }
}

void ReadBmp(Bytes p, std::size_t size, PictureHeader& header)
{
    // A 14-byte file header, then the info header, whose first word is its own length:
    // 12 (OS/2: 16-bit width and height) or 40 and more (Windows: 32-bit, height signed).
    if (size < 14 + 4) {
        header.problem = "its BMP header is cut short";
        return;
    }
    const std::int32_t info = LittleEndian32(p + 14);
    if (info == 12) {
        if (size < 14 + 12) {
            header.problem = "its BMP header is cut short";
            return;
        }
        header.width = LittleEndian16(p + 18);
        header.height = LittleEndian16(p + 20);
    } else if (info >= 40) {
        if (size < 14 + std::size_t(info)) {
            header.problem = "its BMP header is cut short";
            return;
        }
        header.width = LittleEndian32(p + 18);
        header.height = LittleEndian32(p + 22);
    } else {
        header.problem = "its BMP header has an info header of " + std::to_string(info) + " bytes";
        return;
    }
    if (header.height < 0)
        header.height = -header.height; // stored top to bottom
    if (header.width < 0)
        header.problem = "its BMP header gives a width below 0";
}

} // namespace

PictureHeader PictureHeader::Read(const void* data, std::size_t size)
{
    PictureHeader header;
    const auto* p = static_cast<Bytes>(data);
    static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (p && size >= 8 && std::memcmp(p, kPng, 8) == 0) {
        header.format = PNG;
        ReadPng(p, size, header);
    } else if (p && size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
        header.format = JPEG;
        ReadJpeg(p, size, header);
    } else if (p && size >= 2 && p[0] == 'B' && p[1] == 'M') {
        header.format = BMP;
        ReadBmp(p, size, header);
    } else {
        header.problem = "it is not a PNG, JPEG or BMP picture";
    }
    if (header.problem.empty() && (header.width == 0 || header.height == 0))
        header.problem = "its header gives it no pixels";
    return header;
}

const char* PictureHeader::FormatName(Format format)
{
    switch (format) {
    case PNG:
        return "PNG";
    case JPEG:
        return "JPEG";
    case BMP:
        return "BMP";
    default:
        return "unknown";
    }
}
