#include "resources/WindowsMappedFileReader.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"

#include <boost/format.hpp>

WindowsMappedFileReader::~WindowsMappedFileReader()
{
    try {
        Close();
    } catch (const Exception& e) {
        Log("%s\n", e.GetMessage().c_str());
    }
}

void WindowsMappedFileReader::Read(const std::string& location, const void*& outData,
                                   uint32_t& outSize)
{
    if (!(m_hFile && m_hFileMapping && m_View)) {
        MapFileIntoMemory(location);
        m_Location = location;
    }
    outData = m_View;
    outSize = m_Size;
}

void WindowsMappedFileReader::MapFileIntoMemory(const std::string& location)
{
    MAKO_ASSERT(location.empty() == false);
    KERNEL_HANDLE file = CreateFileA(location.c_str());
    if (!file)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not open file: \"%1%\", %2%") % location %
                              GetLastErrorText()));
    uint32_t size = GetFileSize(file);
    if (size == INVALID_FILE_SIZE) {
        std::string error = GetLastErrorText();
        CloseHandle(file);
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not get size of file: \"%1%\", %2%") % location %
                              error));
    }

    KERNEL_HANDLE mapping = CreateFileMappingA(file);
    if (!mapping) {
        std::string mappingError = GetLastErrorText();
        if (!CloseHandle(file))
            MAKO_THROW(ResourceLoadError,
                       boost::str(boost::format("File could not be closed after file mapping "
                                                "failed:\nfile=%1%\nclose error:%2%\nmapping "
                                                "error:%3%") %
                                  location % GetLastErrorText() % mappingError));
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("File mapping failed:\nfile=%1%\nmapping error:%2%") %
                              location % mappingError));
    }

    const void* view = MapViewOfFile(mapping);
    if (!view) {
        std::string mappingError = GetLastErrorText();
        if (!CloseHandle(mapping)) {
            std::string closeMappingError = GetLastErrorText();
            if (!CloseHandle(file))
                MAKO_THROW(ResourceLoadError,
                           boost::str(boost::format("File could not be closed after "
                                                    "MapViewOfFile and CloseHandle(hFile) "
                                                    "failed:\nfile=%1%\nmapping error=%2%\nclose "
                                                    "mapping error=%3%\nclose file error=%4%") %
                                      location % mappingError % closeMappingError %
                                      GetLastErrorText()));
            MAKO_THROW(ResourceLoadError,
                       boost::str(boost::format("File mapping could not be closed after "
                                                "MapViewOfFile failed:\nfile=%1%\nmapping "
                                                "error=%2%\nclose mapping error=%3%") %
                                  location % mappingError % closeMappingError));
        }
        CloseHandle(file);
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("MapViewOfFile failed:\nfile=%1%\nmapping error=%2%") %
                              location % mappingError));
    }

    m_hFile = file;
    m_hFileMapping = mapping;
    m_View = view;
    m_Size = size;
}

void WindowsMappedFileReader::Close()
{
    // Each handle is forgotten before it is given back, so a failure never leaves one to
    // be released twice.
    if (m_View) {
        const void* view = m_View;
        m_View = nullptr;
        if (!UnmapViewOfFile(view))
            MAKO_THROW(Exception, boost::str(boost::format("UnmapViewOfFile failed:\nfile=%1%\n"
                                                           "error=%2%") %
                                             m_Location % GetLastErrorText()));
    }
    if (m_hFileMapping) {
        KERNEL_HANDLE mapping = m_hFileMapping;
        m_hFileMapping = nullptr;
        if (!CloseHandle(mapping))
            MAKO_THROW(Exception, boost::str(boost::format("CloseHandle(m_hFileMapping) failed:\n"
                                                           "file=%1%\nerror=%2%") %
                                             m_Location % GetLastErrorText()));
    }
    if (m_hFile) {
        KERNEL_HANDLE file = m_hFile;
        m_hFile = nullptr;
        if (!CloseHandle(file))
            MAKO_THROW(Exception, boost::str(boost::format("CloseHandle(m_hFile) failed:\n"
                                                           "file=%1%\nerror=%2%") %
                                             m_Location % GetLastErrorText()));
    }
}
