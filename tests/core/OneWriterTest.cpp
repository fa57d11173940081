// Every file the game writes goes through the one writer (core/FileWriter): no source of the
// game (the engine, the arcade, the stand-in layers, game/, the level check) outside it opens
// a file for writing by itself. The sources are searched, comments left out, for every way C, C++,
// POSIX and SDL have to open a file for writing; a call is named with its file and line.
//
// A few files may open one themselves, each for a reason the writer cannot serve, and each
// only without following a link at the place it opens (O_NOFOLLOW): the locks (a lock file is
// locked, never written), and the crash reporter, a stand-in layer below the engine whose
// signal handler may call nothing but the system, which writes only new files (O_EXCL) in a
// report folder it has just made.
//
// The player's kind of write, which follows the player's links, is called by the keeper of
// the player's files alone (core/PlayerFileKeeper): no file is written that way around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSourceRoot = fs::path(BB_SOURCE_DIR);

// The writer itself.
const char* const kWriter = "MakoEngine/Source/core/FileWriter.cpp";

// Files that may create a file themselves, and what every create there must carry besides.
const std::map<std::string, std::vector<std::string>> kOwnCreates = {
    {"platform/win32/InstanceLock.cpp", {"O_NOFOLLOW"}},
    {"MakoEngine/Source/core/SaveTurn.cpp", {"O_NOFOLLOW"}},
    // The new files of the game's own output, also the crash reporter's (which sits below the
    // engine and writes in a signal handler).
    {"platform/win32/OwnFiles.cpp", {"O_NOFOLLOW", "O_EXCL"}},
};

// The text with comments blanked (line ends kept, so line numbers hold); string literals stay.
std::string WithoutComments(const std::string& text)
{
    std::string out = text;
    enum { CODE, LINE, BLOCK, STRING, CHAR } state = CODE;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        const char next = i + 1 < out.size() ? out[i + 1] : '\0';
        switch (state) {
        case CODE:
            if (c == '/' && next == '/')
                state = LINE;
            else if (c == '/' && next == '*')
                state = BLOCK;
            else if (c == '"')
                state = STRING;
            else if (c == '\'')
                state = CHAR;
            if (state == LINE || state == BLOCK)
                out[i] = ' ';
            break;
        case LINE:
            if (c == '\n')
                state = CODE;
            else
                out[i] = ' ';
            break;
        case BLOCK:
            if (c == '*' && next == '/') {
                out[i] = out[i + 1] = ' ';
                ++i;
                state = CODE;
            } else if (c != '\n') {
                out[i] = ' ';
            }
            break;
        case STRING:
        case CHAR:
            if (c == '\\')
                ++i;
            else if (c == (state == STRING ? '"' : '\''))
                state = CODE;
            break;
        }
    }
    return out;
}

int LineAt(const std::string& text, std::size_t offset)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// The call's text from its name to the end of its statement.
std::string StatementAt(const std::string& text, std::size_t offset)
{
    const std::size_t end = text.find(';', offset);
    return text.substr(offset, end == std::string::npos ? std::string::npos : end - offset);
}

// Whether the call's text holds a flag that opens for writing.
bool HasWriteFlag(const std::string& call)
{
    for (const char* flag : {"O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND", "O_TMPFILE"})
        if (call.find(flag) != std::string::npos)
            return true;
    return false;
}

// Whether a string literal after the call's first argument holds a mode that writes ("w",
// "a", "r+").
bool HasWriteMode(const std::string& call)
{
    const std::size_t comma = call.find(',');
    for (std::size_t open = call.find('"', comma == std::string::npos ? call.size() : comma);
         open != std::string::npos;) {
        const std::size_t close = call.find('"', open + 1);
        if (close == std::string::npos)
            break;
        if (call.substr(open + 1, close - open - 1).find_first_of("wa+") != std::string::npos)
            return true;
        open = call.find('"', close + 1);
    }
    return false;
}

