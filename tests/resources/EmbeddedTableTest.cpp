#include "ResourceTestSupport.h"

#include "core/Exception.h"
#include "resources/WindowsApplicationResourceScanner.h"
#include "resources/WindowsResourceFileReader.h"
#include "win32/ProgramResources.h"

#include <algorithm>
#include <cctype>
#include <fstream>

using namespace bbtest;
using Table = WindowsApplicationResourceScanner::ResourceTable;

namespace {

Table Parse(const std::string& bytes)
{
    Table table;
    WindowsApplicationResourceScanner::ReadResourceTable(table, bytes.data(),
                                                         static_cast<uint32_t>(bytes.size()));
    return table;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The source file an embedded file came from, found in the folders the resource list names.
std::string FindSourceFile(const std::string& fileName)
{
    for (const char* folder :
         {"/MakoEngine/Source/scripts/", "/MakoArcadeLib/Source/scripts/", "/game/"}) {
        std::string path = std::string(BB_SOURCE_DIR) + folder + fileName;
        if (std::ifstream(path).good())
            return ReadFile(path);
    }
    return "<no source file " + fileName + ">";
}

class EmbeddedTableTest : public ResourceFixture
{
};

} // namespace

TEST_F(EmbeddedTableTest, TableBytesParseIntoPairs)
{
    using namespace std::string_literals;
    Table table = Parse("Ball.lua\0BALL.LUA\0Wall.lua\0WALL.LUA\0Ball.lua\0OTHER.LUA\0"s);
    EXPECT_EQ((Table{{"Ball.lua", "BALL.LUA"}, {"Wall.lua", "WALL.LUA"}}), table);
    EXPECT_TRUE(Parse("").empty());

    // Cut inside a file name: the name is dropped. Cut after it: the table is broken.
    EXPECT_EQ((Table{{"Ball.lua", "BALL.LUA"}}), Parse("Ball.lua\0BALL.LUA\0Wal"s));
    for (const std::string& cut : {"Ball.lua\0"s, "Ball.lua\0BALL.L"s}) {
        Table partial;
        EXPECT_EQ("Assertion failed: (state == READING_FILE_NAME)",
                  BB_EXCEPTION_MESSAGE(WindowsApplicationResourceScanner::ReadResourceTable(
                                           partial, cut.data(), static_cast<uint32_t>(cut.size())),
                                       Exception));
    }
}

TEST_F(EmbeddedTableTest, ProgramCarriesEveryListedFileUnderItsName)
{
    HRSRC resource =
        FindResourceExA(GetModuleHandleA(nullptr), "MAKO_RESOURCE", "RESOURCE_TABLE", 0);
    if (!resource)
        GTEST_SKIP() << "the resource list names no files yet";
    std::string bytes(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                      SizeofResource(nullptr, resource));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ('\0', bytes.back());

    Table table = Parse(bytes);
    size_t expectedSize = 0;
    for (const auto& pair : table) {
        EXPECT_EQ(Upper(pair.first), pair.second);
        expectedSize += pair.first.size() + pair.second.size() + 2;
    }
    EXPECT_EQ(bytes.size(), expectedSize); // no header, nothing between pairs

    Manager().AddScanner(new WindowsApplicationResourceScanner);
    Manager().ScanAll();
    for (const auto& pair : table) {
        ResourceInfo* info = Manager().FindInfo(pair.first);
        EXPECT_EQ(pair.first, info->Name());
        auto* reader = dynamic_cast<WindowsResourceFileReader*>(info->GetReader());
        ASSERT_NE(nullptr, reader);
        EXPECT_EQ(pair.second, reader->GetResourceName());
        const void* data = nullptr;
        uint32_t size = 0;
        reader->Read(info->Name(), data, size);
        EXPECT_EQ(FindSourceFile(pair.first), std::string(static_cast<const char*>(data), size))
            << pair.first;
    }
}

TEST_F(EmbeddedTableTest, UnreadableTablesAndResourcesAreReported)
{
    static const unsigned char kNothing[] = {0};
    static const ProgramResourceEntry kEmptyTable[] = {
        {"MAKO_RESOURCE", "RESOURCE_TABLE", kNothing, 0},
    };
    RegisterProgramResources(kEmptyTable, 1);
    WindowsApplicationResourceScanner scanner;
    ResourceInfoMap output = MakeResourceInfoMap();
    std::string message = BB_EXCEPTION_MESSAGE(scanner.Scan(output), Exception);
    UnregisterProgramResources(kEmptyTable);
    EXPECT_EQ(0u, message.find("Could not load resource table, dwSize == 0:\nerror = ")) << message;

    WindowsResourceFileReader reader("NOT_THERE.LUA");
    const void* data = nullptr;
    uint32_t size = 0;
    EXPECT_EQ("Could not find Windows resource:\nname = NOT_THERE.LUA\nerror = 2: No such file or "
              "directory",
              BB_EXCEPTION_MESSAGE(reader.Read("", data, size), ResourceLoadError));
}
