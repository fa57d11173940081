#pragma once
// Reads a file of the PhysFS search path (a folder or an archive) into a buffer of its
// own, kept from the first Read until Close or destruction. Every file of a pack the game
// reads (level files, scripts, pictures, sounds, songs) comes through here: only a regular
// file of at most kLargestPackFileBytes is read.
#include "resources/FileReader.h"

#include <cstddef>
#include <memory>

// The largest file of a pack read, in bytes: far more than any level, picture or song holds.
extern const std::size_t kLargestPackFileBytes;

class PhysFSFileReader : public FileReader
{
public:
    // Reads the file at location (a path in the search path) on the first call; later
    // calls return the same buffer. A missing file fails an assertion naming it; a file
    // that is not a regular one (a FIFO of a folder pack is not waited on), is larger than
    // kLargestPackFileBytes, or whose contents cannot be read whole (a damaged package entry)
    // raises ResourceLoadError "Could not read "<location>" from "<package>": <cause>".
    void Read(const std::string& location, const void*& outData, uint32_t& outSize) override;
    void Close() override;

private:
    std::unique_ptr<unsigned char[]> m_Buffer;
    uint32_t m_Size = 0;
};