// Every raw way to open a file for writing in text, as "line: what". Where must is given (a
// file that may create files itself), an open that creates is let be when it carries every
// flag of must.
std::vector<std::string> RawWrites(const std::string& text, const std::vector<std::string>* must)
{
    enum Kind { POSIX_OPEN, MODE_OPEN, ALWAYS, STREAM };
    static const std::map<std::string, Kind> kCalls = {
        {"open", POSIX_OPEN},
        {"openat", POSIX_OPEN},
        {"openat2", POSIX_OPEN},
        {"fopen", MODE_OPEN},
        {"freopen", MODE_OPEN},
        {"SDL_RWFromFile", MODE_OPEN},
        {"creat", ALWAYS},
        {"mkstemp", ALWAYS},
        {"mkstemps", ALWAYS},
        {"mkostemp", ALWAYS},
        {"mkostemps", ALWAYS},
        {"tmpfile", ALWAYS},
        {"mkfifo", ALWAYS},
        {"mknod", ALWAYS},
        {"SDL_SaveBMP", ALWAYS},
        {"copy_file", ALWAYS},
        {"copy_symlink", ALWAYS},
        {"PHYSFS_openWrite", ALWAYS},
        {"PHYSFS_openAppend", ALWAYS},
        {"PHYSFS_setWriteDir", ALWAYS},
        {"ofstream", STREAM},
        {"fstream", STREAM},
        {"basic_ofstream", STREAM},
        {"basic_fstream", STREAM},
    };
    const auto isWord = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    };
    std::vector<std::string> found;
    for (std::size_t at = 0; at < text.size();) {
        if (!isWord(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && isWord(text[end]))
            ++end;
        const auto call = kCalls.find(text.substr(at, end - at));
        const std::size_t start = at;
        at = end;
        if (call == kCalls.end())
            continue;
        std::size_t next = end;
        while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
            ++next;
        const bool called = next < text.size() && text[next] == '(';
        if (call->second == STREAM ? (start > 0 && text[start - 1] == '<') : !called)
            continue; // a header's name, or the word without a call
        const bool member = (start > 0 && text[start - 1] == '.') ||
                            (start > 1 && text.compare(start - 2, 2, "->") == 0);
        if (member && call->second != STREAM)
            continue; // a method of that name (a stream's open is found by its type)
        const std::string statement = StatementAt(text, start);
        // Opened for reading: said so in the call itself (flags kept in a variable count as
        // writing, since the search cannot see them).
        if (call->second == POSIX_OPEN && !HasWriteFlag(statement) &&
            statement.find("O_RDONLY") != std::string::npos)
            continue;
        if (call->second == MODE_OPEN && !HasWriteMode(statement))
            continue;
        bool allowed = must && call->second == POSIX_OPEN;
        for (std::size_t i = 0; allowed && i < must->size(); ++i)
            allowed = statement.find((*must)[i]) != std::string::npos ||
                      statement.find("O_CREAT") == std::string::npos;
        if (!allowed)
            found.push_back(std::to_string(LineAt(text, start)) + ": " +
                            statement.substr(0, statement.find('\n')));
    }
    return found;
}

// The player's kind of write (through the player's links) is the keeper's alone: every call
// of it outside core/AtomicFile and the keeper, as "line: what".
std::vector<std::string> PlayerWritesAroundTheKeeper(const std::string& name,
                                                     const std::string& text)
{
    std::vector<std::string> found;
    if (name == "MakoEngine/Source/core/AtomicFile.cpp" ||
        name == "MakoEngine/Source/core/AtomicFile.h" ||
        name == "MakoEngine/Source/core/PlayerFileKeeper.cpp" ||
        name == "MakoEngine/Source/core/FileWriter.h")
        return found;
    for (const char* call : {"WriteFileAtomically", "ReplaceFollowed"})
        for (std::size_t at = text.find(call); at != std::string::npos;
             at = text.find(call, at + 1))
            found.push_back(std::to_string(LineAt(text, at)) + ": " +
                            StatementAt(text, at).substr(0, 80));
    return found;
}

} // namespace

TEST(OneWriter, NoSourceOfTheGameOpensAFileForWritingButTheWriter)
{
    int files = 0;
    std::vector<std::string> found;
    for (const char* top :
         {"MakoEngine/Source", "MakoArcadeLib/Source", "platform", "game", "tools/levelcheck"}) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / top)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
                continue;
            const std::string name = entry.path().lexically_relative(kSourceRoot).string();
            if (name == kWriter)
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            const auto own = kOwnCreates.find(name);
            for (const std::string& call :
                 RawWrites(WithoutComments(text.str()),
                           own == kOwnCreates.end() ? nullptr : &own->second))
                found.push_back(name + ":" + call);
            for (const std::string& call :
                 PlayerWritesAroundTheKeeper(name, WithoutComments(text.str())))
                found.push_back(name + ":" + call + " (a player's file written around its keeper)");
            ++files;
        }
    }
    EXPECT_GT(files, 500) << "the sources were not found under " << kSourceRoot;
    for (const std::string& call : found)
        ADD_FAILURE() << "a file is opened for writing outside the writer: " << call;
}

TEST(OneWriter, TheSearchFindsEveryWayToWrite)
{
    // The search itself, on calls it must see and calls it must let be.
    const std::string text = WithoutComments(R"(
        std::FILE* a = std::fopen(path.c_str(), "wb");
        int b = ::open(path.c_str(),
                       O_WRONLY | O_CREAT, 0644);
        std::ofstream c(path);
        SDL_SaveBMP(surface, "shot.bmp");
        int d = mkstemp(name);
        fs::copy_file(from, to);
        int flags = O_WRONLY | O_CREAT;
        int h = open(path.c_str(), flags, 0644);
        std::FILE* e = std::fopen(path.c_str(), "rb");
        int f = open(path, O_RDONLY | O_CLOEXEC);
        std::ifstream g(path);
        // std::fopen(path, "w") in a comment
    )");
    const std::vector<std::string> found = RawWrites(text, nullptr);
    ASSERT_EQ(7u, found.size()) << ::testing::PrintToString(found);
    EXPECT_EQ(0u, found[0].find("2: "));
    // A lock made without following a link passes where locks may be made; one that would
    // follow a link does not.
    const std::vector<std::string> lockOnly = {"O_NOFOLLOW"};
    EXPECT_TRUE(
        RawWrites("int l = open(p, O_RDWR | O_CREAT | O_NOFOLLOW, 0600);", &lockOnly).empty());
    EXPECT_EQ(1u, RawWrites("int l = open(p, O_RDWR | O_CREAT, 0600);", &lockOnly).size());
}
