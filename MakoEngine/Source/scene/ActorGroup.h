#pragma once
// A named set of actors that is not itself in the scene graph: game logic and widgets use
// groups to tick, kill, test or notify many actors at once, and an actor may own groups
// that then receive the events offered to it. The group does not own its members;
// membership is recorded on both sides (the member lists its groups), and a member that
// is killed or deleted leaves every group it is in.
//
// Main thread only.
#include "core/Class.h"
#include "core/Object.h"

#include <list>

class Actor;

class ActorGroup : public Object
{
    MAKO_DECLARE_CLASS();

public:
    ActorGroup();
    // The same members in the same order; each member lists this group too.
    ActorGroup(const ActorGroup& other);
    // Every member leaves the group.
    ~ActorGroup() override;

    // The group's own state and handlers first, then each member in order; the first
    // consumer ends the walk.
    bool OnEvent(const Event& event) override;

    // Appends the actor (an actor added twice is listed twice).
    virtual void Add(Actor* actor);
    // Removes every occurrence; the actor hears of it once.
    void Remove(Actor* actor);
    // Removes every occurrence without telling the actor (the actor's side of leaving).
    void RemoveOccurrences(Actor* actor);
    bool Contains(const Actor* actor) const;
    const std::list<Actor*>& GetMembers() const MAKO_LIFETIMEBOUND { return m_Members; }
    bool IsEmpty() const { return m_Members.empty(); }

    // Queues a copy of the event for every member.
    void PostEvent(const Event& event);
    // Ticks every member in order that can tick (CanTick: alive, and not held by a paused
    // game); members killed during the walk (they leave the group) are skipped.
    void Tick() override;
    // Kills every member (each leaves the group while it is killed).
    void KillAll();

private:
    // Whether a member of a snapshot taken at `version` is still a member.
    bool StillMember(const Actor* actor, unsigned version) const
    {
        return version == m_Version || Contains(actor);
    }

    std::list<Actor*> m_Members;
    unsigned m_Version = 0; // counts every change of m_Members
};
