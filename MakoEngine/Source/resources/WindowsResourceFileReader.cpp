#include "resources/WindowsResourceFileReader.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "win32/ProgramResources.h"

#include <boost/format.hpp>

WindowsResourceFileReader::WindowsResourceFileReader(const std::string& resourceName)
    : m_ResourceName(resourceName)
{
}

void WindowsResourceFileReader::Read(const std::string&, const void*& outData, uint32_t& outSize)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceExA(module, "MAKO_RESOURCE", m_ResourceName.c_str(), 0);
    if (!resource)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not find Windows resource:\nname = %1%\n"
                                            "error = %2%") %
                              m_ResourceName % GetLastErrorText()));
    uint32_t size = SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not load Windows resource:\nname = %1%\n"
                                            "error = %2%") %
                              m_ResourceName % GetLastErrorText()));
    const void* data = LockResource(loaded);
    if (!data)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not lock Windows resource:\nname = %1%\n"
                                            "error = %2%") %
                              m_ResourceName % GetLastErrorText()));
    outData = data;
    outSize = size;
}
