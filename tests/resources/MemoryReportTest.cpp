// The memory report: the physics library's blocks are counted exactly from creation to
// destruction, and the figures read from the process are whole and consistent.
#include "resources/MemoryReport.h"
#include "physics/OdeRuntime.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <sstream>
#include <vector>

TEST(MemoryReportTest, CountsThePhysicsBlocksUntilTheyAreFreed)
{
    OdeRuntime::Acquire();
    const std::int64_t before = MemoryReport::PhysicsBytes();

    dWorldID world = dWorldCreate();
    dSpaceID space = dHashSpaceCreate(nullptr);
    std::vector<dBodyID> bodies;
    for (int i = 0; i < 200; ++i) {
        dBodyID body = dBodyCreate(world);
        dGeomID sphere = dCreateSphere(space, 1.0);
        dGeomSetBody(sphere, body);
        dBodySetPosition(body, i * 3.0, 0, 0);
        bodies.push_back(body);
    }
    // Stepping grows and shrinks the library's working memory through the same hooks.
    dWorldQuickStep(world, 0.032);
    const std::int64_t during = MemoryReport::PhysicsBytes();
    EXPECT_GT(during - before, 200 * std::int64_t(sizeof(double)) * 12);
    EXPECT_EQ(during, MemoryReport::Take().physicsBytes);

    dSpaceDestroy(space);
    dWorldDestroy(world);
    // Back to where it was, but for the library's own state made on the first step.
    const std::int64_t after = MemoryReport::PhysicsBytes();
    EXPECT_GE(after, before);
    EXPECT_LE(after - before, 4096);
    // Shutting the library down frees that too, all counted.
    OdeRuntime::Release();
    if (OdeRuntime::GetReferenceCount() == 0) {
        EXPECT_LE(MemoryReport::PhysicsBytes(), before);
    }
    EXPECT_GE(MemoryReport::PhysicsBytes(), 0);
}

TEST(MemoryReportTest, ReadsTheProcessAndFormatsThreeLines)
{
    std::vector<char> touched(8 << 20, 1); // 8 MiB the process really uses
    const MemoryReport report = MemoryReport::Take();
    EXPECT_GE(report.residentBytes, std::int64_t(touched.size()));
    EXPECT_GE(report.peakResidentBytes, report.residentBytes);
    EXPECT_GT(report.codeBytes, 0);
    EXPECT_GE(report.anonymousBytes, std::int64_t(touched.size()));
    EXPECT_LE(report.codeBytes + report.fileBytes + report.anonymousBytes,
              report.residentBytes + (4 << 20));

    std::istringstream lines(report.Format());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(0u, line.rfind("Memory: ", 0)) << line;
        EXPECT_NE(std::string::npos, line.find(" MiB")) << line;
        ++count;
    }
    EXPECT_EQ(3, count);
}
