#pragma once
// The game as the play-field benchmarks need it: its scripts read from the source folders,
// its images from the asset pack of the build they run in, and a field that steps its own
// world and hands what the objects make to a controller that keeps it on the field.
#include "logic/ArcadeGameLogic.h"
#include "physics/World.h"
#include "scene/Actor.h"

#include <memory>
#include <vector>

class ArcadeStructure;
class DisplayManager;

namespace benchgame {

// Once per program: script state, property types, classes, SDL video (dummy) and text, the
// configuration, the game's scripts in the game's order, and the images of the pack.
void OpenGame();

// Starts the manager's display backend (the Direct3D stand-in when accel3d) for a
// 640 x 480 window; false when that backend could not be started.
bool StartDisplay(DisplayManager& manager, bool accel3d);

// The controller of a benchmark field: whatever the field's objects hand over becomes a
// child of the field and joins its world; it counts the paddle's hits and nothing else.
class BenchLogic : public ArcadeGameLogic
{
public:
    BenchLogic(Actor* field, World* world);
    ~BenchLogic() override;

    void CheckForLevelEnd(double, double) override {}
    Actor* FindActor(const std::string&) const override { return nullptr; }
    void ApplyGroupID(Actor*) override {}
    void AddBall(Ball* ball) override;
    void AddPowerup(Powerup*) override {}
    void AddFlyingText(FlyingText* text) override;
    void AddExplosion(Explosion* explosion) override;
    void AddSpark(Spark* spark) override;
    void AddLaserBeam(LaserBeam* beam) override;
    void AddEmitter(ParticleEmitter* emitter) override;
    void AddActor(Actor* actor) override { Take(actor); }
    void AddScore(int points) override { score += points; }
    void CollectPowerup(Powerup*, Paddle*) override {}
    void CountPaddleHit() override { ++paddleHits; }
    void ResetHitCounter() override {}
    bool ShowPrompt(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&, int) override {}
    void OnPaddleCombo(const std::string&, double, double) override {}
    void OnBrickCombo(Brick*, int, double, double) override {}
    void LockBall(Ball*, Brick*) override {}
    void UnlockBall(Ball*) override {}
    const std::vector<Shield*>& GetShields() const override { return m_Shields; }
    const std::vector<Paddle*>& GetPaddles() const override { return m_Paddles; }
    const std::vector<Wall*>& GetWalls() const override { return walls; }

    ParticleManager* GetParticles() const { return m_ParticleManager; }
    std::vector<Wall*> walls;
    long paddleHits = 0;
    long score = 0;

private:
    void Take(Actor* actor);

    Actor* m_Field;
    World* m_World;
    std::vector<Shield*> m_Shields;
    std::vector<Paddle*> m_Paddles;
};

// A play field closed by the game's four ordinary walls. A tick steps the world once
// (32 ms) with the structures' contact handling, ticks every actor and deletes what died,
// as the playing state does.
class BenchField : public Actor
{
public:
    BenchField();
    ~BenchField() override;

    // Adds the structure as a child and puts it into the world.
    template <typename T> T* Place(T* structure)
    {
        AddChild(structure, "");
        structure->UpdatePhysics(&world);
        return structure;
    }
    void Tick() override;

    World world;
    BenchLogic logic;
};

} // namespace benchgame
