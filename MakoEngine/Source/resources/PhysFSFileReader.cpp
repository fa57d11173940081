#include "resources/PhysFSFileReader.h"

#include "core/Exception.h"
#include "resources/PhysFSManager.h"

#include <boost/format.hpp>
#include <physfs.h>

const std::size_t kLargestPackFileBytes = std::size_t(64) << 20;

namespace {
struct CloseFile
{
    void operator()(PHYSFS_File* file) const { PHYSFS_close(file); }
};

// Raises ResourceLoadError "Could not read "<location>" from "<package>": <cause>": the user
// needs to know which file of which package to replace.
[[noreturn]] void FailRead(const std::string& location, const std::string& cause)
{
    const char* package = PHYSFS_getRealDir(location.c_str());
    MAKO_THROW(ResourceLoadError,
               boost::str(boost::format("Could not read \"%1%\" from \"%2%\": %3%") % location %
                          (package ? package : "the resource search path") % cause));
}

std::string TooLarge()
{
    return "it is larger than the " + std::to_string(kLargestPackFileBytes >> 20) +
           " MiB a file of a pack may hold";
}

// Refuses what is not a regular file of at most kLargestPackFileBytes before it is opened:
// opening a FIFO of a folder pack would wait for a writer for ever.
void CheckReadable(const std::string& location)
{
    PHYSFS_Stat stat;
    MAKO_ASSERT_MSG(PHYSFS_stat(location.c_str(), &stat) != 0,
                    boost::format("Cannot find file:\nfile = %1%") % location);
    if (stat.filetype != PHYSFS_FILETYPE_REGULAR)
        FailRead(location, "it is not a regular file");
    if (stat.filesize > PHYSFS_sint64(kLargestPackFileBytes))
        FailRead(location, TooLarge());
}

} // namespace

void PhysFSFileReader::Read(const std::string& location, const void*& outData, uint32_t& outSize)
{
    if (!m_Buffer) {
        CheckReadable(location);
        PHYSFS_File* file = PHYSFS_openRead(location.c_str());
        MAKO_ASSERT_MSG(file != 0, boost::format("Could not open file for reading:\nfile = %1%\n"
                                                 "error = %2%") %
                                       location % PhysFSManager::LastError());
        std::unique_ptr<PHYSFS_File, CloseFile> closer(file);
        const PHYSFS_sint64 length = PHYSFS_fileLength(file);
        if (length < 0)
            FailRead(location, "its size cannot be known: " + PhysFSManager::LastError());
        if (length > PHYSFS_sint64(kLargestPackFileBytes))
            FailRead(location, TooLarge());
        // The size is only returned while a buffer is held, so setting it before a read
        // that fails leaves nothing half-made.
        m_Size = static_cast<uint32_t>(length);
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[m_Size > 0 ? m_Size : 1]);
        PHYSFS_sint64 bytesRead = PHYSFS_readBytes(file, buffer.get(), m_Size);
        if (bytesRead != PHYSFS_sint64(m_Size)) {
            const std::string error =
                bytesRead < 0 ? PhysFSManager::LastError()
                              : boost::str(boost::format("only %1% of %2% bytes could be read") %
                                           bytesRead % m_Size);
            m_Size = 0;
            FailRead(location, error);
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
