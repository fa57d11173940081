#pragma once
// Reads a file on disk by mapping it into memory. The file stays mapped from the first
// Read until Close or destruction, so a loaded resource may point into it.
#include "resources/FileReader.h"
#include "win32/FileMapping.h"

class WindowsMappedFileReader : public FileReader
{
public:
    WindowsMappedFileReader() = default;
    // Unmaps and closes; failures to do so are logged, not thrown.
    ~WindowsMappedFileReader() override;

    // Maps the file at location on the first call (and after Close); later calls return
    // the same view. Failures throw ResourceLoadError naming the file.
    void Read(const std::string& location, const void*& outData, uint32_t& outSize) override;
    // Unmaps the view and closes the handles; each failure throws Exception naming the
    // file.
    void Close() override;

private:
    void MapFileIntoMemory(const std::string& location);

    KERNEL_HANDLE m_hFile = nullptr;
    KERNEL_HANDLE m_hFileMapping = nullptr;
    const void* m_View = nullptr;
    uint32_t m_Size = 0;
    std::string m_Location;
};
