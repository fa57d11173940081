// Compiled by the check TemporaryAccessorsAreBuildErrors (DanglingCheck.cmake), never
// linked: every line marked "dangles" below must be a -Wdangling error, and nothing else
// may fail. Each keeps what an accessor of a temporary returns past the temporary's end.
#include "geometry/Poly.h"
#include "logic/ArcadeGameLogic.h"
#include "players/TopRecordsList.h"
#include "scene/Actor.h"
#include "scene/ActorGroup.h"

#include <cstddef>

ActorGroup MakeGroup();
Poly MakePoly();
Actor MakeActor();
ArcadeGameLogic MakeLogic();
TopGameRecordsList MakeList();

std::size_t KeepsWhatATemporaryReturns()
{
    const auto& members = MakeGroup().GetMembers(); // dangles
    const auto& edges = MakePoly().GetEdges();      // dangles
    Image* image = MakeActor().GetImage();          // dangles
    const auto& shields = MakeLogic().GetShields(); // dangles
    const auto& record = MakeList().GetRecord(0);   // dangles
    std::size_t count = 0;
    for (Actor* actor : MakeGroup().GetMembers()) // dangles
        count += actor != nullptr;
    // Used within the full expression, a temporary's accessor is fine.
    count += MakeGroup().GetMembers().size() + MakePoly().GetEdges().size();
    static_cast<void>(record);
    return count + members.size() + edges.size() + (image != nullptr) + shields.size();
}
