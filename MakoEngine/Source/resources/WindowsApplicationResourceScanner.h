#pragma once
// Finds the scripts and configuration files embedded in the program. The program's
// resource "RESOURCE_TABLE" lists them: pairs of a file name in its own case and the
// resource name (the same in upper case), each followed by one NUL byte. Each file
// becomes a resource named by its file name, read by its resource name.
#include "resources/ResourceScanner.h"

#include <map>
#include <string>

class WindowsApplicationResourceScanner : public ResourceScanner
{
public:
    // file name -> resource name.
    using ResourceTable = std::map<std::string, std::string>;

    // Nothing when the program has no resource table; a table that cannot be read throws.
    void Scan(ResourceInfoMap& outputList) override;
    std::string GetDescription() override { return "Windows application resource scanner"; }
    bool HoldsProgramFiles() const override { return true; }

    // Parses a resource table of size bytes into table (a repeated file name keeps its
    // first pair). A table that ends inside a resource name fails the assertion
    // "state == READING_FILE_NAME"; a file name cut off by the end is dropped.
    static void ReadResourceTable(ResourceTable& table, const void* data, uint32_t size);

private:
    // The table's bytes, or false when the program has none.
    static bool LoadResourceTable(const void*& data, uint32_t& size);

    ResourceInfoMap m_Entries = MakeResourceInfoMap();
};
