#include "screens/ArcadeTestScreen.h"

#include "core/AppHost.h"
#include "core/ClassManager.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "geometry/Colors.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "scene/Border.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "screens/ScreenManager.h"
#include "screens/TestBrick.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <SDL.h>

#include <memory>
#include <string>

using LuaPlus::LuaObject;

namespace {

const int kFastStep = 5;
const int kButtonFrames = 4;
const char* const kResourceChunk =
    "Resources.Foo = {color='Red'} "
    "Resources.Baz = {size={32,32}} "
    "Resources.Bar = {resource='Baz', name='TestActor'} "
    "Resources.TestActor = {resources={'Foo', 'Bar'}, position={100,100}} "
    "TestActorTable = Resources.TestActor ";

Actor* ColorActor(const char* colour, int x, int y, int w, int h)
{
    return Actor::CreateColorRect(Colors::ByName(colour), x, y, w, h, 0, nullptr);
}

void Name(Actor* actor, const std::string& name)
{
    actor->ApplyStringProperty("name", name);
}

std::string Serialized(const LuaObject& value)
{
    std::string text;
    SerializeToString(text, value, 0);
    return text;
}

} // namespace

ArcadeTestScreen::ArcadeTestScreen() : SplashScreen("TestScreen", "bkgSplash.jpg")
{
    SetColor(Colors::ByName("Black"));
}

bool ArcadeTestScreen::RouteEvent(const Event& event)
{
    if (event.type >= 54 && event.type <= 62 && HandleArcadeEvent(event))
        return true;
    return SplashScreen::RouteEvent(event);
}

bool ArcadeTestScreen::OnAnimFinish(const Event&)
{
    Log("ArcadeTestScreen::OnAnimFinish\n");
    return false;
}

Actor* ArcadeTestScreen::Child(const std::string& name) const
{
    Actor* child = Actor::GetChild(name, false);
    return child && !child->IsDead() ? child : nullptr;
}

Actor* ArcadeTestScreen::GetOrCreateTestActor()
{
    if (Actor* actor = Child("TestActor"))
        return actor;
    Actor* actor = Actor::CreateFromResource("Test.png");
    actor->AddChild(new Border(Colors::ByName("White")), "");
    Name(actor, "TestActor");
    actor->SetPosition(10, 10);
    if (Image* image = actor->GetImage())
        actor->SetImage(image->Clone(), actor->GetImageName());
    AddChild(actor, "");
    return actor;
}

bool ArcadeTestScreen::OnKeyDown(const Event& event)
{
    const int key = event.key.keysym.sym;
    if (key == SDLK_RETURN) {
        if (ScreenManager* screens = ScreenManager::GetInstance())
            screens->SwitchToScreen("SplashScreen");
        return true;
    }
    if (key == SDLK_ESCAPE) {
        if (AppHost* host = GetAppHost())
            host->Quit();
        return true;
    }
    const unsigned int mods = event.key.keysym.mod & ~(KMOD_NUM | KMOD_CAPS);
    if (!MoveByKey(key, IsOnlyCtrlDown(mods) ? 1 : kFastStep))
        RunKeyTest(key);
    return false;
}

bool ArcadeTestScreen::MoveByKey(int key, int step)
{
    switch (key) {
    case SDLK_UP:
        MoveTestActor(0, -step);
        return true;
    case SDLK_DOWN:
        MoveTestActor(0, step);
        return true;
    case SDLK_LEFT:
        MoveTestActor(-step, 0);
        return true;
    case SDLK_RIGHT:
        MoveTestActor(step, 0);
        return true;
    case SDLK_RSHIFT: {
        Actor* actor = GetOrCreateTestActor();
        actor->SetAlpha(actor->GetAlpha() == 255 ? 128 : 255);
        return true;
    }
    default:
        return false;
    }
}

void ArcadeTestScreen::RunEmitterTest(int key)
{
    EnsureParticleManager();
    if (key == SDLK_f) {
        StartEmitter("TestEmitter2", -1, -1);
    } else if (key == SDLK_g) {
        StartEmitter("GoldPowerupCollectedEmitter", 320, 240);
    } else if (m_Emitter) {
        m_Emitter->Kill();
        m_Emitter = nullptr;
    } else {
        StartEmitter("BombSparkEmitter", 64, 64);
    }
}

void ArcadeTestScreen::RunKeyTest(int key)
{
    switch (key) {
    case SDLK_a:
        AddAlphaActors();
        break;
    case SDLK_b:
        CycleButtonFrame();
        break;
    case SDLK_c:
        AddChild(new TestBrick("TestBrick"), "");
        break;
    case SDLK_d:
        RunResourceTableTest();
        break;
    case SDLK_e:
    case SDLK_f:
    case SDLK_g:
        RunEmitterTest(key);
        break;
    case SDLK_k:
        AddLabelledButton();
        break;
    case SDLK_l:
        CycleLabel();
        break;
    case SDLK_r:
        SDL_EnableKeyRepeat(500, 30);
        Log("Key Repeat Enabled.\n");
        break;
    case SDLK_s:
        InstantiateFromTable();
        break;
    case SDLK_t:
        SDL_EnableKeyRepeat(0, 0);
        Log("Key Repeat Disabled.\n");
        break;
    case SDLK_u:
        ToggleColorTest();
        break;
    case SDLK_y:
        AddFadingActors();
        break;
    default:
        break;
    }
}

