#include "support/TempHome.h"
#include "win32/FileMapping.h"
#include "win32/ProgramResources.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

using namespace bbtest;

TEST(ProgramResources, FoundByTypeAndNameInAnyCaseNewestTableFirst)
{
    static const unsigned char kOld[] = "old";
    static const unsigned char kNew[] = "new";
    static const ProgramResourceEntry kFirst[] = {{"MAKO_RESOURCE", "TEST_BALL.LUA", kOld, 3}};
    static const ProgramResourceEntry kSecond[] = {{"MAKO_RESOURCE", "TEST_BALL.LUA", kNew, 3},
                                                   {"MAKO_RESOURCE", "TEST_EMPTY.CFG", nullptr, 0}};
    RegisterProgramResources(kFirst, 1);
    RegisterProgramResources(kSecond, 2);

    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, "mako_resource", "Test_Ball.lua", 0);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(3u, SizeofResource(module, found));
    EXPECT_EQ(0, std::memcmp("new", LockResource(LoadResource(module, found)), 3));

    HRSRC empty = FindResourceExA(module, "MAKO_RESOURCE", "TEST_EMPTY.CFG", 0);
    EXPECT_EQ(0u, SizeofResource(module, empty));
    EXPECT_NE(nullptr, LockResource(LoadResource(module, empty)));

    UnregisterProgramResources(kSecond);
    found = FindResourceExA(module, "MAKO_RESOURCE", "TEST_BALL.LUA", 0);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(0, std::memcmp("old", LockResource(LoadResource(module, found)), 3));
    UnregisterProgramResources(kFirst);

    errno = 0;
    EXPECT_EQ(nullptr, FindResourceExA(module, "MAKO_RESOURCE", "TEST_BALL.LUA", 0));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_EQ(nullptr, FindResourceExA(module, "OTHER_TYPE", "RESOURCE_TABLE", 0));
    EXPECT_EQ(nullptr, LockResource(LoadResource(module, nullptr)));
}

TEST(FileMapping, MapsWholeFilesReadOnlyAndCountsViews)
{
    TempHome home;
    std::string path = home.Path() + "/data.txt";
    WriteFile(path, "mapped bytes");
    int before = GetMappedViewCount();

    KERNEL_HANDLE file = CreateFileA(path.c_str());
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(12u, GetFileSize(file));
    KERNEL_HANDLE mapping = CreateFileMappingA(file);
    ASSERT_NE(nullptr, mapping);
    EXPECT_TRUE(CloseHandle(file)); // the mapping keeps the file readable
    const void* view = MapViewOfFile(mapping);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(0, std::memcmp("mapped bytes", view, 12));
    EXPECT_EQ(before + 1, GetMappedViewCount());
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_EQ(EINVAL, errno);
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_EQ(before, GetMappedViewCount());

    // Two empty files give two distinct views, each unmapped once.
    WriteFile(home.Path() + "/empty.txt", "");
    KERNEL_HANDLE emptyFile = CreateFileA((home.Path() + "/empty.txt").c_str());
    KERNEL_HANDLE emptyMapping = CreateFileMappingA(emptyFile);
    const void* first = MapViewOfFile(emptyMapping);
    const void* second = MapViewOfFile(emptyMapping);
    EXPECT_NE(first, second);
    EXPECT_TRUE(UnmapViewOfFile(first));
    EXPECT_TRUE(UnmapViewOfFile(second));
    EXPECT_TRUE(CloseHandle(emptyMapping));
    EXPECT_TRUE(CloseHandle(emptyFile));

    EXPECT_EQ(nullptr, CreateFileA((home.Path() + "/missing").c_str()));
    EXPECT_EQ(ENOENT, errno);
    KERNEL_HANDLE folder = CreateFileA(home.Path().c_str());
    ASSERT_NE(nullptr, folder);
    EXPECT_EQ(nullptr, CreateFileMappingA(folder));
    EXPECT_EQ(ENODEV, errno);
    EXPECT_TRUE(CloseHandle(folder));
    EXPECT_FALSE(CloseHandle(nullptr));

    // Attributes tell folders from files; a missing path answers every bit set.
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA(home.Path().c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((home.Path() + "/missing").c_str()));
    EXPECT_EQ(ENOENT, errno);
}
