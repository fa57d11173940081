#pragma once
// Play-field scenes for the arcade tests: a root actor that steps a World once per pass
// with the structures' collision callback (as the game controller's playing state does),
// a controller that records what the field asks of it, and structures made from Lua
// tables.
#include "core/ClassManager.h"
#include "field/ArcadeStructure.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/World.h"
#include "scene/Actor.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/PassHarness.h"

#include <string>
#include <utility>
#include <vector>

namespace fieldtest {

// Records every level-end check; finds actors by name below its play layer (when set).
class RecordingLogic : public ArcadeGameLogic
{
public:
    void CheckForLevelEnd(double x, double y) override { checks.emplace_back(x, y); }
    Actor* FindActor(const std::string& name) const override
    {
        return playLayer ? playLayer->GetChild(name, true) : nullptr;
    }
    std::vector<std::pair<double, double>> checks;
    Actor* playLayer = nullptr;
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
        world.Step(0.032, &ArcadeStructure::OnWorldContact, logic);
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
