// The one writer's two rules: the game's own output never goes through a link nor over a
// file the game did not make; the player's files go through the player's links. Both keep the
// mode of the file they replace and give a new file no more than the umask allows.
#include "core/FileWriter.h"
#include "core/AtomicFile.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using bbtest::ReadFile;
using bbtest::WriteFile;

using bbtest::Names;

namespace {

unsigned ModeOf(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0u;
}

// What stands at path, said so that a change of any kind shows: a link's text, a file's
// bytes, owner and link count, or the kind of entry.
std::string EntryAt(const std::string& path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0)
        return "nothing";
    if (S_ISLNK(status.st_mode))
        return "link to " + fs::read_symlink(path).string();
    if (S_ISREG(status.st_mode))
        return "file of " + std::to_string(status.st_uid) + " with " +
               std::to_string(status.st_nlink) + " names: " + ReadFile(path);
    return S_ISDIR(status.st_mode) ? "folder" : "other";
}

// Sets the umask for its life.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_Old(::umask(mask)) {}
    ~Umask() { ::umask(m_Old); }

private:
    mode_t m_Old;
};

} // namespace

TEST(FileWriter, OutputNeverGoesThroughALinkNorOverAFileTheGameDidNotMake)
{
    bbtest::TempHome home;
    bbtest::TempHome outsideHome; // a folder that is none of the game's
    const std::string folder = home.Path() + "/bumperlux Documents/";
    const std::string card = folder + "Player Cards/Player1.card";
    const std::string outside = outsideHome.Path() + "/notes.txt";
    WriteFile(card, "Player { guid = 1 }\n");
    WriteFile(outside, "mine\n");
    const std::string place = folder + "ResourceUsage-RESOURCE_IMAGE.txt";

    // What is put at the place, and the error the write is refused with.
    std::map<std::string, std::pair<std::function<void()>, int>> kinds = {
        {"a link to a card", {[&] { fs::create_symlink(card, place); }, ELOOP}},
        {"a link outside the home", {[&] { fs::create_symlink(outside, place); }, ELOOP}},
        {"a link to nothing", {[&] { fs::create_symlink(folder + "none", place); }, ELOOP}},
        {"a second name of a card", {[&] { fs::create_hard_link(card, place); }, EMLINK}},
        {"a FIFO", {[&] { ASSERT_EQ(0, ::mkfifo(place.c_str(), 0600)); }, EEXIST}},
        {"a folder", {[&] { fs::create_directory(place); }, EISDIR}},
    };
    if (::geteuid() == 0) // only root can give a file to another user
        kinds["another user's file"] = {[&] {
                                            WriteFile(place, "theirs\n");
                                            ASSERT_EQ(0, ::chown(place.c_str(), 4242, 4242));
                                        },
                                        EPERM};
    for (const auto& [name, kind] : kinds) {
        SCOPED_TRACE(name);
        for (FileWriter::Place rule : {FileWriter::REPLACE_OWN, FileWriter::NEW_ONLY}) {
            fs::remove_all(place);
            kind.first();
            const std::string before = EntryAt(place);
            const std::set<std::string> names = Names(folder);
            const FileWriter::Result result = FileWriter::WriteOutput(place, "report\n", rule);
            EXPECT_EQ(rule == FileWriter::REPLACE_OWN ? kind.second : result.error, result.error)
                << result.reason;
            EXPECT_FALSE(result.Ok());
            EXPECT_NE("", result.reason);
            EXPECT_EQ(before, EntryAt(place));
            EXPECT_EQ("Player { guid = 1 }\n", ReadFile(card));
            EXPECT_EQ("mine\n", ReadFile(outside));
            EXPECT_EQ(names, Names(folder)) << "a temporary file was left";
        }
    }
    fs::remove_all(place);
    fs::create_symlink(card, place);
    EXPECT_EQ("it is a link to \"" + card +
                  "\"; the game never writes its own files through a link or over one",
              FileWriter::WriteOutput(place, "x", FileWriter::REPLACE_OWN).reason);

    // Its own file is written anew; a new file is made; a new-only output never replaces.
    fs::remove_all(place);
    EXPECT_TRUE(FileWriter::WriteOutput(place, "first\n", FileWriter::NEW_ONLY).Ok());
    EXPECT_TRUE(FileWriter::WriteOutput(place, "second\n", FileWriter::REPLACE_OWN).Ok());
    EXPECT_EQ("second\n", ReadFile(place));
    EXPECT_EQ(EEXIST, FileWriter::WriteOutput(place, "third\n", FileWriter::NEW_ONLY).error);
    EXPECT_EQ("second\n", ReadFile(place));

    // The player's files go through the player's link, and the link stays.
    const std::string linked = folder + "Player Cards/Player2.card";
    fs::create_symlink(outside, linked);
    EXPECT_EQ(0, TryWriteFileAtomically(linked, "Player { guid = 2 }\n"));
    EXPECT_TRUE(fs::is_symlink(linked));
    EXPECT_EQ("Player { guid = 2 }\n", ReadFile(outside));
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's file at the place needs root to be made: not tried";
}

