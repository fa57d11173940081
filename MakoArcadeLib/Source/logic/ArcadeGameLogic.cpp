#include "logic/ArcadeGameLogic.h"

#include "core/Event.h"
#include "logic/Level.h"
#include "physics/World.h"
#include "scene/ParticleManager.h"

// FIRST STAGE: the controller's declarations with empty bodies, so that every part of the
// game builds while the controller, the level and the game screen are written.

ArcadeGameLogic* gLogic = nullptr;

MAKO_IMPLEMENT_CLASS(ArcadeGameLogic, "ArcadeGameLogic", "Logic",
                     &ArcadeGameLogic::RegisterProperties, nullptr);

void ArcadeGameLogic::RegisterProperties(Class&) {}

ArcadeGameLogic::ArcadeGameLogic()
{
    gLogic = this;
}

ArcadeGameLogic::ArcadeGameLogic(Screen* screen, Actor* playLayer,
                                 const LuaPlus::LuaObject& options)
    : m_OptionsTable(options), m_PlayLayer(playLayer)
{
    SetScreen(screen);
    gLogic = this;
}

ArcadeGameLogic::~ArcadeGameLogic()
{
    if (gLogic == this)
        gLogic = nullptr;
}

ParticleManager* ArcadeGameLogic::GetParticleManager()
{
    return gLogic ? gLogic->m_ParticleManager : nullptr;
}

void ArcadeGameLogic::StartGame() {}
void ArcadeGameLogic::Tick() {}
bool ArcadeGameLogic::OnEvent(const Event& event)
{
    return Logic::OnEvent(event);
}
void ArcadeGameLogic::ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value)
{
    Logic::ApplyClassicProperty(name, value);
}
void ArcadeGameLogic::RetrieveClassicProperty(LuaPlus::LuaObject& value, const std::string& name)
{
    Logic::RetrieveClassicProperty(value, name);
}
std::uint32_t ArcadeGameLogic::StartTimer(std::uint32_t, std::int32_t)
{
    return 0;
}
void ArcadeGameLogic::KillTimer(std::uint32_t& timerId)
{
    timerId = 0;
}
void ArcadeGameLogic::ForgetTimer(std::uint32_t& timerId)
{
    timerId = 0;
}
void ArcadeGameLogic::CheckForLevelEnd(double, double) {}
void ArcadeGameLogic::LockBall(Ball*, Brick*) {}
void ArcadeGameLogic::UnlockBall(Ball*) {}
void ArcadeGameLogic::PrepareServe(std::uint32_t&, std::uint32_t&) {}
void ArcadeGameLogic::AddBrick(Brick*) {}
void ArcadeGameLogic::AddActor(Actor*) {}
void ArcadeGameLogic::AddShield(Shield*) {}
void ArcadeGameLogic::AddWall(Wall*) {}
void ArcadeGameLogic::SetBackgroundImage(const std::string&) {}
void ArcadeGameLogic::SetArtefact(Actor*) {}
void ArcadeGameLogic::ApplyGroupID(Actor*) {}
void ArcadeGameLogic::AddBall(Ball*) {}
void ArcadeGameLogic::SpawnBallAnimation(Ball*) {}
void ArcadeGameLogic::AddPaddle(Paddle*) {}
void ArcadeGameLogic::AddPowerup(Powerup*) {}
void ArcadeGameLogic::AddGoober(Actor*) {}
void ArcadeGameLogic::AddDropTarget(Actor*) {}
void ArcadeGameLogic::AddFlyingText(FlyingText*) {}
void ArcadeGameLogic::AddExplosion(Explosion*) {}
void ArcadeGameLogic::AddSpark(Spark*) {}
void ArcadeGameLogic::AddLaserBeam(LaserBeam*) {}
void ArcadeGameLogic::AddEmitter(ParticleEmitter*) {}
Actor* ArcadeGameLogic::FindActor(const std::string&) const
{
    return nullptr;
}
void ArcadeGameLogic::AddScore(int) {}
void ArcadeGameLogic::CollectPowerup(Powerup*, Paddle*) {}
void ArcadeGameLogic::CountPaddleHit() {}
void ArcadeGameLogic::ResetHitCounter() {}
bool ArcadeGameLogic::ShowPrompt(const std::string&, const std::string&)
{
    return false;
}
void ArcadeGameLogic::ShowMessage(const std::string&, int) {}
void ArcadeGameLogic::OnPaddleCombo(const std::string&, double, double) {}
void ArcadeGameLogic::OnBrickCombo(Brick*, int, double, double) {}
void ArcadeGameLogic::ShowScore(int) {}
void ArcadeGameLogic::ShowBallsLeft(int) {}
void ArcadeGameLogic::ShowTime(int) {}
void ArcadeGameLogic::AdvanceClock(int) {}
void ArcadeGameLogic::PlayLevelMusic(const std::string&, bool) {}
std::string ArcadeGameLogic::CurrentMusicPart() const
{
    return std::string();
}
void ArcadeGameLogic::LeaveGameScreen() {}
void ArcadeGameLogic::QuitToScreen() {}
void ArcadeGameLogic::AdvanceProgress() {}
void ArcadeGameLogic::SaveSelection() {}
void ArcadeGameLogic::FindLevelByName(const std::string&) {}
bool ArcadeGameLogic::OnDialogStopped(const Event&)
{
    return false;
}
void ArcadeGameLogic::SetLevel(Level* level)
{
    m_Level.reset(level);
}
const std::vector<Shield*>& ArcadeGameLogic::GetShields() const
{
    return m_ShieldList;
}
const std::vector<Paddle*>& ArcadeGameLogic::GetPaddles() const
{
    return m_PaddleList;
}
const std::vector<Wall*>& ArcadeGameLogic::GetWalls() const
{
    return m_WallList;
}
int ArcadeGameLogic::CountBallsInPlay() const
{
    return 0;
}
int ArcadeGameLogic::CountRequiredBricks() const
{
    return 0;
}
void ArcadeGameLogic::TickField(unsigned) {}
void ArcadeGameLogic::SendToPaddles(std::uint8_t, int, int) {}
void ArcadeGameLogic::SetBallsLeft(int balls)
{
    m_BallsLeft = balls;
}
void ArcadeGameLogic::CreateStates() {}
void ArcadeGameLogic::CreateHud() {}
void ArcadeGameLogic::TakeStructure(Actor*, ActorGroup&) {}
