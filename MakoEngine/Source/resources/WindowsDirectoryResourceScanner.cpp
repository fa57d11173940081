#include "resources/WindowsDirectoryResourceScanner.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "resources/WindowsMappedFileReader.h"
#include "win32/FileMapping.h"

#include <algorithm>
#include <boost/format.hpp>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string CurrentDirectory()
{
    char buffer[4096];
    return getcwd(buffer, sizeof(buffer)) ? std::string(buffer) : std::string("(unknown)");
}

// The names in a folder, sorted, without "." and "..". Errors throw Exception naming the
// folder.
std::vector<std::string> ListDirectory(const std::string& dirName)
{
    DIR* dir = opendir(dirName.c_str());
    if (!dir)
        MAKO_THROW(Exception,
                   boost::str(boost::format("Could not scan directory for metadata:\ndir=%1%\n"
                                            "error=%2%\ncurrentWorkingDirectory=%3%") %
                              dirName % GetLastErrorText() % CurrentDirectory()));
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        struct dirent* entry = readdir(dir);
        if (!entry)
            break;
        std::string name = entry->d_name;
        if (!name.empty() && name.back() != '.')
            names.push_back(name);
    }
    if (errno != 0) {
        std::string error = GetLastErrorText();
        closedir(dir);
        MAKO_THROW(Exception, boost::str(boost::format("Could not find next file:\ndir=%1%\n"
                                                       "error=%2%") %
                                         dirName % error));
    }
    if (closedir(dir) != 0)
        MAKO_THROW(Exception, boost::str(boost::format("Could not close file find handle:\n"
                                                       "dir=%1%\nerror=%2%") %
                                         dirName % GetLastErrorText()));
    std::sort(names.begin(), names.end());
    return names;
}

bool HasDoNotScan(const std::string& dirName)
{
    FILE* marker = std::fopen((dirName + "DO_NOT_SCAN").c_str(), "r");
    if (!marker)
        return false;
    std::fclose(marker);
    return true;
}

} // namespace

WindowsDirectoryResourceScanner::WindowsDirectoryResourceScanner(const std::string& root,
                                                                 bool optional)
    : m_Root(root), m_Optional(optional)
{
    std::replace(m_Root.begin(), m_Root.end(), '\\', '/');
    if (m_Root.empty() || m_Root.back() != '/')
        m_Root += '/';
}

std::string WindowsDirectoryResourceScanner::GetDescription()
{
    return boost::str(boost::format("Windows directory resource scanner for \"%1%\"") % m_Root);
}

void WindowsDirectoryResourceScanner::Scan(ResourceInfoMap& outputList)
{
    if (m_Optional && !FileExists(m_Root, EXISTS_DIRECTORY)) {
        Log("Skipping resource folder \"%s\": it does not exist.\n", m_Root.c_str());
        return;
    }
    DoRecursiveScan(m_Root, outputList);
}

void WindowsDirectoryResourceScanner::DoRecursiveScan(const std::string& dirName,
                                                      ResourceInfoMap& outputList)
{
    // A path that is there but no folder fails here. A missing path answers every bit set,
    // passes, and is reported by the listing below, which names it and the working folder.
    MAKO_ASSERT(GetFileAttributesA(dirName.c_str()) & 0x00000010);
    if (HasDoNotScan(dirName))
        return;

    std::unique_ptr<ResourceInfo> metadataResInfo;
    std::vector<std::string> subdirectories;
    for (const std::string& name : ListDirectory(dirName)) {
        std::string path = dirName + name;
        if (FileExists(path, EXISTS_DIRECTORY)) {
            subdirectories.push_back(path + "/");
        } else if (IsMetadataFile(name)) {
            MAKO_ASSERT_MSG(metadataResInfo == 0,
                            boost::format("Metadata in the directory \"%1%\" with the file name "
                                          "\"%2%\" was already found in the file \"%3%\"") %
                                dirName % name % metadataResInfo->Name());
            metadataResInfo =
                std::make_unique<ResourceInfo>(path, std::make_unique<WindowsMappedFileReader>());
        } else {
            outputList[name] =
                std::make_unique<ResourceInfo>(path, std::make_unique<WindowsMappedFileReader>());
        }
    }

    if (metadataResInfo)
        ProcessMetadataFile(*metadataResInfo, outputList);
    metadataResInfo.reset();

    for (const std::string& subdirectory : subdirectories)
        DoRecursiveScan(subdirectory, outputList);
}
