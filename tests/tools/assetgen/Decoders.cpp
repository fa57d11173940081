#include "Decoders.h"

#include <SDL/SDL_image.h>
#include <lua.hpp>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace assetgentest {

Picture DecodePicture(const std::vector<std::uint8_t>& bytes)
{
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = rw ? IMG_Load_RW(rw, 1) : nullptr;
    if (!loaded)
        throw std::runtime_error(std::string("picture does not decode: ") + SDL_GetError());
    Picture p;
    p.width = loaded->w;
    p.height = loaded->h;
    p.hasAlpha = loaded->format->Amask != 0;
    SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, p.width, p.height, 32, 0x000000FF,
                                             0x0000FF00, 0x00FF0000, 0xFF000000);
    // Copy without blending: the bytes as stored, alpha included.
    SDL_SetAlpha(loaded, 0, 255);
    SDL_BlitSurface(loaded, nullptr, rgba, nullptr);
    SDL_FreeSurface(loaded);
    SDL_LockSurface(rgba);
    p.rgba.resize(static_cast<std::size_t>(p.width) * p.height * 4);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(&p.rgba[static_cast<std::size_t>(y) * p.width * 4],
                    static_cast<std::uint8_t*>(rgba->pixels) + y * rgba->pitch,
                    static_cast<std::size_t>(p.width) * 4);
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return p;
}

namespace {

struct MemoryStream
{
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
};

size_t ReadMem(void* ptr, size_t size, size_t count, void* source)
{
    auto* m = static_cast<MemoryStream*>(source);
    const size_t n = std::min(size * count, m->bytes->size() - m->at);
    std::memcpy(ptr, m->bytes->data() + m->at, n);
    m->at += n;
    return size ? n / size : 0;
}

int SeekMem(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<MemoryStream*>(source);
    const long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->at : m->bytes->size();
    const long long to = base + offset;
    if (to < 0 || to > static_cast<long long>(m->bytes->size()))
        return -1;
    m->at = static_cast<std::size_t>(to);
    return 0;
}

long TellMem(void* source)
{
    return static_cast<long>(static_cast<MemoryStream*>(source)->at);
}

} // namespace

Audio DecodeOgg(const std::vector<std::uint8_t>& bytes)
{
    MemoryStream stream{&bytes, 0};
    OggVorbis_File vf;
    const ov_callbacks callbacks = {ReadMem, SeekMem, nullptr, TellMem};
    if (ov_open_callbacks(&stream, &vf, nullptr, 0, callbacks) != 0)
        throw std::runtime_error("not an Ogg Vorbis stream");
    Audio a;
    const vorbis_info* info = ov_info(&vf, -1);
    a.rate = static_cast<int>(info->rate);
    a.channels = info->channels;
    a.frames = static_cast<long>(ov_pcm_total(&vf, -1));
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            throw std::runtime_error("Ogg Vorbis stream broken");
        }
        if (n == 0)
            break;
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < a.channels; ++c)
                a.samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return a;
}

namespace {

const char* const kCollector = R"(
Collected = {}
function Metadata(t)
    for k, v in pairs(t) do Collected[k] = v end
end
function Dump(v)
    if type(v) ~= "table" then
        if type(v) == "string" then return string.format("%q", v) end
        return tostring(v)
    end
    local keys = {}
    for k in pairs(v) do table.insert(keys, k) end
    table.sort(keys, function(a, b) return tostring(a) < tostring(b) end)
    local parts = {}
    for _, k in ipairs(keys) do
        local key = type(k) == "number" and ("[" .. k .. "]") or k
        table.insert(parts, key .. "=" .. Dump(v[k]))
    end
    return "{" .. table.concat(parts, ",") .. "}"
end
)";

} // namespace

std::map<std::string, std::string> LoadMetadata(const std::string& text)
{
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    std::map<std::string, std::string> out;
    std::string error;
    if (luaL_dostring(L, kCollector) != 0 ||
        luaL_loadbuffer(L, text.data(), text.size(), "metadata") != 0 ||
        lua_pcall(L, 0, 0, 0) != 0) {
        error = lua_tostring(L, -1);
    } else {
        lua_getglobal(L, "Collected");
        lua_pushnil(L);
        while (lua_next(L, -2) != 0) {
            const std::string key = lua_tostring(L, -2);
            lua_getglobal(L, "Dump");
            lua_pushvalue(L, -2);
            lua_call(L, 1, 1);
            out[key] = lua_tostring(L, -1);
            lua_pop(L, 2);
        }
    }
    lua_close(L);
    if (!error.empty())
        throw std::runtime_error("metadata does not run: " + error);
    return out;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

TempDir::TempDir()
{
    std::string templ = (fs::temp_directory_path() / "assetgen-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_Path = templ;
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(m_Path, ec);
}

} // namespace assetgentest
