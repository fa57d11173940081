// The code's layers as docs/DESIGN.md draws them. The libraries stand in order: platform/,
// the engine, the arcade, game/; a file includes nothing of a library above its own. Every
// folder of the engine and of the arcade stands on a line of its table, and a folder
// includes only folders on its own line or below it. Each quoted include is resolved the
// way the compiler would find it (the including file's folder, its own library, then every
// other), so an include that reaches across libraries is seen wherever it points. A file
// that breaks a rule is named with the line of its include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = fs::path(BB_SOURCE_DIR);

// One library: where it lives, its place from the bottom, and the line of its layer table
// each top folder stands on (empty: the library has no table).
struct Library
{
    std::string name;
    fs::path root;
    int order;
    std::map<std::string, int> layers;
};

// The lowest services of core/, which everything may use and which use nothing above them.
const std::set<std::string> kLowestCore = {
    "Exception",  "ValueTypeError", "Log",       "Utility",  "Random", "AtomicFile",
    "StopSignal", "MonotonicClock", "WorkMeter", "Lifetime", "Utf8",   "FileWriter"};

const std::vector<Library>& Libraries()
{
    static const std::vector<Library> libraries = {
        {"platform", kSource / "platform", 0, {}},
        {"engine",
         kSource / "MakoEngine" / "Source",
         1,
         {{"lua", 1},
          {"geometry", 1},
          {"perf", 1},
          {"core", 2},
          {"resources", 3},
          {"players", 4},
          {"debugger", 4},
          {"display", 5},
          {"sound", 5},
          {"physics", 5},
          {"scene", 6},
          {"screens", 7},
          {"widgets", 7},
          {"views", 8},
          {"app", 9},
          {"scripts", 9}}},
        // The arcade's application stands above its other folders, which share one line.
        {"arcade",
         kSource / "MakoArcadeLib" / "Source",
         2,
         {{"field", 0}, {"logic", 0}, {"screens", 0}, {"scripts", 0}, {"app", 1}}},
        {"game", kSource / "game", 3, {}},
    };
    return libraries;
}

bool IsBelow(const fs::path& file, const fs::path& root)
{
    const fs::path relative = file.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

const Library* LibraryOf(const fs::path& file)
{
    for (const Library& library : Libraries())
        if (IsBelow(file, library.root))
            return &library;
    return nullptr;
}

// The layer-table line of `file` within its library; nullopt for a file of a folder the
// table does not name (a library without a table puts every file on line 0).
std::optional<int> LayerOf(const Library& library, const fs::path& file)
{
    if (library.layers.empty())
        return 0;
    const fs::path relative = file.lexically_relative(library.root);
    const std::string top = relative.begin()->string();
    if (library.name == "engine" && top == "core" && kLowestCore.count(relative.stem().string()))
        return 0;
    const auto found = library.layers.find(top);
    if (found == library.layers.end() || relative.begin()->string() == relative.string())
        return std::nullopt;
    return found->second;
}

// Where a quoted include of `from` leads: the including file's folder, then its own
// library, then every other library; nullopt for a system or package header.
std::optional<fs::path> Resolve(const fs::path& from, const Library& own, const std::string& name)
{
    std::vector<fs::path> roots = {from.parent_path(), own.root};
    for (const Library& library : Libraries())
        roots.push_back(library.root);
    for (const fs::path& root : roots)
        if (fs::exists(root / name))
            return (root / name).lexically_normal();
    return std::nullopt;
}

// Every file of a library's sources and headers, and every folder below its root.
std::vector<fs::path> Entries(const Library& library, bool folders)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(library.root)) {
        const std::string ext = entry.path().extension().string();
        if (folders ? entry.is_directory()
                    : entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
            found.push_back(entry.path());
    }
    return found;
}

// One include that breaks a rule: "<file>:<line> <include> (<why>)".
std::vector<std::string> BrokenIncludes()
{
    static const std::regex kInclude(R"re(^\s*#\s*include\s+"([^"]+)")re");
    std::vector<std::string> broken;
    for (const Library& library : Libraries()) {
        for (const fs::path& file : Entries(library, false)) {
            // A file of an unplaced folder is named by the folder check instead.
            const std::optional<int> fromLayer = LayerOf(library, file);
            std::ifstream in(file);
            std::string text;
            std::smatch match;
            for (int line = 1; std::getline(in, text); ++line) {
                if (!std::regex_search(text, match, kInclude))
                    continue;
                const std::optional<fs::path> target = Resolve(file, library, match[1].str());
                const Library* to = target ? LibraryOf(*target) : nullptr;
                if (!to)
                    continue;
                const std::string where = file.lexically_relative(kSource).string() + ":" +
                                          std::to_string(line) + " " + match[1].str();
                if (to->order > library.order)
                    broken.push_back(where + " (" + library.name + " includes " + to->name + ")");
                else if (to == &library && fromLayer && LayerOf(library, *target) > fromLayer)
                    broken.push_back(where + " (a folder above its own)");
            }
        }
    }
    return broken;
}

} // namespace

TEST(Layers, EveryFolderStandsOnALineOfItsLibrarysTable)
{
    std::vector<std::string> unmapped;
    for (const Library& library : Libraries()) {
        ASSERT_TRUE(fs::is_directory(library.root)) << library.root;
        if (library.layers.empty())
            continue;
        for (const fs::path& folder : Entries(library, true))
            if (!LayerOf(library, folder / "File.h"))
                unmapped.push_back(folder.lexically_relative(kSource).string());
        for (const fs::path& file : Entries(library, false))
            if (!LayerOf(library, file))
                unmapped.push_back(file.lexically_relative(kSource).string());
    }
    EXPECT_EQ(std::vector<std::string>(), unmapped);
}

// Includes go down the libraries and down each library's table, never up: the engine
// includes nothing of the arcade or the game, and no arcade folder includes the arcade's
// application.
TEST(Layers, NoIncludeReachesAboveItsOwnLine)
{
    EXPECT_EQ(std::vector<std::string>(), BrokenIncludes());
}
