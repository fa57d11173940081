#include "logic/states/SpawnBall.h"

#include "field/Ball.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"

namespace ArcadeGameStates {

void SpawnBall::OnEnterState()
{
    ArcadeGameLogic* logic = m_Logic;
    logic->SetState("Playing");
    logic->m_PaddleHits = 0;
    ActorGroup balls(logic->GetBalls());
    for (Actor* actor : balls.GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        PhysicsGeom* geom = ball ? ball->GetGeom() : nullptr;
        if (!geom || geom->IsEnabled() || geom->GetCenter().y <= 10.0)
            continue;
        geom->Enable();
        if (PhysicsBody* body = ball->GetPhysicsBody()) {
            Vector2D velocity = body->GetLinearVel();
            if (velocity.Length() > 0.0) {
                velocity.SetLength(1.0);
                body->SetLinearVel(velocity.x, velocity.y);
            }
        }
    }
}

} // namespace ArcadeGameStates
