#include "screens/RootActor.h"

RootActor::RootActor()
{
    ApplyStringProperty("name", "RootActor");
}

void RootActor::Tick() {}

void RootActor::SetParent(Actor* parent)
{
    Actor::SetParent(parent);
    if (parent)
        SetSize(parent->GetWidth(), parent->GetHeight());
}
