#pragma once
// A temporary home folder for tests: while it lives, HOME, XDG_DATA_HOME,
// XDG_CONFIG_HOME and XDG_RUNTIME_DIR point inside it; the previous values come back and the folder
// is removed when it dies (kept when BB_KEEP_TEST_HOME is set). Nest freely: each test may make its
// own.
#include <string>

namespace bbtest {

class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string DataHome() const { return m_Path + "/.local/share"; }
    std::string ConfigHome() const { return m_Path + "/.config"; }
    std::string RuntimeDir() const { return m_Path + "/run"; }

private:
    std::string m_Path;
    std::string m_Saved[4];
    bool m_Had[4];
};

// Removes a folder and everything below it; quiet when it does not exist.
void RemoveTree(const std::string& path);
// Writes a whole file, creating its folders; throws std::runtime_error on failure.
void WriteFile(const std::string& path, const std::string& bytes);
// Reads a whole file; throws std::runtime_error when it cannot be read.
std::string ReadFile(const std::string& path);

} // namespace bbtest
