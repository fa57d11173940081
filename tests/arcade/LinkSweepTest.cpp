// Every file of the user's that the game reads (a player card, the configuration, the
// debugger's connection list, the start-up script) as a link of each kind (to a file, a chain
// of links, to a file outside the home, to nothing, to a folder): the game starts, a level is
// played, won and tallied, and the game quits. Every link is still the link it was; a link
// to a file was read and saved through (the file it leads to holds what was read and what was
// played: the card its guid and the player's name, the configuration the changed setting, the
// connection list exactly the clients it kept; the start-up script is only read); a link to nothing
// or to a folder is held (what it leads to unchanged, the log naming the link and its target, a
// card's screen saying it is not saved); and nothing else changed but the saves and the
// configuration.
#include "UserFileSweep.h"
#include "core/SaveTurn.h"
#include "support/FileTree.h"
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

    // Whether the path is the lock of the turn to save in the folder of a user file, or of the
    // file a link leads to (the turn is taken where the file written lives).
    bool IsTurnLock(const std::string& path, const std::string& target) const
    {
        const fs::path place(path);
        if (place.filename() != SaveTurn::kLockName)
            return false;
        if (place.parent_path() == fs::path(target).parent_path())
            return true;
        for (const UserFile file : kUserFiles)
            if (place.parent_path() == fs::path(PathOf(file)).parent_path())
                return true;
        return false;
    }

    // What a file a link leads to holds before the game: the user file's usual text, but
    // for the connection list, which also names a client elsewhere that the game drops on
    // reading, so that the list it writes back differs from the one it read.
    static std::string LinkedContentOf(UserFile file)
    {
        return file == CONNECTION_LIST ? "Far\n10.0.0.1:5001\n" + ContentOf(file) : ContentOf(file);
    }

    // What the game saved into a file it could read through its link, in the parts it
    // must hold: the card what it read (its guid) and what was played (the name), the
    // configuration the setting changed, the connection list the client reattached.
    static std::vector<std::string> SavedParts(UserFile file)
    {
        switch (file) {
        case CARD:
            return {"guid = 7,", "Name = \"sweeper\","};
        case CONFIGURATION:
            return {"music_volume = 50,"};
        default:
            return {};
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
            LinkedFile link(PathOf(file), kind, Synced(), outside, LinkedContentOf(file));
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
                for (const std::string& part : SavedParts(file))
                    EXPECT_NE(std::string::npos, text.find(part)) << part << " in\n" << text;
                if (file == CONNECTION_LIST) {
                    EXPECT_EQ(ContentOf(file), text);
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
                if (!MayChange(entry) && home.Path() + "/" + entry != link.Target() &&
                    !IsTurnLock(home.Path() + "/" + entry, link.Target()))
                    ADD_FAILURE() << "changed in the home: " << entry;
            for (const std::string& entry : Differences(outsideBefore, TreeOf(outside)))
                if (outside + "/" + entry != link.Target() &&
                    !IsTurnLock(outside + "/" + entry, link.Target()))
                    ADD_FAILURE() << "changed outside the home: " << entry;
        }
    }
    std::printf("link sweep: %d runs (4 files x 5 kinds of link), %d links kept, %d read and "
                "saved through, %d held unchanged\n",
                runs, links, savedThrough, held);
}
