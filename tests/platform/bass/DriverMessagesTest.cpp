// The sound library's messages: routed to a sink as lines, never to standard error.
#include "bass/DriverMessages.h"
#include "bass/AudioDevice.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using bassx::DriverMessages;
using namespace bbtest;

namespace {

std::vector<std::string> g_Lines;

void Collect(const char* line)
{
    g_Lines.push_back(line);
}

// Restores an environment variable as the test found it.
class SavedVariable
{
public:
    explicit SavedVariable(const char* name) : m_Name(name)
    {
        const char* value = std::getenv(name);
        m_Had = value != nullptr;
        m_Value = value ? value : "";
    }
    ~SavedVariable()
    {
        if (m_Had)
            setenv(m_Name, m_Value.c_str(), 1);
        else
            unsetenv(m_Name);
    }

private:
    const char* m_Name;
    bool m_Had;
    std::string m_Value;
};

class DriverMessagesTest : public ::testing::Test
{
protected:
    void SetUp() override { g_Lines.clear(); }
    void TearDown() override
    {
        DriverMessages::SetSink(nullptr);
        g_Lines.clear();
    }
};

} // namespace

TEST_F(DriverMessagesTest, ALookForAMissingCardIsToldToTheSinkAndNotOnStandardError)
{
    TempHome home;
    // A configuration whose default output names a card no machine has.
    const std::string config = home.Path() + "/asound.conf";
    WriteFile(config, "pcm.!default { type hw card \"NoSuchCard\" }\n");
    SavedVariable driver("SDL_AUDIODRIVER"), alsaConfig("ALSA_CONFIG_PATH");
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    if (!DriverMessages::SetSink(&Collect))
        GTEST_SKIP() << "this machine has no ALSA library";

    const std::string errors = home.Path() + "/stderr";
    fflush(stderr);
    const int saved = dup(2);
    const int file = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    dup2(file, 2);
    close(file);
    std::string name;
    bassx::AudioDevice::Probe(name);
    fflush(stderr);
    dup2(saved, 2);
    close(saved);

    EXPECT_EQ("", ReadFile(errors));
    ASSERT_FALSE(g_Lines.empty());
    bool named = false;
    for (const std::string& line : g_Lines) {
        EXPECT_EQ(0u, line.rfind("ALSA lib ", 0)) << line;
        EXPECT_EQ(std::string::npos, line.find('\n')) << line;
        named = named || line.find("NoSuchCard") != std::string::npos;
    }
    EXPECT_TRUE(named) << g_Lines.front();
}

TEST_F(DriverMessagesTest, AnotherThreadsMessagesWaitForTheSinksThreadInOrderAndBounded)
{
    DriverMessages::SetSink(&Collect);
    const int extra = 3;
    std::thread audio([] {
        for (std::size_t i = 0; i < DriverMessages::MAX_PENDING + extra; ++i)
            DriverMessages::Handle("pcm.c", 8568, "snd_pcm_recover", 0, "underrun occurred %zu", i);
    });
    audio.join();
    EXPECT_TRUE(g_Lines.empty()); // never called off the sink's thread

    // The next message on this thread brings the kept ones first.
    DriverMessages::Handle("conf.c", 12, "parse_card", -ENOENT, "cannot find card '%d'", 0);
    ASSERT_EQ(DriverMessages::MAX_PENDING + 2, g_Lines.size());
    EXPECT_EQ("ALSA lib pcm.c:8568:(snd_pcm_recover) underrun occurred 0", g_Lines.front());
    EXPECT_EQ("ALSA lib pcm.c:8568:(snd_pcm_recover) underrun occurred 99",
              g_Lines[DriverMessages::MAX_PENDING - 1]);
    EXPECT_EQ("ALSA lib: 3 more messages from the audio thread were dropped",
              g_Lines[DriverMessages::MAX_PENDING]);
    EXPECT_EQ("ALSA lib conf.c:12:(parse_card) cannot find card '0': No such file or directory",
              g_Lines.back());

    // Deliver hands over what waits, once; a text as long as any is cut, not overrun.
    g_Lines.clear();
    const std::string longText(5000, 'x');
    std::thread([&] { DriverMessages::Handle("a.c", 1, "f", 0, "%s", longText.c_str()); }).join();
    DriverMessages::Deliver();
    DriverMessages::Deliver();
    ASSERT_EQ(1u, g_Lines.size());
    EXPECT_EQ(1023u, g_Lines[0].size());
}
