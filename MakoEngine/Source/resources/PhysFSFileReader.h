#pragma once
// Reads a file of the PhysFS search path (a folder or an archive) into a buffer of its
// own, kept from the first Read until Close or destruction.
#include "resources/FileReader.h"

#include <memory>

class PhysFSFileReader : public FileReader
{
public:
    // Reads the file at location (a path in the search path) on the first call; later
    // calls return the same buffer. A missing file fails an assertion naming it; a file
    // whose contents cannot be read whole (a damaged package entry) raises
    // ResourceLoadError "Could not read "<location>" from "<package>": <cause>".
    void Read(const std::string& location, const void*& outData, uint32_t& outSize) override;
    void Close() override;

private:
    std::unique_ptr<unsigned char[]> m_Buffer;
    uint32_t m_Size = 0;
};
