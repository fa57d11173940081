#include "kit/AssetPack.h"

#include "kit/OggWriter.h"
#include "kit/PngWriter.h"
#include "kit/Rng.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace assetgen {

namespace {

const char* const kMetadataFile = "metadata.cfg";

void WriteWholeFile(const fs::path& path, const void* data, std::size_t size)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "/" + name;
}

} // namespace

std::string CheckFrameLayout(const LuaValue& metadata, int imageWidth, int imageHeight,
                             bool mayOverhang)
{
    if (!metadata.IsTable())
        return "";
    const LuaValue& frames = metadata.Get("numFrames");
    const LuaValue& width = metadata.Get("width");
    const LuaValue& height = metadata.Get("height");
    if (!frames.IsInteger()) {
        if (!width.IsNil() && !(width.IsInteger() && width.ToInteger() == imageWidth))
            return "width differs from the picture's width";
        if (!height.IsNil() && !(height.IsInteger() && height.ToInteger() == imageHeight))
            return "height differs from the picture's height";
        return "";
    }
    if (!width.IsInteger() || !height.IsInteger())
        return "numFrames needs integer width and height";
    const long long n = frames.ToInteger(), w = width.ToInteger(), h = height.ToInteger();
    const long long gap = metadata.Get("gap_y").IsInteger() ? metadata.Get("gap_y").ToInteger() : 0;
    if (n < 1 || w < 1 || h < 1 || gap < 0)
        return "frame count and size must be positive";
    long long x = 0, y = 0;
    for (long long i = 0; i < n; ++i) {
        if (imageWidth - w < x) {
            x = 0;
            y += h + gap;
        }
        if (mayOverhang ? (x >= imageWidth || y >= imageHeight)
                        : (x + w > imageWidth || y + h > imageHeight))
            return "frame " + std::to_string(i) + " lies outside the picture";
        x += w;
    }
    return "";
}

AssetPack::AssetPack(fs::path root) : m_Root(std::move(root))
{
    fs::create_directories(m_Root);
}

void AssetPack::Claim(const std::string& folder, const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos || name == kMetadataFile)
        throw std::runtime_error("unusable asset name \"" + name + "\"");
    if (!m_Names.insert(name).second)
        throw std::runtime_error("asset name given twice: \"" + name + "\" (in \"" + folder +
                                 "\")");
}

void AssetPack::Record(const std::string& folder, const std::string& name, const LuaValue& metadata,
                       const std::string& detail)
{
    const std::string path = JoinPath(folder, name);
    m_Written.push_back({path, fs::file_size(m_Root / path), detail});
    if (!metadata.IsNil()) {
        if (!metadata.IsTable())
            throw std::runtime_error("metadata of \"" + name + "\" is not a table");
        m_Metadata[folder].emplace_back(name, metadata);
    }
}

void AssetPack::WriteImage(const std::string& folder, const std::string& name, const Canvas& canvas,
                           const LuaValue& metadata, bool framesMayOverhang)
{
    Claim(folder, name);
    const std::string problem =
        CheckFrameLayout(metadata, canvas.Width(), canvas.Height(), framesMayOverhang);
    if (!problem.empty())
        throw std::runtime_error("image \"" + name + "\": " + problem);
    const std::vector<std::uint8_t> png = EncodePng(canvas);
    WriteWholeFile(m_Root / JoinPath(folder, name), png.data(), png.size());
    std::string detail = std::to_string(canvas.Width()) + " x " + std::to_string(canvas.Height());
    if (metadata.Get("numFrames").IsInteger())
        detail += ", " + std::to_string(metadata.Get("numFrames").ToInteger()) + " frames of " +
                  std::to_string(metadata.Get("width").ToInteger()) + " x " +
                  std::to_string(metadata.Get("height").ToInteger());
    Record(folder, name, metadata, detail);
}

void AssetPack::WriteSound(const std::string& folder, const std::string& name,
                           const AudioClip& clip, const LuaValue& metadata)
{
    Claim(folder, name);
    const auto serial = static_cast<std::uint32_t>(Rng::HashName(name));
    const std::vector<std::uint8_t> ogg = EncodeOgg(clip, serial);
    WriteWholeFile(m_Root / JoinPath(folder, name), ogg.data(), ogg.size());
    char detail[80];
    std::snprintf(detail, sizeof detail, "%.3f s, %s, %d Hz",
                  static_cast<double>(clip.Frames()) / clip.rate,
                  clip.channels == 1 ? "mono" : "stereo", clip.rate);
    Record(folder, name, metadata, detail);
}

void AssetPack::WriteMusic(const std::string& folder, const std::string& name, const MidiSong& song,
                           LuaValue metadata)
{
    Claim(folder, name);
    const std::vector<std::uint8_t> midi = song.Encode();
    WriteWholeFile(m_Root / JoinPath(folder, name), midi.data(), midi.size());
    if (!song.Parts().empty())
        metadata.Set("parts", song.PartsTable());
    Record(folder, name, metadata, std::to_string(song.Parts().size()) + " parts");
}

void AssetPack::CopyFile(const std::string& folder, const std::string& name, const fs::path& source)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + source.string());
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    WriteBytes(folder, name, bytes, "copy of " + source.string());
}

void AssetPack::WriteBytes(const std::string& folder, const std::string& name,
                           const std::vector<std::uint8_t>& bytes, const std::string& detail)
{
    Claim(folder, name);
    WriteWholeFile(m_Root / JoinPath(folder, name), bytes.data(), bytes.size());
    Record(folder, name, LuaValue(), detail);
}

void AssetPack::Finish()
{
    for (const auto& [folder, entries] : m_Metadata) {
        const std::string text = MetadataFileText(entries);
        const std::string path = JoinPath(folder, kMetadataFile);
        WriteWholeFile(m_Root / path, text.data(), text.size());
        m_Written.push_back({path, text.size(), std::to_string(entries.size()) + " entries"});
    }
    m_Metadata.clear();
}

} // namespace assetgen
