#include "bass/VorbisStream.h"

#include "bass/bass.h"

#include <SDL/SDL_endian.h>

#include <cstdio>
#include <cstring>

namespace bassx {

VorbisStream::~VorbisStream()
{
    if (m_Open) {
        ov_clear(&m_File);
    }
}

std::size_t VorbisStream::ReadFn(void* ptr, std::size_t size, std::size_t count, void* source)
{
    Memory* m = static_cast<Memory*>(source);
    if (size == 0 || m->pos >= m->size) {
        return 0;
    }
    std::size_t items = (m->size - m->pos) / size;
    if (items > count) {
        items = count;
    }
    std::memcpy(ptr, m->data + m->pos, items * size);
    m->pos += items * size;
    return items;
}

int VorbisStream::SeekFn(void* source, ogg_int64_t offset, int whence)
{
    Memory* m = static_cast<Memory*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<ogg_int64_t>(m->pos);
    } else if (whence == SEEK_END) {
        base = static_cast<ogg_int64_t>(m->size);
    } else if (whence != SEEK_SET) {
        return -1;
    }
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(m->size)) {
        return -1;
    }
    m->pos = static_cast<std::size_t>(target);
    return 0;
}

long VorbisStream::TellFn(void* source)
{
    return static_cast<long>(static_cast<Memory*>(source)->pos);
}

int VorbisStream::Open(const std::uint8_t* data, std::size_t size)
{
    m_Memory = Memory{data, size, 0};
    ov_callbacks callbacks{&ReadFn, &SeekFn, nullptr, &TellFn};
    if (ov_open_callbacks(&m_Memory, &m_File, nullptr, 0, callbacks) != 0) {
        return BASS_ERROR_FILEFORM;
    }
    m_Open = true;
    vorbis_info* info = ov_info(&m_File, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        return BASS_ERROR_FILEFORM;
    }
    // A rate no output plays (the mix runs at 44100 Hz) would only make a small file last
    // long or convert as an int to nonsense.
    if (info->channels > 2 || info->rate > kMaxRate) {
        return BASS_ERROR_FORMAT;
    }
    m_Channels = info->channels;
    m_Rate = static_cast<int>(info->rate);
    ogg_int64_t total = ov_pcm_total(&m_File, -1);
    m_Frames = total > 0 ? static_cast<std::uint64_t>(total) : 0;
    return BASS_OK;
}

bool VorbisStream::Seek(std::uint64_t frame)
{
    if (!m_Open || frame > m_Frames) {
        return false;
    }
    if (ov_pcm_seek(&m_File, static_cast<ogg_int64_t>(frame)) != 0) {
        return false;
    }
    m_Ended = false;
    return true;
}

int VorbisStream::Read(std::int16_t* out, int maxFrames)
{
    if (!m_Open || m_Ended || maxFrames <= 0) {
        return 0;
    }
    const int bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
    const int frameBytes = m_Channels * 2;
    char* dest = reinterpret_cast<char*>(out);
    int wanted = maxFrames * frameBytes;
    int got = 0;
    while (got < wanted) {
        int link = 0;
        long n = ov_read(&m_File, dest + got, wanted - got, bigEndian, 2, 1, &link);
        if (n == OV_HOLE) {
            continue;
        }
        if (n <= 0) {
            m_Ended = true;
            break;
        }
        vorbis_info* info = ov_info(&m_File, link);
        if (!info || info->channels != m_Channels) {
            m_Ended = true;
            break;
        }
        got += static_cast<int>(n);
    }
    return got / frameBytes;
}

} // namespace bassx
