// Every file of the user's that the game reads (a player card, the configuration, the
// debugger's connection list, the start-up script) as a link of each kind (to a file, a chain
// of links, to a file outside the home, to nothing, to a folder): the game starts, a level is
// played, won and tallied, and the game quits. Every link is still the link it was; a link
// to a file was read and saved through (the file it leads to holds the save, the start-up
// script is only read); a link to nothing or to a folder is held (what it leads to unchanged,
// the log naming the link and its target, a card's screen saying it is not saved); and
// nothing else changed but the saves and the configuration.
#include "UserFileSweep.h"
#include "support/LinkedFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// Each entry below folder (its relative path) with what it is: a link's text, a file's
// bytes, or a folder.
std::map<std::string, std::string> TreeOf(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).string();
        if (it->is_symlink())
            tree[name] = "link to " + fs::read_symlink(it->path()).string();
        else if (it->is_regular_file())
            tree[name] = "file " + ReadFile(it->path().string());
        else
            tree[name] = it->is_directory() ? "folder" : "other";
    }
    return tree;
}

// The entries of before and after that differ.
std::vector<std::string> Differences(const std::map<std::string, std::string>& before,
                                     const std::map<std::string, std::string>& after)
{
    std::vector<std::string> changed;
    for (const auto& entry : after) {
        const auto was = before.find(entry.first);
        if (was == before.end() || was->second != entry.second)
            changed.push_back(entry.first);
    }
    for (const auto& entry : before)
        if (!after.count(entry.first))
            changed.push_back(entry.first);
    return changed;
}

class LinkSweepTest : public UserFileSweep
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/bumperlux-outside-XXXXXX";
        ASSERT_NE(nullptr, ::mkdtemp(pattern));
        outside = pattern;
    }
    void TearDown() override
    {
        UserFileSweep::TearDown();
        RemoveTree(outside);
    }
    std::string Synced() const { return home.Path() + "/synced"; }

    // Whether the entry (relative to the home) may change in a game: the saves, the
    // configuration and the connection list (written back by the debugger); the log.
    bool MayChange(const std::string& entry) const
    {
        if (entry == "cards" || entry.rfind("cards/", 0) == 0)
            return true;
        for (const UserFile file : {CONFIGURATION, CONNECTION_LIST})
            if (home.Path() + "/" + entry == PathOf(file))
                return true;
        return false;
    }

    // What the game saved into a file it could read through its link.
    static std::string SavedMark(UserFile file)
    {
        switch (file) {
        case CARD:
            return "\"sweeper\"";
        case CONFIGURATION:
            return "music_volume = 50";
        default:
            return "";
        }
    }

    std::string outside;
};

} // namespace

TEST_F(LinkSweepTest, EveryUserFileThatIsALinkStaysALinkThroughAGameAndItsSaves)
{
    int runs = 0, links = 0, savedThrough = 0, held = 0;
    for (const UserFile file : kUserFiles) {
        for (const LinkKind kind : kLinkKinds) {
            SCOPED_TRACE(PathOf(file) + " as " + NameOf(kind));
            for (const std::string& folder : {home.Path() + "/cards", Synced(), outside})
                RemoveTree(folder);
            for (const UserFile other : kUserFiles)
                fs::remove_all(PathOf(other));
            fs::create_directories(outside);
            fs::create_directories(home.Path() + "/program");
            LinkedFile link(PathOf(file), kind, Synced(), outside, ContentOf(file));
            const auto homeBefore = TreeOf(home.Path());
            const auto outsideBefore = TreeOf(outside);
            LogCapture log;
            ++runs;
            ASSERT_NO_FATAL_FAILURE(Start());
            const bool readable = link.LeadsToAFile();
            if (file == STARTUP_SCRIPT) {
                LuaPlus::LuaObject ran = GetGlobalLuaState()->GetGlobal("StartupScriptRan");
                EXPECT_EQ(readable, ran.IsBoolean() && ran.GetBoolean()) << "read through";
                RunLua("StartupScriptRan = nil");
            }
            EXPECT_EQ(file == CARD && !readable ? GameDataIO::kUnsavedNotice : "", CardNotice());
            ASSERT_NO_FATAL_FAILURE(PlayALevel());
            Quit();

            const std::string linkChanged = link.LinkChanged();
            EXPECT_EQ("", linkChanged);
            links += linkChanged.empty();
            if (readable) {
                const std::string text = ReadFile(link.Target());
                if (!SavedMark(file).empty()) {
                    EXPECT_NE(std::string::npos, text.find(SavedMark(file))) << text;
                } else if (file == STARTUP_SCRIPT) {
                    EXPECT_EQ("", link.TargetChanged());
                }
                savedThrough += linkChanged.empty();
            } else {
                EXPECT_EQ("", link.TargetChanged());
                // One line names the link and where it leads.
                const std::string said = SaidOf(file, "");
                const std::size_t at = log.Text().find(said);
                ASSERT_NE(std::string::npos, at) << said << "\n" << log.Text().substr(0, 3000);
                const std::string line = log.Text().substr(at, log.Text().find('\n', at) - at);
                EXPECT_NE(std::string::npos, line.find(link.Target())) << line;
                EXPECT_EQ(std::string::npos, log.Text().find(said, at + 1)) << "said once";
                held += linkChanged.empty() && link.TargetChanged().empty();
            }
            // Nothing else changed: no file set aside or left half-written beside a link or
            // its target, nothing made where a link leads nowhere.
            for (const std::string& entry : Differences(homeBefore, TreeOf(home.Path())))
                if (!MayChange(entry) && home.Path() + "/" + entry != link.Target())
                    ADD_FAILURE() << "changed in the home: " << entry;
            for (const std::string& entry : Differences(outsideBefore, TreeOf(outside)))
                if (outside + "/" + entry != link.Target())
                    ADD_FAILURE() << "changed outside the home: " << entry;
        }
    }
    std::printf("link sweep: %d runs (4 files x 5 kinds of link), %d links kept, %d read and "
                "saved through, %d held unchanged\n",
                runs, links, savedThrough, held);
}
