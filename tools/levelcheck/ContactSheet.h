#pragma once
// The contact sheet of the adventure: one thumbnail per level (the level's first frame
// after the drop, scaled from 640 x 480 to 256 x 192) in a grid five across, each with the
// level's name, file and title under it, written as one PNG so that a person sees every
// level at a glance. Levels without a frame (their build failed) get a dark red tile.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Canvas;

namespace levelcheck {

class ContactSheet
{
public:
    static constexpr int kColumns = 5;
    static constexpr int kThumbWidth = 256;
    static constexpr int kThumbHeight = 192;

    // Keeps a thumbnail of the frame for the level.
    void AddFrame(const std::string& level, Canvas& frame);
    bool HasFrame(const std::string& level) const { return m_Thumbs.count(level) != 0; }

    // Writes the sheet of the levels in that order; files maps each level to its file and
    // titles to its title. False (with the reason) when the file cannot be written.
    bool Write(const std::string& path, const std::vector<std::string>& levels,
               const std::map<std::string, std::string>& files,
               const std::map<std::string, std::string>& titles, std::string& error) const;

private:
    // 0xRRGGBB per pixel, kThumbWidth x kThumbHeight.
    std::map<std::string, std::vector<std::uint32_t>> m_Thumbs;
};

} // namespace levelcheck
