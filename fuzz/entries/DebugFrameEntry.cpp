// A debugger connection's bytes: the hello a client sends first, then the framed messages.
// The frames must come out the same whether the bytes arrive at once or cut at places the
// input chooses; every message then runs as a command in a debugger over a state of its own.
#include "FuzzEntries.h"
#include "FuzzHost.h"

#include "debugger/DebugFrameParser.h"
#include "debugger/DebugHello.h"
#include "debugger/LuaDebugger.h"

#include <algorithm>
#include <vector>

namespace fuzz {

namespace {

// Messages run as commands per input; more only repeat what the first ones reach.
const size_t kMaxCommands = 16;

struct Outcome
{
    std::vector<std::string> messages;
    bool tooLarge = false;
    size_t pending = 0;
};

// Takes out every whole message the parser holds.
void Drain(DebugFrameParser& parser, Outcome& outcome)
{
    std::string payload;
    for (;;) {
        const DebugFrameParser::Result result = parser.Next(payload);
        if (result == DebugFrameParser::Result::Message) {
            if (payload.empty())
                Fail("the frame parser handed out an empty message");
            outcome.messages.push_back(payload);
            continue;
        }
        outcome.tooLarge = result == DebugFrameParser::Result::TooLarge;
        return;
    }
}

// The stream fed in pieces whose sizes come from the stream's first byte (1 to 8 bytes,
// growing and shrinking), draining after each piece as the server does after each read.
Outcome ParseInPieces(const char* bytes, size_t size)
{
    Outcome outcome;
    DebugFrameParser parser;
    unsigned step = size > 0 ? static_cast<unsigned char>(bytes[0]) : 0;
    for (size_t at = 0; at < size;) {
        step = step * 1103515245u + 12345u;
        const size_t piece = std::min<size_t>(size - at, 1 + (step >> 16) % 8);
        parser.Feed(bytes + at, piece);
        at += piece;
        Drain(parser, outcome);
    }
    Drain(parser, outcome);
    outcome.pending = outcome.tooLarge ? 0 : parser.Pending();
    return outcome;
}

Outcome ParseAtOnce(const char* bytes, size_t size)
{
    Outcome outcome;
    DebugFrameParser parser;
    parser.Feed(bytes, size);
    Drain(parser, outcome);
    outcome.pending = outcome.tooLarge ? 0 : parser.Pending();
    return outcome;
}

} // namespace

void RunDebugFrames(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    const char* bytes = reinterpret_cast<const char*>(data);
    if (size >= DebugHello::SIZE) {
        const DebugHello hello = DebugHello::Parse(bytes);
        const DebugHello again =
            DebugHello::Parse(DebugHello::Encode(hello.magic, hello.port, hello.name).data());
        if (again.magic != hello.magic || again.port != hello.port || again.name != hello.name)
            Fail("a hello read, encoded and read again changed");
        if (hello.name.size() > 32)
            Fail("a hello's name is longer than its 32 bytes");
        bytes += DebugHello::SIZE;
        size -= DebugHello::SIZE;
    }
    const Outcome whole = ParseAtOnce(bytes, size);
    const Outcome pieces = ParseInPieces(bytes, size);
    if (whole.messages != pieces.messages || whole.tooLarge != pieces.tooLarge ||
        whole.pending != pieces.pending)
        Fail("the frames differ with the way the bytes arrive: " +
             std::to_string(whole.messages.size()) + " messages at once, " +
             std::to_string(pieces.messages.size()) + " in pieces");

    if (whole.messages.empty())
        return;
    // The debugger as the engine starts it, over a state of its own; it listens on a free
    // loopback port that no client ever reaches.
    OwnedState debugged;
    SandboxScriptState(debugged.L());
    SetDebuggedLuaState("fuzz", debugged.L());
    InitLuaDebugger(ScratchFolder() + "debug-connections.txt", 0, "127.0.0.1");
    LuaDebugger* debugger = LuaDebugger::Get();
    if (!debugger)
        Fail("the debugger did not start");
    SandboxScriptState(debugger->GetCommandState());
    for (size_t i = 0; i < whole.messages.size() && i < kMaxCommands; ++i) {
        ScriptLimits commandLimits(debugger->GetCommandState(), 1000000, 64u << 20);
        ScriptLimits debuggedLimits(debugged.L(), 1000000, 64u << 20);
        debugger->RunCommand(whole.messages[i]);
    }
    ShutdownLuaDebugger();
    SetDebuggedLuaState("", nullptr);
}

} // namespace fuzz
