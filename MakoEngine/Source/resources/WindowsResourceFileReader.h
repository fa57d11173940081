#pragma once
// Reads a file embedded in the program (type "MAKO_RESOURCE") by its upper-case resource
// name. The bytes belong to the program, so Close has nothing to give up.
#include "resources/FileReader.h"

class WindowsResourceFileReader : public FileReader
{
public:
    explicit WindowsResourceFileReader(const std::string& resourceName);

    // location is ignored: the reader knows its resource by name. Failures throw
    // ResourceLoadError naming the resource.
    void Read(const std::string& location, const void*& outData, uint32_t& outSize) override;
    void Close() override {}

    const std::string& GetResourceName() const MAKO_LIFETIMEBOUND { return m_ResourceName; }

private:
    std::string m_ResourceName;
};
