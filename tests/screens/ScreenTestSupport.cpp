#include "ScreenTestSupport.h"

#include "core/Config.h"
#include "core/EventQueue.h"
#include "lua/MakoLuaState.h"
#include "lua/Variant.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "screens/Dialog.h"
#include "screens/ScreenManager.h"
#include "support/engine/EngineSetup.h"
#include "widgets/Button.h"

#include <SDL_ttf.h>

#include <fstream>

namespace screentest {

namespace {

// The configuration the screens read, made once for the test program.
Config& TestConfig()
{
    static Config* config = nullptr;
    if (!config) {
        config = new Config(GetGlobalLuaState());
        config->Set("ButtonFont", Variant(std::string("DejaVuSans-Bold.ttf")));
        config->Set("DialogTitleFont", Variant(std::string("DejaVuSerif-Bold.ttf")));
        config->Set("DialogTitleFontSize", Variant(32.0));
        config->Set("DialogButtonOffset", Variant(-20.0));
        config->Set("VersionFont", Variant(std::string("DejaVuSans.ttf")));
    }
    return *config;
}

} // namespace

void ScreenTest::SetUp()
{
    const std::string archive = std::string(BB_BINARY_DIR) + "/bumperlux.fun";
    if (!std::ifstream(archive)) {
        GTEST_SKIP() << "no asset archive at " << archive;
    }
    bbtest::PrepareEngine();
    if (!TTF_WasInit()) {
        ASSERT_EQ(0, TTF_Init());
    }
    TestConfig();
    GetPostedEventQueue().Clear();
    m_Resources.reset(new ResourceManager(GetGlobalLuaState()));
    m_Resources->AddScanner(new PhysFSResourceScanner(archive));
    m_Resources->AddLoader(new SDLImageLoader());
    m_Resources->ScanAll();
    app.reset(new TestApp());
    app->InitScreenManager();
    manager = app->Screens();
}

void ScreenTest::TearDown()
{
    app.reset(); // deletes the screen manager, its screens and the killed actors
    m_Resources.reset();
    GetPostedEventQueue().Clear();
    RecordingScreen::s_Live = 0;
}

void ScreenTest::DispatchPosted()
{
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    while (queue.Take(event)) {
        if (event.type == MAKO_ROUTEDEVENT) {
            app->OnEvent(event); // delivers and releases the wrapped event
        } else {
            postedTypes.push_back(event.type);
            app->OnEvent(event);
            EventQueue::ReleaseEventData(event);
        }
    }
    app->DeleteDeadActors();
}

std::vector<int> ScreenTest::TakePostedTypes()
{
    std::vector<int> types;
    types.swap(postedTypes);
    return types;
}

LuaPlus::LuaObject ScreenTest::Table(const std::string& expression)
{
    return bbtest::EvalLua(expression);
}

void ScreenTest::Run(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

// ---- Recording objects ------------------------------------------------------------------

int RecordingScreen::s_Live = 0;

RecordingScreen::RecordingScreen(const std::string& name, std::vector<std::string>* log,
                                 Logic* logic)
    : Screen(name, "", logic), m_Log(log)
{
    ++s_Live;
}

RecordingScreen::~RecordingScreen()
{
    --s_Live;
}

void RecordingScreen::Tick()
{
    if (m_Log)
        m_Log->push_back(GetName() + ":tick");
    Screen::Tick();
}

bool RecordingScreen::OnKeyDown(const Event&)
{
    if (m_Log)
        m_Log->push_back(GetName() + ":key");
    return false;
}

bool RecordingScreen::OnScreenChange(const Event& event)
{
    changes.emplace_back(EventData1(event), EventData2(event));
    return false;
}

bool RecordingScreen::OnTimer(const Event&)
{
    if (m_Log)
        m_Log->push_back(GetName() + ":timer");
    return false;
}

bool RecordingScreen::OnDialogStopped(const Event& event)
{
    const Dialog* dialog = dynamic_cast<Dialog*>(static_cast<Object*>(EventData1(event)));
    const Button* clicked = dialog ? dialog->GetClickedButton() : nullptr;
    stopped.push_back((dialog ? dialog->GetName() : "?") + ":" +
                      (clicked ? clicked->GetName() : "none"));
    return false;
}

void RecordingLogic::Tick()
{
    m_Log->push_back("logic:tick");
}

bool RecordingLogic::OnKeyDown(const Event&)
{
    m_Log->push_back("logic:key");
    return consumeKeys;
}

bool RecordingLogic::OnTimer(const Event&)
{
    m_Log->push_back("logic:timer");
    return false;
}

KeyActor::KeyActor(const std::string& name, std::vector<std::string>* log, int zorder, bool consume)
    : m_Log(log), m_Consume(consume)
{
    ApplyStringProperty("name", name);
    SetZOrder(zorder);
}

void KeyActor::Tick()
{
    m_Log->push_back(GetName() + ":tick");
    Actor::Tick();
}

bool KeyActor::OnKeyDown(const Event&)
{
    m_Log->push_back(GetName() + ":key");
    return m_Consume;
}

Event KeyDown(SDLKey key, SDLMod mod)
{
    Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

Event KeyUp(SDLKey key, SDLMod mod)
{
    Event event = KeyDown(key, mod);
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    return event;
}

} // namespace screentest