void ArcadeTestScreen::MoveTestActor(int dx, int dy)
{
    Actor* actor = GetOrCreateTestActor();
    actor->SetPosition(actor->GetX() + dx, actor->GetY() + dy);
    Log("position = {%d, %d}\n", actor->GetX(), actor->GetY());
}

void ArcadeTestScreen::AddAlphaActors()
{
    AddChild(ColorActor("Red", 20, 20, 100, 100), "");
    Actor* alpha = Actor::CreateFromResource("ImageWithAlphaChannel.png");
    Name(alpha, "TestAlphaActor");
    alpha->SetPosition(70, 70);
    alpha->SetAlpha(192);
    AddChild(alpha, "");
}

void ArcadeTestScreen::CycleButtonFrame()
{
    if (Actor* actor = Child("test_actor")) {
        actor->SetFrame((actor->GetFrame() + 1) % kButtonFrames);
        return;
    }
    auto* button = new Button("Button.red.png");
    Name(button, "test_actor");
    button->SetPosition(0, 0);
    AddChild(button, "");
}

void ArcadeTestScreen::AddLabelledButton()
{
    // Owned here until the screen takes it: a stop asked for may end the label's load.
    std::unique_ptr<Button> button(new Button("Button.png"));
    Label* label = Label::CreateFromResource("TestButtonLabel");
    label->AddChild(new Border(Colors::ByName("Red")), "");
    button->SetLabel(label);
    button->AddChild(new Border(Colors::ByName("Yellow")), "");
    AddChild(button.release(), "");
}

void ArcadeTestScreen::CycleLabel()
{
    Actor* label = Child("TestLabel");
    if (!label) {
        label = Label::CreateFromResource("TestLabel");
        Name(label, "TestLabel");
        label->SetPosition(320, 240);
        AddChild(label, "");
        return;
    }
    const int alpha = label->GetAlpha();
    label->SetAlpha(static_cast<std::uint8_t>(alpha == 0 ? 255 : alpha == 255 ? 192 : alpha - 64));
    Log("alpha now: %d\n", static_cast<int>(label->GetAlpha()));
}

void ArcadeTestScreen::EnsureParticleManager()
{
    if (m_ParticleManager)
        return;
    m_ParticleManager = new ParticleManager();
    AddChild(m_ParticleManager, "");
}

void ArcadeTestScreen::StartEmitter(const std::string& resource, int x, int y)
{
    auto* emitter = new ParticleEmitter(resource, m_ParticleManager);
    m_Emitter = emitter;
    if (x >= 0)
        emitter->SetPosition(x, y);
    AddChild(emitter, "");
    emitter->Start();
}

void ArcadeTestScreen::RunResourceTableTest()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    if (!m_ResourceChunkRun) {
        state->DoString(kResourceChunk);
        m_ResourceChunkRun = true;
    }
    auto* actor = new Actor();
    actor->ApplyProperties(state->GetGlobal("TestActorTable"));
    AddChild(actor, "");

    LuaObject properties;
    properties.AssignNewTable(state);
    actor->RetrieveProperties(properties);
    Log("%s\n", Serialized(properties).c_str());
    LuaObject reduce = state->GetGlobal("reduceProperties");
    if (reduce.IsFunction())
        Log("%s\n", Serialized(reduce.Call(properties)).c_str());
    Log("recreate: %d\n", actor->PropertiesRequireRecreation(properties) ? 1 : 0);
}

void ArcadeTestScreen::InstantiateFromTable()
{
    LuaObject table = GetGlobalLuaState()->GetGlobal("Resources")["FallingGoldBrick"];
    Log("%s\n", Serialized(table).c_str());
    // Nothing keeps the object: it is a check that the table builds, and goes again.
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(table));
}

void ArcadeTestScreen::ToggleColorTest()
{
    if (Actor* actor = Child("colorTest")) {
        actor->Kill();
        return;
    }
    Actor* actor = ColorActor("Yellow", 32, 32, 32, 32);
    Name(actor, "colorTest");
    AddChild(actor, "");
}

void ArcadeTestScreen::AddFadingActors()
{
    const std::uint8_t alphas[4] = {255, 192, 128, 0};
    for (int i = 0; i < 4; ++i) {
        Actor* actor = ColorActor("Red", 0, 40 * i, 32, 32);
        Name(actor, "TestActor" + std::to_string(i + 1));
        actor->SetAlpha(alphas[i]);
        actor->AddChild(new Border(Colors::ByName("White")), "");
        AddChild(actor, "");
    }
}
