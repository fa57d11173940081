// Every fuzz target's seeds and stored findings (fuzz/regressions/<target>/) run through the
// target's entry as the libFuzzer programs run them: each must come back normally, with no
// sanitizer report, leak or broken promise (an entry aborts on those).
#include "FuzzEntries.h"
#include "FuzzSeeds.h"
#include "support/RequiredFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string PackFolder()
{
    const std::string pack = bbtest::AssetPackFolder();
    return fs::is_directory(pack) ? pack : "";
}

const fuzz::Target& TargetNamed(const std::string& name)
{
    for (const fuzz::Target& target : fuzz::Targets())
        if (name == target.name)
            return target;
    throw std::runtime_error("no fuzz target " + name);
}

void RunInput(const fuzz::Target& target, const std::string& bytes)
{
    target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

class FuzzReplay : public ::testing::TestWithParam<std::string>
{
};

TEST_P(FuzzReplay, EverySeedRunsCleanly)
{
    const fuzz::Target& target = TargetNamed(GetParam());
    const std::vector<fuzz::Seed> seeds = fuzz::MakeSeeds(target.name, PackFolder());
    ASSERT_FALSE(seeds.empty());
    for (const fuzz::Seed& seed : seeds) {
        SCOPED_TRACE(seed.name);
        RunInput(target, seed.bytes);
    }
    // Nothing is also an input.
    RunInput(target, std::string());
}

// The folder of a target's stored findings.
fs::path RegressionFolder(const std::string& target)
{
    return fs::path(fuzz::SourceFolder()) / "fuzz" / "regressions" / target;
}

TEST_P(FuzzReplay, EveryStoredFindingRunsCleanly)
{
    const fuzz::Target& target = TargetNamed(GetParam());
    const fs::path folder = RegressionFolder(target.name);
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error))
        if (it->is_regular_file() && it->path().filename() != "README")
            files.push_back(it->path());
    // Every target keeps its findings, and a folder that is gone or renamed replays nothing.
    ASSERT_FALSE(error) << folder << ": " << error.message();
    ASSERT_FALSE(files.empty()) << folder << " holds no input";
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        ASSERT_TRUE(in.good() || in.eof()) << "could not read " << file;
        RunInput(target, bytes.str());
    }
}

// Every target, by name, in the fixed order of fuzz::Targets().
std::vector<std::string> TargetNames()
{
    std::vector<std::string> names;
    for (const fuzz::Target& target : fuzz::Targets())
        names.push_back(target.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(TargetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

TEST(FuzzRegressions, EveryFolderBelongsToATarget)
{
    // A folder whose target was renamed or removed would keep its findings unreplayed.
    const std::vector<std::string> names = TargetNames();
    std::error_code error;
    const fs::path root = RegressionFolder("");
    for (fs::directory_iterator it(root, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        if (!it->is_directory())
            continue;
        EXPECT_NE(names.end(),
                  std::find(names.begin(), names.end(), it->path().filename().string()))
            << it->path() << " belongs to no fuzz target";
    }
    EXPECT_FALSE(error) << root << ": " << error.message();
}

TEST(FuzzSeeds, ComeFromWhatTheGameShipsAndWrites)
{
    auto names = [](const std::vector<fuzz::Seed>& seeds) {
        std::vector<std::string> out;
        for (const fuzz::Seed& seed : seeds)
            out.push_back(seed.name);
        return out;
    };
    const auto has = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    const auto config = names(fuzz::MakeSeeds("config", ""));
    EXPECT_TRUE(has(config, "bumperlux_Defaults.cfg"));
    EXPECT_TRUE(has(config, "written.cfg"));
    const auto levels = names(fuzz::MakeSeeds("level", ""));
    EXPECT_TRUE(has(levels, "Welcome.lua"));
    const auto cards = names(fuzz::MakeSeeds("card", ""));
    EXPECT_TRUE(has(cards, "saved-0.card"));
    const auto packages = names(fuzz::MakeSeeds("package", ""));
    EXPECT_TRUE(has(packages, "levels.fun"));
    EXPECT_TRUE(has(packages, "pictures.fun"));
    if (!PackFolder().empty()) {
        const auto metadata = names(fuzz::MakeSeeds("metadata", PackFolder()));
        EXPECT_TRUE(has(metadata, "pack-Balls.cfg"));
        EXPECT_TRUE(has(names(fuzz::MakeSeeds("package", PackFolder())), "paddle.fun"));
    }
}

} // namespace