namespace {

// What the probe puts at the output's place while the write goes on, and what it put.
std::function<void(const std::string&)> s_Meanwhile;

void PutMeanwhile(const std::string& path)
{
    if (s_Meanwhile)
        s_Meanwhile(path);
}

} // namespace

// Whatever is put at an output's place between the writer's look and its rename (a file, a
// link, another file in place of the game's own), the output is refused and what was put
// there stays as it is.
TEST(FileWriter, AnOutputNeverReplacesWhatWasPutAtItsPlaceMeanwhile)
{
    bbtest::TempHome home;
    const std::string card = home.Path() + "/Player1.card";
    const std::string place = home.Path() + "/ResourceUsage.txt";
    WriteFile(card, "card\n");
    const std::map<std::string, std::function<void(const std::string&)>> kinds = {
        {"a file of the player's",
         [](const std::string& at) {
             WriteFile(at + ".new", "theirs\n");
             fs::rename(at + ".new", at);
         }},
        {"a link to a card", [&](const std::string& at) {
             fs::remove(at);
             fs::create_symlink(card, at);
         }}};
    FileWriter::SetPlaceProbe(&PutMeanwhile);
    for (const auto& kind : kinds)
        for (FileWriter::Place rule : {FileWriter::NEW_ONLY, FileWriter::REPLACE_OWN}) {
            const auto& put = kind.second;
            SCOPED_TRACE(kind.first + (rule == FileWriter::NEW_ONLY ? " (new only)" : " (own)"));
            fs::remove(place);
            if (rule == FileWriter::REPLACE_OWN) {
                ASSERT_TRUE(FileWriter::WriteOutput(place, "mine\n", FileWriter::NEW_ONLY).Ok());
            }
            std::string putThere;
            s_Meanwhile = [&](const std::string& at) {
                put(at);
                putThere = EntryAt(at);
            };
            std::set<std::string> names = Names(home.Path());
            names.insert(fs::path(place).filename().string());
            const FileWriter::Result result = FileWriter::WriteOutput(place, "report\n", rule);
            s_Meanwhile = nullptr;
            EXPECT_EQ(EEXIST, result.error) << result.reason;
            EXPECT_EQ(putThere, EntryAt(place));
            EXPECT_EQ("card\n", ReadFile(card));
            EXPECT_EQ(names, Names(home.Path())) << "a temporary file was left";
        }
    FileWriter::SetPlaceProbe(nullptr);
}

