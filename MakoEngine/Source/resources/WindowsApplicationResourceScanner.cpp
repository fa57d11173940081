#include "resources/WindowsApplicationResourceScanner.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "resources/WindowsResourceFileReader.h"
#include "win32/ProgramResources.h"

#include <boost/format.hpp>

bool WindowsApplicationResourceScanner::LoadResourceTable(const void*& data, uint32_t& size)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceExA(module, "MAKO_RESOURCE", "RESOURCE_TABLE", 0);
    if (!resource)
        return false;
    size = SizeofResource(module, resource);
    if (size == 0)
        MAKO_THROW(Exception, boost::str(boost::format("Could not load resource table, dwSize "
                                                       "== 0:\nerror = %1%") %
                                         GetLastErrorText()));
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded)
        MAKO_THROW(Exception,
                   boost::str(boost::format("Could not load resource table:\nerror = %1%") %
                              GetLastErrorText()));
    data = LockResource(loaded);
    if (!data)
        MAKO_THROW(Exception, boost::str(boost::format("Could not lock resource:\nerror = %1%") %
                                         GetLastErrorText()));
    return true;
}

void WindowsApplicationResourceScanner::ReadResourceTable(ResourceTable& table, const void* data,
                                                          uint32_t size)
{
    enum { READING_FILE_NAME, READING_RESOURCE_NAME } state = READING_FILE_NAME;
    const char* bytes = static_cast<const char*>(data);
    std::string fileName;
    std::string resourceName;
    for (uint32_t i = 0; i < size; ++i) {
        char c = bytes[i];
        if (state == READING_FILE_NAME) {
            if (c != '\0')
                fileName += c;
            else
                state = READING_RESOURCE_NAME;
        } else if (c != '\0') {
            resourceName += c;
        } else {
            table.emplace(fileName, resourceName);
            fileName.clear();
            resourceName.clear();
            state = READING_FILE_NAME;
        }
    }
    MAKO_ASSERT(state == READING_FILE_NAME);
}

void WindowsApplicationResourceScanner::Scan(ResourceInfoMap& outputList)
{
    const void* data = nullptr;
    uint32_t size = 0;
    if (LoadResourceTable(data, size)) {
        ResourceTable table;
        ReadResourceTable(table, data, size);
        for (const auto& pair : table)
            m_Entries[pair.first] = std::make_unique<ResourceInfo>(
                pair.first, std::make_unique<WindowsResourceFileReader>(pair.second));
    }
    // The entries change hands: the registry owns them from here on.
    for (auto& entry : m_Entries)
        outputList[entry.first] = std::move(entry.second);
    m_Entries.clear();
}
