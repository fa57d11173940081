#pragma once
// Readers the asset generator's tests use to check what it wrote with the same libraries
// the game reads it with: SDL_image for pictures, vorbisfile for sounds, Lua for
// metadata text. Each throws std::runtime_error when the bytes do not decode.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace assetgentest {

struct Picture
{
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> rgba; // straight alpha, rows top to bottom

    const std::uint8_t* At(int x, int y) const
    {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};
Picture DecodePicture(const std::vector<std::uint8_t>& bytes);

struct Audio
{
    int rate = 0;
    int channels = 0;
    long frames = 0;            // per channel, as the stream reports
    std::vector<float> samples; // interleaved, all decoded
};
Audio DecodeOgg(const std::vector<std::uint8_t>& bytes);

// Runs a metadata file's text in a fresh Lua state where Metadata collects its argument
// tables, and returns file name -> the Lua text of that file's table re-serialised by a
// tiny dumper (keys sorted), e.g. {gap_y=5,height=20,numFrames=7,width=30}.
std::map<std::string, std::string> LoadMetadata(const std::string& text);

std::vector<std::uint8_t> ReadBytes(const std::string& path);

// A temporary folder removed with everything in it when the object dies.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

} // namespace assetgentest
