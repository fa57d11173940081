// A program whose one test skips itself: SkipFails.cmake runs it to see that the test main
// fails a skip under CI=true, naming the skip's reason, and lets it pass as a skip elsewhere.
#include <gtest/gtest.h>

TEST(OnlySkips, SkipsItself)
{
    GTEST_SKIP() << "the reason this test gives";
}
