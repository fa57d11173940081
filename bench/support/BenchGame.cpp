#include "support/BenchGame.h"

#include "app/ArcadeApp.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/FramePeriod.h"
#include "core/PropertyType.h"
#include "display/DisplayManager.h"
#include "field/Ball.h"
#include "field/Explosion.h"
#include "field/FlyingText.h"
#include "field/LaserBeam.h"
#include "field/Spark.h"
#include "field/Wall.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceManager.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "scene/SceneHost.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace benchgame {

void OpenGame()
{
    static bool opened = false;
    if (opened)
        return;
    opened = true;
    LuaPlus::LuaState* state = GetGlobalLuaState();
    InitLuaState(state);
    BuildPropertyTypeTable();
    ClassManager::GetInstance()->InitializeClasses();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    if (!TTF_WasInit())
        TTF_Init(); // the game screen's labels
    static Config* config = new Config(state);
    (void)config;
    static ResourceManager* resources = new ResourceManager(state);
    resources->AddLoader(new SDLImageLoader());
    const std::string source = BB_SOURCE_DIR;
    for (const char* folder :
         {"/MakoEngine/Source/scripts/", "/game/", "/MakoArcadeLib/Source/scripts/"})
        resources->AddScanner(new WindowsDirectoryResourceScanner(source + folder));
    resources->AddScanner(new WindowsDirectoryResourceScanner(BB_BENCH_ASSETS));
    resources->ScanAll();
    for (const char* script : {"Utility.lua", "bumperlux_Const.cfg", "Resource.lua"})
        MakoLuaState::DoResourceFile(state, script);
    for (const std::string& script : ArcadeApp::GetScriptNames())
        MakoLuaState::DoResourceFile(state, script);
    Ball::CreateBallImages();
}

bool StartDisplay(DisplayManager& manager, bool accel3d)
{
    DisplayParams params(false, accel3d, 640, 480, false);
    manager.ApplyDisplayParams(params);
    return params.accel3d == accel3d;
}

BenchLogic::BenchLogic(Actor* field, World* world) : m_Field(field), m_World(world)
{
    m_ParticleManager = new ParticleManager();
    field->AddChild(m_ParticleManager, "Particles");
    gLogic = this;
}

BenchLogic::~BenchLogic()
{
    if (gLogic == this)
        gLogic = nullptr;
}

void BenchLogic::AddBall(Ball* ball)
{
    Take(ball);
}

void BenchLogic::AddFlyingText(FlyingText* text)
{
    Take(text);
}

void BenchLogic::AddExplosion(Explosion* explosion)
{
    Take(explosion);
}

void BenchLogic::AddSpark(Spark* spark)
{
    Take(spark);
}

void BenchLogic::AddLaserBeam(LaserBeam* beam)
{
    Take(beam);
}

void BenchLogic::AddEmitter(ParticleEmitter* emitter)
{
    Take(emitter);
}

void BenchLogic::Take(Actor* actor)
{
    if (!actor->GetParent())
        m_Field->AddChild(actor, "");
    if (ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor))
        arcade->UpdatePhysics(m_World);
}

BenchField::BenchField() : logic(this, &world)
{
    OpenGame();
    world.SetCollisionIterations(10);
    for (const char* wall : {"LeftWall", "RightWall", "TopWall", "BottomWall"})
        logic.walls.push_back(Place(new Wall(wall)));
}

BenchField::~BenchField()
{
    DestroyChildren();
    SceneHost::DeleteScheduledActors();
}

void BenchField::Tick()
{
    world.Step(FRAME_PERIOD_SECONDS, &ArcadeStructure::OnWorldContact, &logic);
    Actor::Tick();
    SceneHost::DeleteScheduledActors();
}

} // namespace benchgame
