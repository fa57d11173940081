#include "resources/PhysFSResourceScanner.h"

#include "core/Exception.h"
#include "resources/PhysFSManager.h"

#include <boost/format.hpp>
#include <physfs.h>

#include <algorithm>

PhysFSResourceScanner::PhysFSResourceScanner(const std::string& path) : m_Path(path)
{
    std::replace(m_Path.begin(), m_Path.end(), '\\', '/');
    PhysFSManager* manager = PhysFSManager::GetInstance();
    manager->AddRef();
    if (!PHYSFS_mount(m_Path.c_str(), nullptr, 0)) {
        std::string error = PhysFSManager::LastError();
        manager->DecRef();
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not mount resource package: \"%1%\"\n"
                                            "error = %2%") %
                              m_Path % error));
    }
}

PhysFSResourceScanner::~PhysFSResourceScanner()
{
    PhysFSManager::GetInstance()->DecRef();
}

void PhysFSResourceScanner::Scan(ResourceInfoMap& outputList)
{
    PhysFSManager::GetInstance()->PerformScan(outputList);
}

std::string PhysFSResourceScanner::GetDescription()
{
    return boost::str(boost::format("PhysicsFS resource scanner: \"%1%\"") % m_Path);
}
