#include "TestSounds.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <stdexcept>

namespace bbtest {

namespace {

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, unsigned value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

void Drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::string& out)
{
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            AppendPages(stream, out, false);
        }
    }
}

} // namespace

std::string MakeWav(int channels, int rate, int bits, const std::vector<std::int16_t>& samples)
{
    const unsigned bytesPerSample = bits / 8;
    const unsigned dataBytes = static_cast<unsigned>(samples.size()) * bytesPerSample;
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * bytesPerSample);
    Put16(out, channels * bytesPerSample);
    Put16(out, bits);
    out += "data";
    Put32(out, dataBytes);
    for (std::int16_t s : samples) {
        if (bits == 8) {
            out += static_cast<char>(s / 256 + 128);
        } else {
            Put16(out, static_cast<std::uint16_t>(s));
        }
    }
    return out;
}

std::string MakeOgg(int channels, int rate, const std::vector<float>& samples)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.5f) != 0) {
        throw std::runtime_error("vorbis encoder set-up failed");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 77);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    std::string out;
    AppendPages(stream, out, true);

    const int frames = static_cast<int>(samples.size()) / channels;
    for (int done = 0; done < frames;) {
        const int n = std::min(1024, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c) {
                buffer[c][i] = samples[(done + i) * channels + c];
            }
        }
        vorbis_analysis_wrote(&dsp, n);
        Drain(dsp, block, stream, out);
        done += n;
    }
    vorbis_analysis_wrote(&dsp, 0);
    Drain(dsp, block, stream, out);
    AppendPages(stream, out, true);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<float> Sine(int channels, int rate, double hz, int frames, float amplitude)
{
    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const float v = amplitude * static_cast<float>(std::sin(2 * M_PI * hz * i / rate));
        out.insert(out.end(), channels, v);
    }
    return out;
}

std::vector<short> Render(int frames)
{
    std::vector<short> out(static_cast<std::size_t>(frames) * 2);
    bassx::RenderMix(out.data(), frames);
    return out;
}

void OfflineAudio::SetUp()
{
    ASSERT_TRUE(BASS_Init(1, 44100, bassx::DEVICE_OFFLINE, nullptr, nullptr))
        << BASS_ErrorGetCode();
    BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, 100);
    BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 100);
    BASS_SetConfig(BASS_CONFIG_PAUSE_NOPLAY, 0);
}

void OfflineAudio::TearDown()
{
    bassx::SetMusicSource(nullptr, nullptr);
    EXPECT_TRUE(BASS_Free());
}

HSAMPLE OfflineAudio::LoadSample(const std::string& file, std::uint32_t max, std::uint32_t flags)
{
    HSAMPLE sample =
        BASS_SampleLoad(true, file.data(), 0, static_cast<std::uint32_t>(file.size()), max, flags);
    EXPECT_NE(sample, 0u) << "error " << BASS_ErrorGetCode();
    return sample;
}

HSAMPLE OfflineAudio::ConstantSample(std::int16_t value, int frames)
{
    return LoadSample(MakeWav(1, 44100, 16, std::vector<std::int16_t>(frames, value)));
}

HCHANNEL OfflineAudio::PlayChannel(HSAMPLE sample)
{
    HCHANNEL channel = BASS_SampleGetChannel(sample, false);
    EXPECT_NE(channel, 0u) << "error " << BASS_ErrorGetCode();
    EXPECT_TRUE(BASS_ChannelPlay(channel, true));
    return channel;
}

} // namespace bbtest