TEST(FileWriter, ASavedFileKeepsItsModeAndANewOneGetsNoMoreThanTheUmask)
{
    bbtest::TempHome home;
    const std::string card = home.Path() + "/Player1.card";
    const std::string report = home.Path() + "/report.txt";
    {
        const Umask mask(077);
        // New files: the umask's mode, never wider.
        ASSERT_EQ(0, TryWriteFileAtomically(card, "one\n"));
        EXPECT_EQ(0600u, ModeOf(card));
        ASSERT_TRUE(FileWriter::WriteOutput(report, "one\n", FileWriter::NEW_ONLY).Ok());
        EXPECT_EQ(0600u, ModeOf(report));
        // A file the player made narrower or wider keeps its mode whatever the umask.
        for (unsigned mode : {0600u, 0640u, 0604u, 0400u}) {
            ASSERT_EQ(0, ::chmod(card.c_str(), mode));
            ASSERT_EQ(0, TryWriteFileAtomically(card, "again\n"));
            EXPECT_EQ(mode, ModeOf(card));
            ASSERT_EQ(0, ::chmod(report.c_str(), mode));
            ASSERT_TRUE(FileWriter::WriteOutput(report, "again\n", FileWriter::REPLACE_OWN).Ok());
            EXPECT_EQ(mode, ModeOf(report));
        }
    }
    const Umask mask(027);
    fs::remove(card);
    ASSERT_EQ(0, TryWriteFileAtomically(card, "new\n"));
    EXPECT_EQ(0640u, ModeOf(card));
}

TEST(FileWriter, AppendsAndScratchFilesFollowNoLinkAndLeaveNoName)
{
    bbtest::TempHome home;
    const std::string card = home.Path() + "/Player1.card";
    const std::string log = home.Path() + "/log.txt";
    WriteFile(card, "card\n");
    // What is put at the place, the errors the append may be refused with, and whether a
    // reader holds a FIFO there open (an append to it would not wait then, and would be read).
    struct Hostile
    {
        std::function<void()> put;
        std::set<int> errors;
        bool reader;
    };
    const std::map<std::string, Hostile> kinds = {
        {"a link to a card", {[&] { fs::create_symlink(card, log); }, {ELOOP}, false}},
        {"a link to nothing", {[&] { fs::create_symlink(card + ".none", log); }, {ELOOP}, false}},
        {"a second name of a card", {[&] { fs::create_hard_link(card, log); }, {EMLINK}, false}},
        {"a FIFO no one reads", {[&] { ::mkfifo(log.c_str(), 0600); }, {EINVAL, ENXIO}, false}},
        {"a FIFO a reader holds open", {[&] { ::mkfifo(log.c_str(), 0600); }, {EINVAL}, true}},
    };
    for (const auto& [name, kind] : kinds) {
        SCOPED_TRACE(name);
        fs::remove(log);
        kind.put();
        const std::string before = EntryAt(log);
        const int reader = kind.reader ? ::open(log.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        ASSERT_EQ(kind.reader, reader >= 0);
        for (bool create : {true, false})
            for (bool empty : {true, false}) {
                const int fd = FileWriter::AppendOutput(log, create, empty);
                const int error = errno;
                EXPECT_EQ(-1, fd);
                if (fd >= 0) {
                    (void)!::write(fd, "entry\n", 6);
                    ::close(fd);
                } else {
                    EXPECT_EQ(1u, kind.errors.count(error)) << std::strerror(error);
                }
            }
        if (reader >= 0) {
            char got[16];
            EXPECT_GE(0, ::read(reader, got, sizeof got)) << "the FIFO was written to";
            ::close(reader);
        }
        EXPECT_EQ(before, EntryAt(log));
        EXPECT_EQ("card\n", ReadFile(card));
    }
    fs::remove(log);

    const std::set<std::string> names = Names(home.Path());
    std::FILE* scratch = FileWriter::OpenScratchFile(home.Path() + "/");
    ASSERT_NE(nullptr, scratch);
    EXPECT_GT(std::fputs("kept while open\n", scratch), 0);
    EXPECT_EQ(names, Names(home.Path()));
    std::rewind(scratch);
    char line[32] = {};
    EXPECT_NE(nullptr, std::fgets(line, sizeof line, scratch));
    EXPECT_STREQ("kept while open\n", line);
    std::fclose(scratch);
}
