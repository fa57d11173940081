#include "scene/ActorGroup.h"

#include "core/Class.h"
#include "core/EventQueue.h"
#include "scene/Actor.h"
#include "scene/ActorSnapshot.h"

#include <algorithm>
#include <vector>

MAKO_IMPLEMENT_CLASS(ActorGroup, "ActorGroup", "Object", nullptr,
                     &InstantiateObjectOfClass<ActorGroup>);

ActorGroup::ActorGroup() = default;

ActorGroup::ActorGroup(const ActorGroup& other) : Object(), m_Members(other.m_Members)
{
    for (Actor* member : m_Members)
        member->AddedToGroup(this);
}

ActorGroup::~ActorGroup()
{
    std::vector<Actor*> members(m_Members.begin(), m_Members.end());
    for (Actor* member : members) {
        if (!Contains(member))
            continue;
        RemoveOccurrences(member);
        member->RemovedFromGroup(this);
    }
}

bool ActorGroup::OnEvent(const Event& event)
{
    if (Object::OnEvent(event))
        return true;
    const ActorSnapshot members(m_Members);
    const unsigned version = m_Version;
    for (Actor* member : members.Actors())
        if (StillMember(member, version) && member->OnEvent(event))
            return true;
    return false;
}

void ActorGroup::Add(Actor* actor)
{
    m_Members.push_back(actor);
    ++m_Version;
    actor->AddedToGroup(this);
}

void ActorGroup::Remove(Actor* actor)
{
    RemoveOccurrences(actor);
    actor->RemovedFromGroup(this);
}

void ActorGroup::RemoveOccurrences(Actor* actor)
{
    m_Members.remove(actor);
    ++m_Version;
}

bool ActorGroup::Contains(const Actor* actor) const
{
    return std::find(m_Members.begin(), m_Members.end(), actor) != m_Members.end();
}

void ActorGroup::PostEvent(const Event& event)
{
    for (Actor* member : m_Members)
        GetPostedEventQueue().Post(member, event);
}

void ActorGroup::Tick()
{
    const ActorSnapshot members(m_Members);
    const unsigned version = m_Version;
    for (Actor* member : members.Actors())
        if (StillMember(member, version) && member->CanTick())
            member->Tick();
}

void ActorGroup::KillAll()
{
    const ActorSnapshot members(m_Members);
    const unsigned version = m_Version;
    for (Actor* member : members.Actors())
        if (StillMember(member, version))
            member->Kill();
}
