// A user's file that is a link: read, written, set aside and cleaned up through the file it
// leads to, with the link kept; a link that leads nowhere, in a loop or through too long a
// chain is held, never written through nor replaced.
#include "core/AtomicFile.h"
#include "core/UserDataFile.h"
#include "support/FileTree.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

using bbtest::Names;

namespace {

class LinkedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(Saves());
        fs::create_directories(Synced());
    }
    std::string Saves() const { return home.Path() + "/saves"; }
    std::string Synced() const { return home.Path() + "/synced"; }
    std::string Card() const { return Saves() + "/Player1.card"; }

    static UserFileReadResult Read(const std::string& path, std::string& text, std::string& reason)
    {
        return ReadRegularFile(path, kUserFileMaxBytes, text, reason);
    }

    bbtest::TempHome home;
};

} // namespace

TEST_F(LinkedFileTest, AChainOfLinksIsReadAndWrittenThroughAndStaysAChain)
{
    // A relative link to a relative link to an absolute one to the file in another folder.
    const std::string target = Synced() + "/card.txt";
    bbtest::WriteFile(target, "old\n");
    fs::create_symlink(target, Synced() + "/absolute");
    fs::create_symlink("absolute", Synced() + "/relative");
    fs::create_symlink("../synced/relative", Card());

    std::string text, reason;
    ASSERT_EQ(USERFILE_READ, Read(Card(), text, reason)) << reason;
    EXPECT_EQ("old\n", text);
    EXPECT_EQ(target, FollowLinks(Card()).path);
    EXPECT_TRUE(FollowLinks(Card()).viaLink);

    ASSERT_EQ(0, TryWriteFileAtomically(Card(), "new\n"));
    EXPECT_TRUE(fs::is_symlink(Card()));
    EXPECT_EQ("../synced/relative", fs::read_symlink(Card()).string());
    EXPECT_EQ("new\n", bbtest::ReadFile(target));
    // The temporary file was made and renamed beside the target: nothing is left anywhere.
    EXPECT_EQ((std::set<std::string>{"Player1.card"}), Names(Saves()));
    EXPECT_EQ((std::set<std::string>{"card.txt", "absolute", "relative"}), Names(Synced()));

    // A save killed half-way left its temporary file beside the target: that is where the
    // clean-up looks.
    bbtest::WriteFile(target + ".tmp.AbC123", "half");
    EXPECT_EQ(1, RemoveStaleTemporaryFiles(Card()));
    EXPECT_FALSE(fs::exists(target + ".tmp.AbC123"));

    // A plain path that is no link comes back as it is, whether or not the file is there.
    EXPECT_FALSE(FollowLinks(target).viaLink);
    EXPECT_EQ(0, FollowLinks(Saves() + "/none").error);
}

TEST_F(LinkedFileTest, ALinkThatLeadsNowhereIsHeldNeverAFreshFile)
{
    const std::string gone = home.Path() + "/unmounted/drive/card.txt";
    fs::create_symlink(gone, Card());
    fs::create_symlink("Player1.card", Saves() + "/chain"); // and through a chain to it
    for (const std::string& path : {Card(), Saves() + "/chain"}) {
        SCOPED_TRACE(path);
        std::string text, reason;
        EXPECT_EQ(USERFILE_UNREADABLE, Read(path, text, reason));
        EXPECT_NE(std::string::npos, reason.find(gone)) << reason;
        EXPECT_EQ(ENOENT, TryWriteFileAtomically(path, "fresh\n"));
        EXPECT_FALSE(KeepFileAside(path, "test"));
        EXPECT_EQ(gone, fs::read_symlink(Card()).string());
    }
    EXPECT_FALSE(fs::exists(home.Path() + "/unmounted"));
    EXPECT_EQ((std::set<std::string>{"Player1.card", "chain"}), Names(Saves()));

    // Only a path that is not there at all is missing: a fresh start.
    std::string text, reason;
    EXPECT_EQ(USERFILE_MISSING, Read(Saves() + "/Player2.card", text, reason));
}

TEST_F(LinkedFileTest, LoopsLongChainsAndLinksToFoldersAreHeldAndNamed)
{
    // A chain of exactly the links followed reads; one more is a loop as far as it goes.
    bbtest::WriteFile(Synced() + "/end", "end\n");
    std::string next = Synced() + "/end";
    for (int i = 0; i <= kMaxLinkHops; ++i) {
        const std::string link = Synced() + "/hop" + std::to_string(i);
        fs::create_symlink(next, link);
        next = link;
    }
    std::string text, reason;
    EXPECT_EQ(USERFILE_READ,
              Read(Synced() + "/hop" + std::to_string(kMaxLinkHops - 1), text, reason));
    EXPECT_EQ(USERFILE_UNREADABLE,
              Read(Synced() + "/hop" + std::to_string(kMaxLinkHops), text, reason));
    EXPECT_EQ(ELOOP, FollowLinks(Synced() + "/hop" + std::to_string(kMaxLinkHops)).error);

    fs::create_symlink("loop.b", Saves() + "/loop.a");
    fs::create_symlink("loop.a", Saves() + "/loop.b");
    EXPECT_EQ(USERFILE_UNREADABLE, Read(Saves() + "/loop.a", text, reason));
    EXPECT_NE(std::string::npos, reason.find(std::strerror(ELOOP))) << reason;
    EXPECT_EQ(ELOOP, TryWriteFileAtomically(Saves() + "/loop.a", "x"));
    EXPECT_FALSE(KeepFileAside(Saves() + "/loop.a", "test"));
    EXPECT_TRUE(fs::is_symlink(Saves() + "/loop.a"));

    // A link to a folder: the reason names the link and the folder, and the folder is kept.
    fs::create_directory(Synced() + "/folder");
    fs::create_symlink(Synced() + "/folder", Card());
    EXPECT_EQ(USERFILE_UNREADABLE, Read(Card(), text, reason));
    EXPECT_NE(std::string::npos, reason.find(std::strerror(EISDIR))) << reason;
    EXPECT_NE(std::string::npos, reason.find(Synced() + "/folder")) << reason;
    EXPECT_EQ(EISDIR, TryWriteFileAtomically(Card(), "x"));
    EXPECT_TRUE(fs::is_directory(Synced() + "/folder"));
    EXPECT_TRUE(fs::is_empty(Synced() + "/folder"));
    EXPECT_TRUE(fs::is_symlink(Card()));
}

TEST_F(LinkedFileTest, ADamagedFileALinkLeadsToIsHeldNotSetAside)
{
    const std::string target = Synced() + "/card.txt";
    bbtest::WriteFile(target, "damaged\n");
    fs::create_symlink(target, Card());
    EXPECT_FALSE(KeepFileAside(Card(), "it is damaged"));
    EXPECT_EQ("damaged\n", bbtest::ReadFile(target));
    EXPECT_TRUE(fs::is_symlink(Card()));
    EXPECT_EQ((std::set<std::string>{"Player1.card"}), Names(Saves()));
    EXPECT_EQ((std::set<std::string>{"card.txt"}), Names(Synced()));
}
