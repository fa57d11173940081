#include "WidgetTestSupport.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/PassHarness.h"
#include "support/engine/ResourceScope.h"

#include "core/Config.h"
#include "core/EventQueue.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/SceneHost.h"
#include "widgets/Button.h"

#include <SDL_ttf.h>

namespace widgettest {

namespace {

void PrepareOnce()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    bbtest::PassHarness::PrepareEngine();
    if (!TTF_WasInit())
        TTF_Init();
    ResourceManager& resources = bbtest::TestResources();
    bbtest::AddProgramScanner(
        new WindowsDirectoryResourceScanner("/usr/share/fonts/truetype/dejavu"));
    resources.ScanAll();
    bbtest::AddImageResource("Button.png", new Image(40, 20, 4, 0, Color(90, 90, 200)));
    bbtest::AddImageResource("Button.green.png", new Image(40, 20, 4, 0, Color(90, 200, 90)));
    bbtest::AddImageResource("boxCheck.png", new Image(8, 8, 2, 0, Color(250, 250, 250)));
    bbtest::AddImageResource("objKeyTip.png", new Image(16, 16, 1, 0, Color(250, 200, 40)));
    bbtest::AddImageResource("btnBlankSmall.png", new Image(20, 20, 4, 0, Color(120, 120, 120)));
    bbtest::AddImageResource("bkgTrackBar.png", new Image(100, 8, 1, 0, Color(60, 60, 60)));
    // The program's configuration for every test of this program.
    static Config* config = new Config(GetGlobalLuaState());
    (void)config;
    MakoLuaState::LoadString(GetGlobalLuaState(),
                             "LoadConstConfig { ButtonFont = 'DejaVuSans-Bold.ttf', "
                             "SmallButtonFont = 'DejaVuSans.ttf', TextBoxFont = "
                             "'DejaVuSans.ttf', TextBoxFontSize = 20 }");
}

} // namespace

WidgetTest::WidgetTest()
{
    PrepareOnce();
}

void WidgetTest::SetUp()
{
    GetPostedEventQueue().Clear();
    SceneHost::SetGamePaused(false);
    ButtonClickLatch() = true;
}

void WidgetTest::TearDown()
{
    GetPostedEventQueue().Clear();
    SceneHost::DeleteScheduledActors();
}

LuaPlus::LuaObject WidgetTest::Table(const std::string& expression)
{
    return bbtest::EvalLua(expression);
}

void WidgetTest::Run(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

bool RecordingReceiver::OnEvent(const Event& event)
{
    entries.push_back({event.type, EventData1(event)});
    return consume;
}

int RecordingReceiver::Count(std::uint8_t type) const
{
    int n = 0;
    for (const Entry& entry : entries)
        n += entry.type == type ? 1 : 0;
    return n;
}

std::uint32_t MostOpaqueColor(Image* image, int* alpha)
{
    SDL_Surface* s = image->GetSDLSurface();
    SDL_LockSurface(s);
    std::uint32_t best = 0;
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x)
            if ((row[x] >> 24) > (best >> 24))
                best = row[x];
    }
    SDL_UnlockSurface(s);
    if (alpha)
        *alpha = static_cast<int>(best >> 24);
    return best & 0xFFFFFF;
}

} // namespace widgettest
