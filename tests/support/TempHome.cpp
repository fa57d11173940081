#include "support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace bbtest {

static const char* const kVars[4] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                     "XDG_RUNTIME_DIR"};

TempHome::TempHome()
{
    std::string templ = (fs::temp_directory_path() / "bumperlux-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("cannot create a temporary home folder");
    m_Path = templ;
    fs::create_directories(DataHome());
    fs::create_directories(ConfigHome());
    fs::create_directories(RuntimeDir());
    const std::string values[4] = {m_Path, DataHome(), ConfigHome(), RuntimeDir()};
    for (int i = 0; i < 4; ++i) {
        const char* old = getenv(kVars[i]);
        m_Had[i] = old != nullptr;
        m_Saved[i] = old ? old : "";
        setenv(kVars[i], values[i].c_str(), 1);
    }
}

TempHome::~TempHome()
{
    for (int i = 0; i < 4; ++i) {
        if (m_Had[i])
            setenv(kVars[i], m_Saved[i].c_str(), 1);
        else
            unsetenv(kVars[i]);
    }
    // BB_KEEP_TEST_HOME keeps the folder (crash reports, logs) for a look after the run.
    if (!getenv("BB_KEEP_TEST_HOME"))
        RemoveTree(m_Path);
}

void RemoveTree(const std::string& path)
{
    std::error_code ec;
    fs::remove_all(path, ec);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    fs::path p(path);
    if (p.has_parent_path())
        fs::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace bbtest
