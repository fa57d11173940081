// Card and configuration saves refused by the system: a read-only folder and a full disk.
// Each must keep the old files byte for byte, leave no temporary or empty file, name the
// file in its message, and leave the game's data usable: the next save, once the fault is
// gone, succeeds.
#include "core/AtomicFile.h"
#include "core/OutputCapture.h"
#include "faults/SaveFixture.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// Every regular file below folder with its contents.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = ReadFile(entry.path().string());
    return files;
}

// Makes the folders refuse new files while it lives: by permissions, or, for a user they
// do not bind (root), by the writer's injected fault.
class ReadOnlyFolders
{
public:
    explicit ReadOnlyFolders(const std::vector<std::string>& folders) : m_Folders(folders)
    {
        if (::geteuid() == 0) {
            SetInjectedWriteFault(EACCES);
            return;
        }
        for (const std::string& folder : m_Folders)
            ::chmod(folder.c_str(), 0555);
    }
    ~ReadOnlyFolders()
    {
        SetInjectedWriteFault(0);
        for (const std::string& folder : m_Folders)
            ::chmod(folder.c_str(), 0755);
    }
    ReadOnlyFolders(const ReadOnlyFolders&) = delete;
    ReadOnlyFolders& operator=(const ReadOnlyFolders&) = delete;

private:
    std::vector<std::string> m_Folders;
};

class SaveFaultTest : public SaveFixture
{
protected:
    void SaveEverything(const std::string& name)
    {
        // Every slot named: a slot left as it was gets no card file.
        Run("for s = 1, 4 do Players[s].Name = '" + name + "' end Config['fault.name'] = '" +
            name + "'");
        ASSERT_EQ(0, m_IO->SaveAllPlayerData());
        m_Config->Write(m_ConfigPath);
    }
};

} // namespace

TEST_F(SaveFaultTest, AReadOnlyFolderKeepsTheOldFilesAndTheNextSaveWritesTheNewOnes)
{
    m_IO->LoadAllPlayerData(true);
    SaveEverything("before");
    const auto before = Snapshot(m_Home.Path());

    // Every card changed, so every card is written (an unchanged one is not).
    Run("for s = 1, 4 do Players[s].Name = 'after' end Config['fault.name'] = 'after'");
    {
        ReadOnlyFolders readOnly({m_Folder, m_Home.Path()});
        OutputCapture out(1);
        EXPECT_EQ(4, m_IO->SaveAllPlayerData());
        try {
            m_Config->Write(m_ConfigPath);
            ADD_FAILURE() << "the configuration was written into a read-only folder";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(m_ConfigPath, e.GetPath());
            EXPECT_EQ("Permission denied", e.GetCause());
        }
        const std::string log = out.Text();
        EXPECT_NE(std::string::npos,
                  log.find("could not save player #1 (\"after\") to \"" + m_IO->GetCardPath(1) +
                           "\": Permission denied. The previous card was "
                           "kept."))
            << log;
    }
    EXPECT_EQ(before, Snapshot(m_Home.Path()));

    // The data in memory is untouched: the next save writes it.
    EXPECT_EQ(0, m_IO->SaveAllPlayerData());
    m_Config->Write(m_ConfigPath);
    EXPECT_NE(std::string::npos, ReadFile(m_IO->GetCardPath(1)).find("\"after\""));
    EXPECT_NE(std::string::npos, ReadFile(m_ConfigPath).find("\"after\""));
    EXPECT_EQ("", CheckFiles());
}

TEST_F(SaveFaultTest, AFullDiskKeepsTheOldFilesWholeAndLeavesNothingBehind)
{
    m_IO->LoadAllPlayerData(true);
    SaveEverything("before");
    const auto before = Snapshot(m_Home.Path());

    // Each file would grow past the limit: every save fails, in the child only.
    LimitedRun run = RunWithFileSizeLimit(64, [&] {
        Run("for s = 1, 4 do Players[s].Name = 'after' end "
            "Config['fault.name'] = string.rep('y', 500)");
        int failures = m_IO->SaveAllPlayerData();
        try {
            m_Config->Write(m_ConfigPath);
        } catch (const FileWriteError& e) {
            std::printf("config: %s\n", e.what());
            ++failures;
        }
        return failures;
    });
    EXPECT_EQ(5, run.status) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("config: Could not write file:\nfile = " +
                                                 m_ConfigPath + "\nerror = File too large"))
        << run.output;
    EXPECT_NE(std::string::npos,
              run.output.find("to \"" + m_IO->GetCardPath(4) + "\": File too large."))
        << run.output;
    EXPECT_EQ(before, Snapshot(m_Home.Path())); // no temporary or empty file either
    EXPECT_EQ("", CheckFiles());
}
