#pragma once
// Picture files for the tests: small true pictures encoded here (libjpeg, libpng, a BMP
// writer), and a generator of small files that promise huge work, every header field of each
// format at its extremes, lying and contradicting itself, and cut short.
#include <string>
#include <vector>

namespace bbtest {

// A JPEG of that size, grey or colour (4:2:0), baseline or progressive, of a plain pattern.
std::string EncodeJpeg(int width, int height, bool progressive = false, bool grey = false);
// A PNG of that size (colour type and bit depth as libpng names them), of a plain pattern.
std::string EncodePng(int width, int height, int colourType = 2, int bitDepth = 8,
                      bool interlaced = false);
// A BMP of that size and depth (1, 4, 8, 16, 24 or 32 bits) with the 40-byte Windows info
// header, or the 12-byte OS/2 one; a height below 0 stores the rows top to bottom.
std::string EncodeBmp(int width, int height, int bits = 24, bool os2 = false);

// A 16 x 16 PNG of count compressed text chunks (zTXt, or iTXt) before its pixels, each the
// same text of just under 1 MiB, about a kilobyte compressed.
std::string PngOfCompressedTexts(bool international, int count);
// A JPEG of 182 bytes whose frame header, behind a stuffed FF 00, gives 16000 x 16000, with
// an APP0 segment holding the frame header of the 16 x 16 grey picture whose tables and data
// follow: read segment by segment from the stuffing, it seems 16 x 16.
std::string JpegFrameBehindStuffing();
// An 8-bit OS/2 bitmap of 1024 x 65535 (sides the 12-byte header stores without a sign; read
// as signed, 1024 x 1): the whole file of 64 MiB, or its header, palette and first 64 rows.
std::string Os2BitmapOfUnsignedSides(bool whole);

struct HostilePicture
{
    std::string name; // a file name whose ending the loader takes as a picture
    std::string what; // what the file promises, for failure messages
    std::string bytes;
    // "" when the file may be decoded or refused; else it must be refused, in words that hold
    // this text ("could not be loaded" for any refusal, "16000 x 16000 pixels by its PNG
    // header" for one by the size its decoder read).
    std::string refusal;
};
// The sweep: for JPEG (baseline and progressive), PNG and BMP (both info headers), true
// pictures with one header field or two set to an extreme, headers that lie about the data
// after them or contradict each other, and the shapes above.
std::vector<HostilePicture> HostilePictureSweep();
// A small true picture of each format, cut after every byte of its header and at a few places
// in its data.
std::vector<HostilePicture> PicturesCutShort();

} // namespace bbtest
