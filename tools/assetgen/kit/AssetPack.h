#pragma once
// The asset pack being written: a folder tree of images, sounds, music and fonts, with
// one "metadata.cfg" per folder describing its files. Resource names are bare file
// names, so the pack refuses a name given twice, even in different folders: the
// engine would otherwise see only one of them.
#include "kit/Canvas.h"
#include "kit/LuaText.h"
#include "kit/MidiWriter.h"
#include "kit/Synth.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace assetgen {

// One file of the pack as written: path relative to the pack's root ('/' separated),
// its size in bytes and a short description (pixel size and frames, duration, …).
struct WrittenAsset
{
    std::string path;
    std::uintmax_t bytes = 0;
    std::string detail;
};

class AssetPack
{
public:
    // Folders are created below root as needed. Nothing is removed from it.
    explicit AssetPack(std::filesystem::path root);

    // Folder arguments are paths inside the pack ('/' separated, "" for the root); names
    // are file names. Metadata (a table, or nil for none) goes into the folder's
    // metadata file. All writers throw std::runtime_error on failure.

    // A PNG. Metadata that lays out frames (numFrames, width, height, gap_y) must fit
    // the picture the way the engine cuts it; width/height without numFrames must equal
    // the picture's size. `framesMayOverhang` lets frames run past the picture's edge
    // (the engine cuts frames without clipping); only test pictures want that.
    void WriteImage(const std::string& folder, const std::string& name, const Canvas& canvas,
                    const LuaValue& metadata = LuaValue(), bool framesMayOverhang = false);
    // An Ogg Vorbis file; its stream serial number is derived from the name.
    void WriteSound(const std::string& folder, const std::string& name, const AudioClip& clip,
                    const LuaValue& metadata = LuaValue());
    // A Standard MIDI File; the song's named parts join the metadata as `parts`.
    void WriteMusic(const std::string& folder, const std::string& name, const MidiSong& song,
                    LuaValue metadata = LuaValue());
    // A copy of a file from outside the pack (fonts).
    void CopyFile(const std::string& folder, const std::string& name,
                  const std::filesystem::path& source);
    void WriteBytes(const std::string& folder, const std::string& name,
                    const std::vector<std::uint8_t>& bytes, const std::string& detail);

    // Writes every folder's metadata file. Call once, after the last asset.
    void Finish();

    const std::filesystem::path& Root() const { return m_Root; }
    const std::vector<WrittenAsset>& Written() const { return m_Written; }

private:
    void Claim(const std::string& folder, const std::string& name);
    void Record(const std::string& folder, const std::string& name, const LuaValue& metadata,
                const std::string& detail);

    std::filesystem::path m_Root;
    std::set<std::string> m_Names;
    std::map<std::string, std::vector<std::pair<std::string, LuaValue>>> m_Metadata;
    std::vector<WrittenAsset> m_Written;
};

// Checks an image's frame metadata against its size the way the engine cuts frames
// (left to right, wrapping to the next row, rows gap_y apart). Returns an empty string
// when it fits, else what is wrong. With `mayOverhang`, frames may run past the edge.
std::string CheckFrameLayout(const LuaValue& metadata, int imageWidth, int imageHeight,
                             bool mayOverhang = false);

} // namespace assetgen
