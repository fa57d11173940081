#pragma once
// Play-field scenes for the arcade tests: a root actor that steps a World once per pass
// with the structures' collision callback (as the game controller's playing state does),
// a controller that records what the field asks of it, and structures made from Lua
// tables.
#include "core/ClassManager.h"
#include "core/FramePeriod.h"
#include "core/State.h"
#include "field/ArcadeStructure.h"
#include "field/Ball.h"
#include "field/Explosion.h"
#include "field/FlyingText.h"
#include "field/LaserBeam.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/Shield.h"
#include "field/Spark.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/World.h"
#include "scene/Actor.h"
#include "scene/ActorGroup.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fieldtest {

// A state that only has a name (the controller's states, as the field asks for them).
class NamedState : public State
{
public:
    explicit NamedState(const char* name) : m_Name(name) {}
    const char* GetName() const override { return m_Name; }

private:
    const char* m_Name;
};

// A controller for play-field tests: records what the field asks of it (level-end checks,
// score, prompts, messages, hit counts, collected power-ups), finds actors by name below
// its play layer (when set), and takes over what the field hands it the way the game's
// controller does: each object gets the field's world (when a field is set) and becomes a
// child of the play layer, and balls, emitters and the rest join their groups. While it
// lives it is the running controller (gLogic); its particle manager is a child of the play
// layer once one is set.
class RecordingLogic : public ArcadeGameLogic
{
public:
    // Starts in the state "Playing", as the controller is while the ball is in play.
    RecordingLogic()
    {
        gLogic = this;
        AddState(new NamedState("Playing"));
        SetState("Playing");
    }
    ~RecordingLogic() override
    {
        if (gLogic == this)
            gLogic = nullptr;
    }

    // The play layer (the field's root) and the world new objects join.
    void SetField(Actor* layer, World* fieldWorld)
    {
        playLayer = layer;
        world = fieldWorld;
        particles = new ParticleManager();
        particles->SetZOrder(20);
        layer->AddChild(particles, "Particles");
        m_ParticleManager = particles;
    }

    void CheckForLevelEnd(double x, double y) override { checks.emplace_back(x, y); }
    Actor* FindActor(const std::string& name) const override
    {
        return playLayer ? playLayer->GetChild(name, true) : nullptr;
    }
    void ApplyGroupID(Actor*) override {}
    void AddBall(Ball* ball) override { Take(balls, ball); }
    void AddPowerup(Powerup* p) override
    {
        powerups.push_back(p);
        Take(powerupGroup, p);
    }
    void AddFlyingText(FlyingText* t) override { Take(texts, t); }
    void AddExplosion(Explosion* e) override { Take(explosions, e); }
    void AddSpark(Spark* s) override { Take(sparks, s); }
    void AddLaserBeam(LaserBeam* b) override { Take(beams, b); }
    void AddEmitter(ParticleEmitter* e) override { Take(emitters, e); }
    void AddActor(Actor* a) override { Take(extras, a); }
    void AddScore(int points) override { score += points; }
    void CollectPowerup(Powerup* p, Paddle* paddle) override
    {
        collected.push_back(p);
        if (onCollect)
            onCollect(p, paddle);
    }
    void CountPaddleHit() override { ++paddleHits; }
    void ResetHitCounter() override { ++hitCounterResets; }
    bool ShowPrompt(const std::string& id, const std::string& key) override
    {
        prompts.push_back(id + "." + key);
        return true;
    }
    void ShowMessage(const std::string& text, int) override { messages.push_back(text); }
    void OnPaddleCombo(const std::string& className, double, double) override
    {
        combos.push_back(className);
    }
    void OnBrickCombo(Brick*, int count, double, double) override { brickCombos.push_back(count); }
    void LockBall(Ball*, Brick*) override { ++locks; }
    void UnlockBall(Ball*) override { ++unlocks; }
    const std::vector<Shield*>& GetShields() const override { return shields; }
    const std::vector<Paddle*>& GetPaddles() const override { return paddles; }
    const std::vector<Wall*>& GetWalls() const override { return walls; }

    std::vector<std::pair<double, double>> checks;
    Actor* playLayer = nullptr;
    World* world = nullptr;
    ParticleManager* particles = nullptr;
    ActorGroup balls, texts, explosions, sparks, beams, emitters, extras, powerupGroup;
    std::vector<Powerup*> powerups;
    std::vector<Shield*> shields;
    std::vector<Paddle*> paddles;
    std::vector<Wall*> walls;
    std::vector<Powerup*> collected;
    // What the test's game does with a collected power-up (the game's effect of its kind).
    std::function<void(Powerup*, Paddle*)> onCollect;
    std::vector<std::string> prompts, messages, combos;
    std::vector<int> brickCombos; // 0 for a hit, 1 for a destruction
    int score = 0, paddleHits = 0, hitCounterResets = 0, locks = 0, unlocks = 0;

private:
    void Take(ActorGroup& group, Actor* actor)
    {
        group.Add(actor);
        if (playLayer && !actor->GetParent())
            playLayer->AddChild(actor, "");
        if (world)
            if (ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor))
                arcade->UpdatePhysics(world);
    }
};

// The field: owns its world; its children are the play-field objects.
class FieldRoot : public Actor
{
public:
    FieldRoot() { world.SetCollisionIterations(10); }
    // The children (and their geometries) go before the world.
    ~FieldRoot() override { DestroyChildren(); }

    void Tick() override
    {
        world.Step(FRAME_PERIOD_SECONDS, &ArcadeStructure::OnWorldContact, logic);
        Actor::Tick();
    }

    // Adds a structure as a child and puts it into the world.
    template <typename T> T* Place(T* structure)
    {
        AddChild(structure, "");
        structure->UpdatePhysics(&world);
        return structure;
    }

    World world;
    ArcadeGameLogic* logic = nullptr;
};

// The fixture of the play-field tests: the game's resources, a 640 x 480 field with its
// world, the tests' controller (the running controller while the test lives) and a record
// of the sounds played.
class FieldTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    FieldTest()
    {
        root->logic = &logic;
        logic.SetField(root, &root->world);
    }
    ~FieldTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root, 640, 480};
    RecordingLogic logic;
    bbtest::SoundLog sounds;
};

// A structure made by the class registry from a Lua table expression; the caller owns it.
inline ArcadeStructure* MakeStructure(const std::string& table)
{
    Object* made = ClassManager::GetInstance()->InstantiateObject(bbtest::EvalLua(table));
    ArcadeStructure* structure = dynamic_cast<ArcadeStructure*>(made);
    if (!structure)
        delete made;
    return structure;
}

// A rectangle structure with its top-left corner at (x, y).
inline ArcadeStructure* MakeBox(int x, int y, double w, double h)
{
    ArcadeStructure* box = new ArcadeStructure();
    box->SetRectangle(w, h, false);
    box->SetPosition(x, y);
    return box;
}

// A movable circle centred on (cx, cy).
inline ArcadeStructure* MakeBallLike(int cx, int cy, double radius)
{
    ArcadeStructure* ball = new ArcadeStructure();
    ball->SetCircle(radius);
    ball->SetMovable(true);
    ball->SetPosition(cx - int(radius), cy - int(radius));
    return ball;
}

} // namespace fieldtest
