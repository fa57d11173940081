// The debugger's wire format: framing of messages, the hello record and the connection
// list file.
#include "core/SaveTurn.h"
#include "debugger/DebugConnectionList.h"
#include "debugger/DebugFrameParser.h"
#include "debugger/DebugHello.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {
std::string Frame(const std::string& payload)
{
    const uint32_t n = static_cast<uint32_t>(payload.size());
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out + payload;
}

std::string Length(uint32_t n)
{
    std::string out;
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return out;
}

// Every message the parser yields from the chunks, fed one after another; "!" marks the
// point where the parser declared the stream broken.
std::vector<std::string> Parse(const std::vector<std::string>& chunks)
{
    DebugFrameParser parser;
    std::vector<std::string> messages;
    for (const std::string& chunk : chunks) {
        parser.Feed(chunk);
        std::string payload;
        DebugFrameParser::Result result;
        while ((result = parser.Next(payload)) == DebugFrameParser::Result::Message)
            messages.push_back(payload);
        if (result == DebugFrameParser::Result::TooLarge) {
            messages.push_back("!");
            break;
        }
    }
    return messages;
}
} // namespace

TEST(DebugFrameParser, CutsByteStringsIntoMessages)
{
    const std::string ab = Frame("DebugGo()") + Frame("DebugOn()");
    struct Case
    {
        const char* what;
        std::vector<std::string> chunks;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"one whole frame", {Frame("hello")}, {"hello"}},
        {"two frames joined", {ab}, {"DebugGo()", "DebugOn()"}},
        {"split inside the length", {ab.substr(0, 2), ab.substr(2)}, {"DebugGo()", "DebugOn()"}},
        {"split inside the payload",
         {ab.substr(0, 7), ab.substr(7, 9), ab.substr(16)},
         {"DebugGo()", "DebugOn()"}},
        {"empty frames carry nothing", {Length(0) + Frame("x") + Length(0)}, {"x"}},
        {"payload with NULs and UTF-16 mark",
         {Frame(std::string("\xFF\xFE"
                            "a\0b\0",
                            6))},
         {std::string("\xFF\xFE"
                      "a\0b\0",
                      6)}},
        {"incomplete payload waits", {Length(10) + "abc"}, {}},
        {"cap itself is allowed to wait", {Length(DebugFrameParser::MAX_MESSAGE_BYTES)}, {}},
        {"past the cap breaks",
         {Frame("ok") + Length(DebugFrameParser::MAX_MESSAGE_BYTES + 1)},
         {"ok", "!"}},
        {"huge length breaks", {Length(0xFFFFFFFFu) + "abc"}, {"!"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.chunks), c.messages) << c.what;

    // Byte by byte gives the same as at once.
    std::vector<std::string> single;
    for (char byte : ab)
        single.push_back(std::string(1, byte));
    EXPECT_EQ(Parse(single), (std::vector<std::string>{"DebugGo()", "DebugOn()"}));
}

TEST(DebugFrameParser, BrokenStreamStaysBrokenUntilReset)
{
    DebugFrameParser parser;
    parser.Feed(Length(DebugFrameParser::MAX_MESSAGE_BYTES + 1));
    std::string payload;
    EXPECT_EQ(parser.Next(payload), DebugFrameParser::Result::TooLarge);
    parser.Feed(Frame("late"));
    EXPECT_EQ(parser.Next(payload), DebugFrameParser::Result::TooLarge);
    parser.Reset();
    parser.Feed(Frame("late"));
    ASSERT_EQ(parser.Next(payload), DebugFrameParser::Result::Message);
    EXPECT_EQ(payload, "late");
}

// Random and mutated streams: valid frames with bytes flipped, cut at random points, with
// random lengths. Whatever arrives, the parser neither reads out of bounds nor holds more
// than one capped message, and valid streams come out whole and in order.
TEST(DebugFrameParser, SurvivesRandomAndMutatedFrames)
{
    std::mt19937 random(20261207u);
    auto below = [&](uint32_t n) { return n == 0 ? 0u : uint32_t(random() % n); };
    for (int round = 0; round < 100000; ++round) {
        std::vector<std::string> payloads;
        std::string stream;
        const int frames = 1 + below(4);
        for (int f = 0; f < frames; ++f) {
            std::string payload(below(64), '\0');
            for (char& byte : payload)
                byte = static_cast<char>(below(256));
            if (!payload.empty())
                payloads.push_back(payload);
            stream += Frame(payload);
        }
        const uint32_t mode = below(4);
        if (mode == 1) {
            for (uint32_t flips = 1 + below(4); flips > 0; --flips)
                stream[below(stream.size())] = static_cast<char>(below(256));
        } else if (mode == 2) {
            stream.resize(below(stream.size() + 1));
        } else if (mode == 3) {
            std::string noise(below(48), '\0');
            for (char& byte : noise)
                byte = static_cast<char>(below(256));
            stream = noise;
        }
        DebugFrameParser parser;
        std::vector<std::string> got;
        std::size_t at = 0;
        bool broken = false;
        while (at < stream.size() && !broken) {
            const std::size_t piece = 1 + below(static_cast<uint32_t>(stream.size() - at));
            parser.Feed(stream.data() + at, piece);
            at += piece;
            std::string payload;
            DebugFrameParser::Result result;
            while ((result = parser.Next(payload)) == DebugFrameParser::Result::Message) {
                ASSERT_LE(payload.size(), DebugFrameParser::MAX_MESSAGE_BYTES);
                got.push_back(payload);
            }
            broken = result == DebugFrameParser::Result::TooLarge;
            ASSERT_LE(parser.Pending(), DebugFrameParser::MAX_MESSAGE_BYTES + 4u);
        }
        if (mode == 0) {
            ASSERT_EQ(got, payloads) << "round " << round;
        }
    }
}

