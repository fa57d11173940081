#include "resources/PhysFSFileReader.h"

#include "core/Exception.h"
#include "resources/PhysFSManager.h"

#include <boost/format.hpp>
#include <physfs.h>

namespace {
struct CloseFile
{
    void operator()(PHYSFS_File* file) const { PHYSFS_close(file); }
};
} // namespace

void PhysFSFileReader::Read(const std::string& location, const void*& outData, uint32_t& outSize)
{
    if (!m_Buffer) {
        MAKO_ASSERT_MSG(PHYSFS_exists(location.c_str()),
                        boost::format("Cannot find file:\nfile = %1%") % location);
        PHYSFS_File* file = PHYSFS_openRead(location.c_str());
        MAKO_ASSERT_MSG(file != 0, boost::format("Could not open file for reading:\nfile = %1%\n"
                                                 "error = %2%") %
                                       location % PhysFSManager::LastError());
        std::unique_ptr<PHYSFS_File, CloseFile> closer(file);
        PHYSFS_sint64 length = PHYSFS_fileLength(file);
        MAKO_ASSERT_MSG(length >= 0 && length < PHYSFS_sint64(0xFFFFFFFF),
                        boost::format("Could not get the size of file:\nfile = %1%") % location);
        // The size is only returned while a buffer is held, so setting it before a read
        // that fails leaves nothing half-made.
        m_Size = static_cast<uint32_t>(length);
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[m_Size > 0 ? m_Size : 1]);
        PHYSFS_sint64 bytesRead = PHYSFS_readBytes(file, buffer.get(), m_Size);
        if (bytesRead != PHYSFS_sint64(m_Size)) {
            // A damaged entry of a package: the user needs to know which file of which
            // package to replace.
            const char* package = PHYSFS_getRealDir(location.c_str());
            std::string error = bytesRead < 0 ? PhysFSManager::LastError()
                                              : boost::str(boost::format("only %1% of %2% "
                                                                         "bytes could be read") %
                                                           bytesRead % m_Size);
            m_Size = 0;
            MAKO_THROW(ResourceLoadError,
                       boost::str(boost::format("Could not read \"%1%\" from \"%2%\": %3%") %
                                  location % (package ? package : "the resource search path") %
                                  error));
        }
        m_Buffer = std::move(buffer);
    }
    outData = m_Buffer.get();
    outSize = m_Size;
}

void PhysFSFileReader::Close()
{
    m_Buffer.reset();
    m_Size = 0;
}
