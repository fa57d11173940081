// Where a development run finds the source tree: beside the program's folder, else the
// tree it was built from, else a message naming both places.
#include "app/SourceFolders.h"
#include "core/Exception.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(SourceFolders, TheTreeBesideTheProgramComesFirstThenTheOneItWasBuiltFrom)
{
    bbtest::TempHome home;
    const std::string tree = home.Path() + "/tree";
    fs::create_directories(tree + "/MakoEngine/Source");
    fs::create_directories(tree + "/build");
    const std::string outside = home.Path() + "/outside/build";
    fs::create_directories(outside);

    EXPECT_EQ(tree + "/build/../", SourceFolders::FindRoot(tree + "/build", BB_SOURCE_DIR));
    EXPECT_EQ(tree + "/", SourceFolders::FindRoot(outside, tree));
    EXPECT_EQ(tree + "/", SourceFolders::FindRoot(outside, tree + "/"));
    try {
        SourceFolders::FindRoot(outside, home.Path() + "/gone");
        FAIL() << "a tree was found where there is none";
    } catch (const Exception& e) {
        EXPECT_EQ("The development resources (--noExeResources) were not found: neither \"" +
                      outside + "/..\" nor \"" + home.Path() +
                      "/gone\" holds MakoEngine/Source. Start the program without "
                      "--noExeResources to use the resources it carries.",
                  e.GetMessage());
    }
}
