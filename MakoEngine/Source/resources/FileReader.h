#pragma once
// Produces the bytes of one resource on demand. Owned by the resource's ResourceInfo.
#include <cstdint>
#include <string>

class FileReader
{
public:
    virtual ~FileReader() = default;

    // The whole content of the resource at location (the entry's name) and its length.
    // The bytes stay valid until Close or the reader's destruction; repeated calls return
    // the same bytes without reading again.
    virtual void Read(const std::string& location, const void*& outData, uint32_t& outSize) = 0;

    // Gives the bytes up (unmaps, frees). A later Read produces them again. Loaders never
    // call it: a loaded resource may point into the bytes.
    virtual void Close() = 0;
};
