#pragma once
// The one PhysFS library instance of the process, shared by the PhysFS resource scanners.
// It is made (and PhysFS initialised) when the first scanner asks for it and deleted (and
// PhysFS shut down) when the last scanner lets go. Every scanner's path is mounted on the
// one search path, so one scanning pass scans the merged search path once, however many
// PhysFS scanners there are. Main thread only.
#include "resources/ResourceScanner.h"

#include <string>

class PhysFSManager
{
public:
    // The instance, made on first use; PhysFS initialisation failure throws Exception.
    static PhysFSManager* GetInstance();

    // A scanner starts using the instance (and counts as one more PhysFS scanner).
    void AddRef();
    // A scanner stops using it; at 0 PhysFS is shut down and the instance deleted. Below
    // 0 is the assertion failure "m_RefCount >= 0".
    void DecRef();

    // Called once per PhysFS scanner in each scanning pass: the first call of a pass
    // scans the whole search path into outputList, the others add nothing.
    void PerformScan(ResourceInfoMap& outputList);
    // Scans one folder of the search path ("" for its root) and everything below it, down
    // to MAX_FOLDER_DEPTH folders. Listed names that name no child (empty, "." or "..", or
    // with a path separator, as a damaged archive may list) are skipped with a warning, as
    // are folders nested deeper.
    void Internal_PerformScan(ResourceInfoMap& outputList, const std::string& directory);

    // The deepest folder nesting a scan follows.
    static constexpr int MAX_FOLDER_DEPTH = 32;

    // PhysFS's text for its last error.
    static std::string LastError();

private:
    PhysFSManager();
    ~PhysFSManager();

    int m_RefCount = 0;
    int m_NumScanners = 0;
    int m_ScanCalls = 0;
    bool m_OwnsLibrary = false; // PhysFS was initialised by this instance
};
