// The one rule on which errors are data's: every kind of error a boundary can meet, made
// the way the engine makes it, and what becomes of it there. A data error stops at the
// object and is said once, on one line; the end of a work meter and the program's own
// mistakes pass on untouched and are said nowhere; while a stop is asked for, nothing is.
#include "core/ObjectBoundary.h"
#include "core/DataReport.h"
#include "core/StopSignal.h"
#include "core/ValueTypeError.h"
#include "core/WorkMeter.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class ObjectBoundaryTest : public bbtest::LuaFixture
{
protected:
    ObjectBoundaryTest()
    {
        m_Previous = DataReport::SetListener(
            [this](const DataIssue& issue) { m_Said.push_back(issue.ToString()); });
    }
    ~ObjectBoundaryTest() override { DataReport::SetListener(std::move(m_Previous)); }

    std::vector<std::string> m_Said;
    DataReport::Listener m_Previous;
};

struct Kind
{
    const char* name;
    std::function<void()> raise;
    bool data; // whether it stops at the boundary
};

// Each kind with a text of its own, so a line said twice shows.
std::vector<Kind> Kinds(const std::string& tag)
{
    return {
        {"a data error of many lines",
         [tag] { MAKO_THROW(DataError, "the record " + tag + " has no score.\nIt is old.\r\n"); },
         true},
        {"a value of the wrong type",
         [tag] { throw ValueTypeError(MAKO_WHERE, "a number", "the string \"" + tag + "\""); },
         true},
        {"a sentence raised as a plain Exception",
         [tag] { MAKO_THROW(Exception, "no frame " + tag); }, true},
        {"the end of a work meter",
         [tag] { MAKO_THROW(WorkSpent, "level " + tag + " needs more than 1 steps of work"); },
         false},
        {"a failed check", [] { MAKO_ASSERT(1 + 1 == 3); }, false},
        {"a failed verify", [tag] { MAKO_VERIFY(tag.empty()); }, false},
        {"a logic error of the standard library",
         [tag] { throw std::out_of_range("index " + tag); }, false},
        {"an allocation failure", [] { throw std::bad_alloc(); }, false},
    };
}

} // namespace

TEST_F(ObjectBoundaryTest, DataErrorsStopAndAreSaidOnceOnOneLineAllOthersPassOnUnsaid)
{
    int tag = 0;
    for (const Kind& kind : Kinds("k")) {
        SCOPED_TRACE(kind.name);
        const std::string subject = "Record " + std::to_string(++tag);
        m_Said.clear();
        // Guard: reports and says false for data's, passes the rest on as it was raised.
        bool passed = false;
        for (int time = 0; time < 2; ++time) {
            try {
                EXPECT_FALSE(ObjectBoundary::Guard(subject, "it is left out", kind.raise));
            } catch (...) {
                passed = true;
            }
        }
        EXPECT_EQ(!kind.data, passed);
        EXPECT_EQ(kind.data ? 1u : 0u, m_Said.size()) << "said again, or said at all";
        for (const std::string& line : m_Said) {
            EXPECT_EQ(0u, line.rfind(subject + ": ", 0)) << line;
            EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << line;
            EXPECT_NE(std::string::npos, line.find("; it is left out")) << line;
        }
        // Contain: the same rule, silent; the text is given to the caller.
        std::string why;
        bool contained = false;
        try {
            contained = !ObjectBoundary::Contain(kind.raise, &why);
        } catch (...) {
        }
        EXPECT_EQ(kind.data, contained);
        EXPECT_EQ(kind.data, !why.empty());
        // For whoever names a file: the meter's end is the file's too; while a stop is asked
        // for, every failure but the program's is the stop's, and nothing is said.
        const bool program = !kind.data && std::string(kind.name) != "the end of a work meter";
        for (const bool stopped : {false, true}) {
            if (stopped)
                StopSignal::Request(SIGTERM);
            try {
                EXPECT_FALSE(ObjectBoundary::Guard(subject + (stopped ? " stopped" : " again"),
                                                   "it is left out", kind.raise));
            } catch (const std::exception& error) {
                EXPECT_EQ(program   ? ObjectBoundary::Fault::Program
                          : stopped ? ObjectBoundary::Fault::Stop
                                    : ObjectBoundary::Fault::Data,
                          ObjectBoundary::FaultOf(&error));
            }
            EXPECT_EQ(kind.data ? 2u : 0u, m_Said.size());
            StopSignal::Reset();
        }
    }
    // A data error's own words come through whole, without its closing full stop.
    m_Said.clear();
    ObjectBoundary::Guard("Record x", "it counts as having no score", Kinds("x")[0].raise);
    ASSERT_EQ(1u, m_Said.size());
    EXPECT_EQ("Record x: the record x has no score. / It is old; it counts as having no score",
              m_Said[0]);
    EXPECT_TRUE(ObjectBoundary::Contain([] {}));
}

// The meter's end reaches the meter's opener through every boundary: one spent inside a
// boundary is never taken for the object's fault.
TEST_F(ObjectBoundaryTest, AMeterSpentInsideABoundaryReachesItsOpener)
{
    Run("Big = {} for i = 1, 1000 do Big[i] = i end");
    WorkMeter meter("level file \"Big.lua\"", 100);
    bool reached = false;
    try {
        ObjectBoundary::Guard("Brick \"Big\"", "it is left out", [&] {
            for (LuaPlus::LuaTableIterator it(Global("Big")); it; it.Next()) {
            }
        });
    } catch (const WorkSpent&) {
        reached = true;
    }
    EXPECT_TRUE(reached);
    EXPECT_TRUE(meter.IsSpent());
    EXPECT_TRUE(m_Said.empty()) << m_Said.front();
}
