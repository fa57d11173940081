#pragma once
// Decodes a picture file's bytes (PNG with libpng, JPEG with libjpeg, BMP with the reader
// here) into an SDL surface. The size a picture costs is the size its own decoder reads,
// taken from the decoder after it read the header and before a pixel is allocated: libpng's
// image header (whose sides libpng itself holds to kMaxSide), libjpeg's frame header
// (jpeg_read_header), the BMP reader's own fields. There is no other reading of the header
// whose numbers could differ from the decoder's.
//
// That size is held against the bound (kMaxSide on a side, kMaxPixels in all, compared side
// by side before they are multiplied) and charged to the open work meter (one step for every
// kPixelsPerStep pixels); a picture past either is refused, and so is one whose decoder finds
// it damaged. The decoders' own work is bounded too, by the file and the pixels alone: a JPEG's
// scans, what libpng holds, a PNG's chunks other than those that make the pixels (passed over
// unread: no text is inflated), a BMP's rows, which must lie within the file before they are
// allocated. Every decoder asks, row by row and within libpng's and libjpeg's own work, whether
// to go on: a stop of the program (or the open work meter spent) ends a decoding at once.
//
//   SDL_Surface* surface = PictureDecoder::Decode("Images/Screens/bkg.jpg", bytes, size);
//   // throws ResourceLoadError: "the picture is 16000 x 16000 pixels by its JPEG header,
//   // more than a picture may have (4096 on a side, 4194304 in all); it is not decoded"
#include <SDL.h>

#include <cstddef>
#include <string>

namespace PictureDecoder {

// The largest picture: thirteen times the pixels of the largest the game ships (a 640 x 480
// screen) and five times its widest side (736), 16 MiB decoded.
constexpr long long kMaxSide = 4096;
constexpr long long kMaxPixels = 4096LL * 1024;
constexpr long long kPixelsPerStep = 256;
// A progressive JPEG passes over all its pixels once a scan; the encoders write about ten.
constexpr int kMaxJpegScans = 100;
// What libpng may hold besides the pixels: its rows, its inflater, chunks it keeps.
constexpr std::size_t kMaxPngMemory = 8 << 20;

// The decoded picture, owned by the caller (SDL_FreeSurface). Throws ResourceLoadError,
// naming location, for a picture refused by the bound or by its decoder, and WorkSpent when
// a stop was asked for (before or during the decoding), never a ResourceLoadError.
SDL_Surface* Decode(const std::string& location, const void* data, std::size_t size);

} // namespace PictureDecoder
