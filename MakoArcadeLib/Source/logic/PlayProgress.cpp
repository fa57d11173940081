#include "logic/PlayProgress.h"

#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"

#include <algorithm>

namespace {

std::string Describe(const Actor* actor)
{
    std::string text = actor->GetClass() ? actor->GetClass()->GetName() : std::string("Actor");
    if (!actor->GetName().empty())
        text += " " + actor->GetName();
    text += " at (" + std::to_string(actor->GetX()) + ", " + std::to_string(actor->GetY()) + ")";
    if (const Brick* brick = dynamic_cast<const Brick*>(actor))
        text += " strength " + std::to_string(brick->GetStrength());
    return text;
}

} // namespace

PlayProgress PlayProgress::Measure(ArcadeGameLogic* logic)
{
    PlayProgress progress;
    progress.state = logic->GetCurrentState() ? logic->GetStateName() : std::string();
    progress.ballsLeft = logic->GetBallsLeft();
    progress.requiredLeft = logic->CountRequiredBricks();
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (const Brick* brick = dynamic_cast<const Brick*>(actor);
            brick && !brick->IsDead() && brick->GetStrength() > 0)
            progress.strengthLeft += std::max(0, brick->GetStrength() - brick->GetDamage());
    return progress;
}

bool PlayProgress::NewStretchAfter(const PlayProgress& last) const
{
    return state != last.state || ballsLeft != last.ballsLeft;
}

bool PlayProgress::NearerThan(const PlayProgress& best) const
{
    return strengthLeft < best.strengthLeft || requiredLeft < best.requiredLeft;
}

std::string PlayProgress::Remaining(ArcadeGameLogic* logic, int most)
{
    std::string text;
    int listed = 0, more = 0;
    auto note = [&](const Actor* actor) {
        if (listed == most) {
            ++more;
            return;
        }
        text += (listed++ ? "; " : "") + Describe(actor);
    };
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (const Brick* brick = dynamic_cast<const Brick*>(actor);
            brick && !brick->IsDead() && brick->IsNecessary())
            note(brick);
    for (Actor* actor : logic->GetDropTargets().GetMembers())
        if (!actor->IsDead())
            note(actor);
    if (more > 0)
        text += "; " + std::to_string(more) + " more";
    return text;
}
