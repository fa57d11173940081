#pragma once
// What a picture file says of itself before a byte of it is decoded: its format and the size
// its header gives (PNG: the IHDR chunk; JPEG: the first start-of-frame segment; BMP: the
// info header, Windows or OS/2). The picture loader reads it first, so the cost of decoding
// a picture is known, and bounded, before anything is allocated for it.
//
//   const PictureHeader header = PictureHeader::Read(bytes, size);
//   if (!header.problem.empty()) ... // "its PNG header is cut short"
//   header.width * header.height     // the pixels the decoder would allocate
#include <cstddef>
#include <string>

struct PictureHeader
{
    enum Format { UNKNOWN, PNG, JPEG, BMP };

    Format format = UNKNOWN;
    // The size the header gives, in pixels (a BMP's height without its sign).
    long long width = 0;
    long long height = 0;
    // Why the header says no usable size ("it is not a PNG, JPEG or BMP picture", "its JPEG
    // header is cut short"); empty when width and height hold.
    std::string problem;

    static PictureHeader Read(const void* data, std::size_t size);
    // "PNG", "JPEG", "BMP" or "unknown".
    static const char* FormatName(Format format);
};
