#include "support/engine/ResourceScope.h"

#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceScanner.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <exception>

namespace bbtest {

namespace {

// How many of TestResources' scanners belong to the program (AddProgramScanner).
std::size_t s_ProgramScanners = 0;

// Takes away the scanners after the first count and scans the rest again; a scan that
// fails fails the running test (this runs in destructors and listeners: nothing escapes).
void RestoreScanners(std::size_t count)
{
    ResourceManager& resources = TestResources();
    if (resources.GetScannerCount() <= count)
        return;
    resources.RemoveScannersAfter(count);
    try {
        resources.ScanAll();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "scanning the program's resources again failed: " << e.what();
    }
}

// After each case: the manager holds the program's scanners and no more.
class ScannerCheck : public ::testing::EmptyTestEventListener
{
public:
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        if (!HaveTestResources())
            return;
        const std::size_t count = TestResources().GetScannerCount();
        if (count <= s_ProgramScanners)
            return;
        ADD_FAILURE() << test.test_suite_name() << "." << test.name() << " left "
                      << count - s_ProgramScanners
                      << " resource scanner(s) behind for the cases after it: lend them through "
                         "bbtest::ResourceScope (support/engine/ResourceScope.h)";
        RestoreScanners(s_ProgramScanners);
    }
};

[[maybe_unused]] const bool s_Installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScannerCheck);
    return true;
}();

} // namespace

void AddProgramScanner(ResourceScanner* scanner)
{
    ResourceManager& resources = TestResources();
    resources.AddScanner(scanner);
    s_ProgramScanners = resources.GetScannerCount();
}

ResourceScope::ResourceScope() : m_Found(TestResources().GetScannerCount()) {}

ResourceScope::~ResourceScope()
{
    Restore();
}

void ResourceScope::Add(ResourceScanner* scanner)
{
    TestResources().AddScanner(scanner);
}

bool ResourceScope::Hide(const std::string& name)
{
    std::unique_ptr<ResourceInfo> taken = TestResources().TakeInfo(name);
    if (!taken)
        return false;
    m_Hidden.emplace_back(name, std::move(taken));
    return true;
}

void ResourceScope::Restore()
{
    for (auto& [name, info] : m_Hidden)
        TestResources().AddInfo(name, info.release());
    m_Hidden.clear();
    RestoreScanners(m_Found);
}

} // namespace bbtest
