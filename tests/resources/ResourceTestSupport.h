#pragma once
// Shared pieces of the resource tests: a script-state fixture with a temporary folder and
// a resource manager, a log capture, a loader of test resources that counts the
// resources alive, and two small PNG images.
#include "core/Log.h"
#include "resources/FileReader.h"
#include "resources/Resource.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceManager.h"
#include "support/TempHome.h"
#include "support/engine/LogCaptureStart.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace bbtest {

// Everything the log writes while it lives, read back with Text().
class LogCapture
{
public:
    explicit LogCapture(const std::string& path) : m_Path(path), m_Previous(GetLogFilePath())
    {
        StartLogCapture(path);
    }
    ~LogCapture() { SetLogFilePath(m_Previous); }
    std::string Text() const { return ReadFile(m_Path); }
    // How many times text occurs in what was logged.
    int Count(const std::string& text) const
    {
        std::string all = Text();
        int count = 0;
        for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
            ++count;
        return count;
    }

private:
    std::string m_Path;
    std::string m_Previous;
};

// A resource that counts how many of its kind are alive.
class TrackedResource : public Resource
{
public:
    explicit TrackedResource(const std::string& bytes) : m_Bytes(bytes) { ++Alive(); }
    ~TrackedResource() override { --Alive(); }
    int CalcMemoryUsage() override { return static_cast<int>(m_Bytes.size()); }
    const std::string& Bytes() const { return m_Bytes; }
    static int& Alive()
    {
        static int alive = 0;
        return alive;
    }

private:
    std::string m_Bytes;
};

// Loads files named "*.tst" into TrackedResources (type RESOURCE_SOUND, so they are told
// apart from tables); a file holding "fail" fails to load.
class TrackedLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "tracked test loader"; }
};

// A reader of fixed bytes.
class MemoryReader : public FileReader
{
public:
    explicit MemoryReader(const std::string& bytes) : m_Bytes(bytes) {}
    void Read(const std::string&, const void*& data, uint32_t& size) override
    {
        data = m_Bytes.data();
        size = static_cast<uint32_t>(m_Bytes.size());
    }
    void Close() override { ++m_Closed; }
    int Closed() const { return m_Closed; }

private:
    std::string m_Bytes;
    int m_Closed = 0;
};

// A fresh script state, a temporary folder (Dir) and a resource manager on the state.
class ResourceFixture : public LuaFixture
{
protected:
    ResourceFixture();
    ~ResourceFixture() override;

    ResourceManager& Manager() { return *m_Manager; }
    // Destroys the manager now (it is otherwise destroyed with the fixture).
    void DestroyManager() { m_Manager.reset(); }
    // A path below the temporary folder.
    std::string Dir(const std::string& relative = "") const;
    // Registers an unloaded entry reading bytes from memory, as one of the program's own files.
    ResourceInfo* AddMemoryEntry(const std::string& name, const std::string& location,
                                 const std::string& bytes);
    // Zips the contents of folder into zipPath (with the zip program).
    static void ZipFolder(const std::string& folder, const std::string& zipPath);

private:
    TempHome m_Home;
    std::unique_ptr<ResourceManager> m_Manager;
};

// The message of the Exception that statement throws ("" when none).
#define BB_EXCEPTION_MESSAGE(statement, Type)                                                      \
    [&]() -> std::string {                                                                         \
        try {                                                                                      \
            statement;                                                                             \
        } catch (const Type& e) {                                                                  \
            return e.GetMessage();                                                                 \
        }                                                                                          \
        return std::string();                                                                      \
    }()

std::string OpaquePng(); // 4 x 3, RGB
std::string AlphaPng();  // 5 x 2, RGBA

} // namespace bbtest
