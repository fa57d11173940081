// The engine's folders include only folders on their own line of the layer table in
// docs/DESIGN.md or below it, and the arcade's application is included by no other arcade
// folder. A file that breaks this is named with the line of its include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kEngine = fs::path(BB_SOURCE_DIR) / "MakoEngine" / "Source";
const fs::path kArcade = fs::path(BB_SOURCE_DIR) / "MakoArcadeLib" / "Source";

// The lowest services of core/, which everything may use and which use nothing above them.
const std::set<std::string> kLowestCore = {"Exception", "ValueTypeError", "Log",        "Utility",
                                           "Random",    "AtomicFile",     "StopSignal", "Lifetime"};

// The line of the layer table a folder stands on, from the bottom; -1 for a folder the
// table does not name.
int EngineLayer(const fs::path& relative)
{
    static const std::map<std::string, int> kLayers = {
        {"lua", 1},     {"geometry", 1}, {"perf", 1},    {"core", 2},  {"resources", 3},
        {"players", 4}, {"debugger", 4}, {"display", 5}, {"sound", 5}, {"physics", 5},
        {"scene", 6},   {"screens", 7},  {"widgets", 7}, {"views", 8}, {"app", 9}};
    const std::string top = relative.begin()->string();
    if (top == "core" && kLowestCore.count(relative.stem().string()))
        return 0;
    const auto found = kLayers.find(top);
    return found == kLayers.end() ? -1 : found->second;
}

struct Include
{
    fs::path file; // relative to its library's folder
    int line;
    std::string target; // as written
};

// Every quoted include of the sources below root that names a file of `library`.
std::vector<Include> IncludesOf(const fs::path& root, const fs::path& library)
{
    static const std::regex kInclude(R"re(^\s*#\s*include\s+"([^"]+)")re");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        std::ifstream in(entry.path());
        std::string text;
        std::smatch match;
        for (int line = 1; std::getline(in, text); ++line)
            if (std::regex_search(text, match, kInclude) && fs::exists(library / match[1].str()))
                found.push_back({fs::relative(entry.path(), root), line, match[1].str()});
    }
    return found;
}

} // namespace

TEST(Layers, EngineFoldersIncludeNothingAboveTheirLine)
{
    ASSERT_TRUE(fs::is_directory(kEngine)) << kEngine;
    std::vector<std::string> upward;
    for (const Include& include : IncludesOf(kEngine, kEngine)) {
        const int from = EngineLayer(include.file);
        const int to = EngineLayer(include.target);
        if (from >= 0 && to > from)
            upward.push_back(include.file.string() + ":" + std::to_string(include.line) + " " +
                             include.target);
    }
    EXPECT_EQ(std::vector<std::string>(), upward);
}

TEST(Layers, OnlyTheArcadeApplicationIncludesItself)
{
    ASSERT_TRUE(fs::is_directory(kArcade)) << kArcade;
    std::vector<std::string> upward;
    for (const Include& include : IncludesOf(kArcade, kArcade))
        if (*include.file.begin() != "app" && fs::path(include.target).begin()->string() == "app")
            upward.push_back(include.file.string() + ":" + std::to_string(include.line) + " " +
                             include.target);
    EXPECT_EQ(std::vector<std::string>(), upward);
}
