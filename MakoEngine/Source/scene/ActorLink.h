#pragma once
// A link from one object to an actor that it keeps across frames (a ball's paddle, a
// paddle's laser beam, a spark's target). The link forgets the actor the moment it is
// killed or deleted, so a holder never reads a dead actor after the pass that killed it:
// Get() is then null. It rides on a one-member ActorGroup, whose members leave it when
// they are killed or deleted.
//
// Not copyable: each holder keeps its own link. Main thread only.
#include "scene/Actor.h"
#include "scene/ActorGroup.h"

template <typename T> class ActorLink
{
public:
    ActorLink() = default;
    ActorLink(const ActorLink&) = delete;
    ActorLink& operator=(const ActorLink&) = delete;

    // Links to the actor (null clears the link). A dead actor is not linked.
    void Set(T* actor)
    {
        if (T* current = Get())
            m_Group.Remove(current);
        if (actor && !actor->IsDead())
            m_Group.Add(actor);
    }
    void Clear() { Set(nullptr); }
    // The linked actor; null when none was set or it has been killed or deleted.
    T* Get() const
    {
        return m_Group.IsEmpty() ? nullptr : static_cast<T*>(m_Group.GetMembers().front());
    }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

private:
    ActorGroup m_Group;
};
