#include "resources/PhysFSManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "resources/PhysFSFileReader.h"

#include <boost/format.hpp>
#include <physfs.h>

#include <algorithm>
#include <memory>

namespace {

PhysFSManager* gPhysFSManager = nullptr;

struct FreeList
{
    void operator()(char** list) const { PHYSFS_freeList(list); }
};

// Whether a listed name names a child of its folder: not empty, not "." or "..", and free
// of path separators.
bool IsScannableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

bool IsPhysFSDirectory(const std::string& path)
{
    PHYSFS_Stat stat;
    return PHYSFS_stat(path.c_str(), &stat) != 0 && stat.filetype == PHYSFS_FILETYPE_DIRECTORY;
}

} // namespace

std::string PhysFSManager::LastError()
{
    const char* text = PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
    return text ? text : "unknown error";
}

PhysFSManager* PhysFSManager::GetInstance()
{
    if (!gPhysFSManager)
        gPhysFSManager = new PhysFSManager();
    return gPhysFSManager;
}

PhysFSManager::PhysFSManager()
{
    if (!PHYSFS_isInit()) {
        if (!PHYSFS_init(nullptr))
            MAKO_THROW(Exception, boost::str(boost::format("Could not initialise PhysicsFS:\n"
                                                           "error = %1%") %
                                             LastError()));
        m_OwnsLibrary = true;
    }
}

PhysFSManager::~PhysFSManager()
{
    if (m_OwnsLibrary)
        PHYSFS_deinit();
}

void PhysFSManager::AddRef()
{
    ++m_RefCount;
    ++m_NumScanners;
}

void PhysFSManager::DecRef()
{
    --m_RefCount;
    --m_NumScanners;
    MAKO_ASSERT(m_RefCount >= 0);
    if (m_RefCount == 0) {
        gPhysFSManager = nullptr;
        delete this;
    }
}

void PhysFSManager::PerformScan(ResourceInfoMap& outputList)
{
    bool first = m_ScanCalls == 0;
    if (++m_ScanCalls >= m_NumScanners)
        m_ScanCalls = 0;
    if (!first)
        return;
    try {
        Internal_PerformScan(outputList, "");
    } catch (...) {
        m_ScanCalls = 0; // a failed pass must not make the next one skip its scan
        throw;
    }
}

void PhysFSManager::Internal_PerformScan(ResourceInfoMap& outputList, const std::string& dir)
{
    if (std::count(dir.begin(), dir.end(), '/') >= MAX_FOLDER_DEPTH) {
        Log("WARNING: PhysicsFS resource scanner skipped the folder \"%s\": nested too deep\n",
            dir.c_str());
        return;
    }
    if (PHYSFS_exists(boost::str(boost::format("%1%/DO_NOT_SCAN") % dir).c_str()))
        return;

    std::unique_ptr<char*, FreeList> list(PHYSFS_enumerateFiles(dir.c_str()));
    MAKO_ASSERT_MSG(list != 0, boost::format("Could not list the folder \"%1%\":\nerror = %2%") %
                                   dir % LastError());

    std::unique_ptr<ResourceInfo> metadataInfo;
    ResourceInfoMap foundResources = MakeResourceInfoMap();
    for (char** name = list.get(); *name; ++name) {
        std::string fileName = *name;
        // A damaged archive can list names that lead nowhere or back to this folder (an
        // entry path with "//" lists an empty name); following them never ends.
        if (!IsScannableName(fileName)) {
            Log("WARNING: PhysicsFS resource scanner skipped the entry \"%s\" of the folder "
                "\"%s\"\n",
                fileName.c_str(), dir.c_str());
            continue;
        }
        std::string path =
            dir.empty() ? fileName : boost::str(boost::format("%1%/%2%") % dir % fileName);
        auto info = std::make_unique<ResourceInfo>(path, std::make_unique<PhysFSFileReader>());
        if (fileName == "metadata.cfg") {
            metadataInfo = std::move(info);
        } else {
            MAKO_ASSERT(foundResources.find(fileName) == foundResources.end());
            foundResources[fileName] = std::move(info);
        }
        if (IsPhysFSDirectory(path))
            Internal_PerformScan(outputList, path);
    }
    list.reset();

    if (metadataInfo)
        ResourceScanner::ProcessMetadataFile(*metadataInfo, foundResources);
    metadataInfo.reset();

    for (auto& entry : foundResources) {
        auto existing = outputList.find(entry.first);
        // Folders of one name in several places (Images/Walls, Sounds/Walls) are containers,
        // not a resource either could mean; only a file in the pair is a real duplicate.
        if (existing != outputList.end() && !(IsPhysFSDirectory(entry.second->Name()) &&
                                              IsPhysFSDirectory(existing->second->Name())))
            Log("WARNING: Duplicate file entry found by PhysicsFS resource scanner, \"%s\"\n",
                entry.first.c_str());
        outputList[entry.first] = std::move(entry.second);
    }
}
