#pragma once
// Cuts the byte stream of one debugger connection into messages. A message is its payload
// length (4 bytes, unsigned, little-endian) followed by the payload; a length of 0 carries
// no message. Bytes may arrive split anywhere or several messages at once; the parser keeps
// what is incomplete until the rest arrives. A length above MAX_MESSAGE_BYTES breaks the
// protocol: the parser then refuses everything until Reset, and the connection is dropped.
#include <cstddef>
#include <cstdint>
#include <string>

class DebugFrameParser
{
public:
    // The largest payload a message may carry: 16 MiB.
    static constexpr uint32_t MAX_MESSAGE_BYTES = 16u * 1024u * 1024u;

    enum class Result {
        Message,  // a whole message was taken out into the payload
        NeedMore, // nothing whole is buffered
        TooLarge  // a length past the cap was met; the stream is unusable
    };

    // Adds bytes that arrived.
    void Feed(const char* bytes, std::size_t n);
    void Feed(const std::string& bytes) { Feed(bytes.data(), bytes.size()); }
    // Takes the next whole message out (payload without the length), skipping empty ones.
    Result Next(std::string& payload);
    // Bytes held that belong to no whole message yet.
    std::size_t Pending() const { return m_Buffer.size() - m_Start; }
    void Reset();

private:
    std::string m_Buffer;
    std::size_t m_Start = 0;
    bool m_Broken = false;
};