TEST(DebugHello, ReadsMagicPortAndName)
{
    const DebugHello hello =
        DebugHello::Parse(DebugHello::Encode(0xFEDC, 0x12345678u, "LuaDebugger").data());
    EXPECT_TRUE(hello.IsValid());
    EXPECT_EQ(hello.port, 0x5678);
    EXPECT_EQ(hello.name, "LuaDebugger");

    // A name without a NUL is all 32 bytes; another magic is not a hello.
    const std::string full(32, 'n');
    const DebugHello unterminated = DebugHello::Parse(DebugHello::Encode(0xFEDD, 1, full).data());
    EXPECT_FALSE(unterminated.IsValid());
    EXPECT_EQ(unterminated.name, full);
}

TEST(DebugConnectionList, WritesAndReadsPairsSkippingBadOnes)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/connections.txt";
    EXPECT_TRUE(DebugConnectionList::Read(path).empty());

    const std::vector<DebugConnectionList::Entry> entries = {
        {"LuaDebugger", NetAddress(127, 0, 0, 1, 4000)}, {"Other", NetAddress(10, 1, 2, 3, 9)}};
    PlayerFileKeeper keeper(DebugConnectionList::kWording);
    ASSERT_EQ(KEEPER_SAVED, DebugConnectionList::Write(keeper, path, entries).outcome);
    EXPECT_EQ(bbtest::ReadFile(path), "LuaDebugger\n127.0.0.1:4000\nOther\n10.1.2.3:9\n");

    bbtest::WriteFile(path, "  First \r\n\t127.0.0.1:1 \r\nNoColon\n127.0.0.1\n"
                            "BadPort\n127.0.0.1:x\nLast\n127.0.0.2:2\nHalf\n");
    const std::vector<DebugConnectionList::Entry> read = DebugConnectionList::Read(path);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "First");
    EXPECT_EQ(read[0].address, NetAddress(127, 0, 0, 1, 1));
    EXPECT_EQ(read[1].name, "Last");
    EXPECT_EQ(read[1].address.Format(), "127.0.0.2:2");

    // An empty name line ends the list.
    bbtest::WriteFile(path, "A\n127.0.0.1:1\n\nB\n127.0.0.1:2\n");
    EXPECT_EQ(DebugConnectionList::Read(path).size(), 1u);
}

// The list's keeper: a list over its limit is refused naming the limit in its own unit, and
// a list another copy wrote after this one read it is kept, never written over.
TEST(DebugConnectionList, AListIsReadWithinItsLimitAndAnotherCopysListIsKept)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/connections.txt";
    bbtest::WriteFile(path, std::string(64 * 1024 + 1, 'x'));
    std::string text, reason;
    EXPECT_EQ(USERFILE_REFUSED, ReadRegularFile(path, 64 * 1024, text, reason));
    EXPECT_EQ("it is larger than the 64 KiB a file of the user may hold", reason);

    PlayerFileKeeper keeper(DebugConnectionList::kWording);
    bbtest::WriteFile(path, "LuaDebugger\n127.0.0.1:4000\n");
    ASSERT_EQ(1u, DebugConnectionList::Read(keeper, path).size());
    const std::vector<DebugConnectionList::Entry> two = {
        {"LuaDebugger", NetAddress(127, 0, 0, 1, 4000)}, {"Other", NetAddress(127, 0, 0, 1, 9)}};
    bbtest::WriteFile(path, "Theirs\n127.0.0.1:5000\n");
    EXPECT_EQ(KEEPER_REFUSED, DebugConnectionList::Write(keeper, path, two).outcome);
    EXPECT_EQ(KEEPER_HELD, DebugConnectionList::Write(keeper, path, two).outcome);
    EXPECT_EQ("Theirs\n127.0.0.1:5000\n", bbtest::ReadFile(path));
}

TEST(DebugConnectionList, AListThatCannotBeWrittenKeepsTheOldOneWhole)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/connections.txt";
    const std::vector<DebugConnectionList::Entry> one = {
        {"LuaDebugger", NetAddress(127, 0, 0, 1, 4000)}};
    PlayerFileKeeper keeper(DebugConnectionList::kWording);
    ASSERT_EQ(KEEPER_SAVED, DebugConnectionList::Write(keeper, path, one).outcome);
    const std::string old = bbtest::ReadFile(path);

    std::vector<DebugConnectionList::Entry> many(50, one.front());
    bbtest::LimitedRun full =
        bbtest::RunWithFileSizeLimit(static_cast<rlim_t>(old.size() + 8), [&] {
            return DebugConnectionList::Write(keeper, path, many).error;
        });
    EXPECT_EQ(EFBIG, full.status);
    EXPECT_EQ(old, bbtest::ReadFile(path));
    int files = 0; // besides the lock of the turn to save
    for (const auto& entry : std::filesystem::directory_iterator(home.Path()))
        files += entry.is_regular_file() && entry.path().filename() != SaveTurn::kLockName;
    EXPECT_EQ(1, files);

    // Once there is room again the list is replaced (reading keeps its last 16 pairs).
    EXPECT_EQ(KEEPER_SAVED, DebugConnectionList::Write(keeper, path, many).outcome);
    EXPECT_EQ(16u, DebugConnectionList::Read(path).size());
}
