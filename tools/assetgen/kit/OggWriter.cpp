#include "kit/OggWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace assetgen {

namespace {

// Owns the libvorbis and libogg state of one encoding run.
class VorbisEncoder
{
public:
    VorbisEncoder(const AudioClip& clip, std::uint32_t serial, float quality)
    {
        vorbis_info_init(&m_Info);
        if (vorbis_encode_init_vbr(&m_Info, clip.channels, clip.rate, quality) != 0) {
            vorbis_info_clear(&m_Info);
            throw std::runtime_error("the Vorbis encoder refused the clip's layout");
        }
        vorbis_comment_init(&m_Comment);
        vorbis_analysis_init(&m_Dsp, &m_Info);
        vorbis_block_init(&m_Dsp, &m_Block);
        ogg_stream_init(&m_Stream, static_cast<int>(serial & 0x7FFFFFFF));
    }
    ~VorbisEncoder()
    {
        ogg_stream_clear(&m_Stream);
        vorbis_block_clear(&m_Block);
        vorbis_dsp_clear(&m_Dsp);
        vorbis_comment_clear(&m_Comment);
        vorbis_info_clear(&m_Info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    void WriteHeaders()
    {
        ogg_packet id, comment, code;
        vorbis_analysis_headerout(&m_Dsp, &m_Comment, &id, &comment, &code);
        ogg_stream_packetin(&m_Stream, &id);
        ogg_stream_packetin(&m_Stream, &comment);
        ogg_stream_packetin(&m_Stream, &code);
        // Audio starts on a fresh page, as decoders expect.
        ogg_page page;
        while (ogg_stream_flush(&m_Stream, &page) != 0)
            Append(page);
    }

    void WriteSamples(const AudioClip& clip)
    {
        const std::size_t frames = clip.Frames(), chunk = 1024;
        for (std::size_t at = 0; at < frames; at += chunk) {
            const int n = static_cast<int>(std::min(chunk, frames - at));
            float** buffer = vorbis_analysis_buffer(&m_Dsp, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < clip.channels; ++c)
                    buffer[c][i] = clip.samples[(at + i) * clip.channels + c];
            vorbis_analysis_wrote(&m_Dsp, n);
            Drain();
        }
        vorbis_analysis_wrote(&m_Dsp, 0); // end of stream
        Drain();
    }

    std::vector<std::uint8_t> TakeBytes() { return std::move(m_Bytes); }

private:
    void Drain()
    {
        while (vorbis_analysis_blockout(&m_Dsp, &m_Block) == 1) {
            vorbis_analysis(&m_Block, nullptr);
            vorbis_bitrate_addblock(&m_Block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&m_Dsp, &packet)) {
                ogg_stream_packetin(&m_Stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&m_Stream, &page) != 0)
                    Append(page);
            }
        }
        ogg_page page;
        if (m_Stream.e_o_s)
            while (ogg_stream_flush(&m_Stream, &page) != 0)
                Append(page);
    }

    void Append(const ogg_page& page)
    {
        m_Bytes.insert(m_Bytes.end(), page.header, page.header + page.header_len);
        m_Bytes.insert(m_Bytes.end(), page.body, page.body + page.body_len);
    }

    vorbis_info m_Info;
    vorbis_comment m_Comment;
    vorbis_dsp_state m_Dsp;
    vorbis_block m_Block;
    ogg_stream_state m_Stream;
    std::vector<std::uint8_t> m_Bytes;
};

} // namespace

std::vector<std::uint8_t> EncodeOgg(const AudioClip& clip, std::uint32_t serial, float quality)
{
    if (clip.channels != 1 && clip.channels != 2)
        throw std::invalid_argument("audio clips are mono or stereo");
    if (clip.rate != 44100 && clip.rate != 22050)
        throw std::invalid_argument("audio clips run at 44100 or 22050 Hz");
    if (clip.Frames() == 0)
        throw std::invalid_argument("an audio clip needs at least one sample");
    VorbisEncoder encoder(clip, serial, quality);
    encoder.WriteHeaders();
    encoder.WriteSamples(clip);
    return encoder.TakeBytes();
}

} // namespace assetgen
