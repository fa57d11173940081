#include "core/OutputCapture.h"
#include "win32/ConsoleInput.h"
#include "win32/DebugOutput.h"
#include "win32/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace {

struct Pipe
{
    int fds[2];
    Pipe() { EXPECT_EQ(0, pipe(fds)); }
    ~Pipe()
    {
        CloseWriter();
        close(fds[0]);
    }
    void Write(const std::string& bytes)
    {
        ASSERT_EQ(ssize_t(bytes.size()), write(fds[1], bytes.data(), bytes.size()));
    }
    void CloseWriter()
    {
        if (fds[1] >= 0)
            close(fds[1]);
        fds[1] = -1;
    }
};

} // namespace

TEST(ConsoleInput, TakesWhatWaitsOnAPipeWithoutBlockingAndSeesItsEnd)
{
    Pipe pipe;
    ConsoleInput input(pipe.fds[0]);
    std::string got;
    EXPECT_EQ(0u, input.ReadAvailable(got)); // nothing written yet: returns at once
    EXPECT_FALSE(input.AtEnd());

    pipe.Write("print(1)\nprint");
    EXPECT_EQ(14u, input.ReadAvailable(got));
    EXPECT_EQ("print(1)\nprint", got);
    pipe.Write("(2)\n");
    input.ReadAvailable(got);
    EXPECT_EQ("print(1)\nprint(2)\n", got);

    // More than one read's worth arrives in one call.
    std::string big(40000, 'x');
    pipe.Write(big);
    got.clear();
    EXPECT_EQ(big.size(), input.ReadAvailable(got));

    pipe.CloseWriter();
    EXPECT_EQ(0u, input.ReadAvailable(got));
    EXPECT_TRUE(input.AtEnd());
    EXPECT_EQ(0u, input.ReadAvailable(got));

    ConsoleInput none(-1);
    EXPECT_TRUE(none.AtEnd());
    EXPECT_EQ(0u, none.ReadAvailable(got));
}

TEST(MessageBox, WritesToStandardErrorAndAnswersWithTheDefaultButton)
{
    bbtest::OutputCapture err(2);
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Something broke", nullptr, MB_ICONHAND));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Save it?", "Notice", MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(IDYES, MessageBoxA(nullptr, "Sure?", "Question", MB_YESNO));
    std::string text = err.Text();
    EXPECT_NE(std::string::npos, text.find("[Stop] Error\nSomething broke\n")) << text;
    EXPECT_NE(std::string::npos, text.find("[Notice] Notice\nSave it?\n")) << text;
}

TEST(DebugOutput, ShownOnStandardErrorOnlyWhenAsked)
{
    unsetenv("BB_DEBUG_OUTPUT");
    {
        bbtest::OutputCapture err(2);
        OutputDebugStringA("hidden\n");
        EXPECT_EQ("", err.Text());
    }
    setenv("BB_DEBUG_OUTPUT", "0", 1);
    EXPECT_FALSE(IsDebugOutputShown());
    setenv("BB_DEBUG_OUTPUT", "1", 1);
    {
        bbtest::OutputCapture err(2);
        OutputDebugStringA("shown 100%\n");
        EXPECT_EQ("shown 100%\n", err.Text());
    }
    unsetenv("BB_DEBUG_OUTPUT");
}
