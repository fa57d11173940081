#pragma once
// The actor a screen description uses to place a top-record list. Its one script property,
// titleContainer = {x, y, w, h}, places the container of the list's title; setting it
// again replaces the container.
#include "core/Class.h"
#include "scene/Actor.h"

class RecordContainer;

class TopRecordsView : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    static void RegisterProperties(Class& c);
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;

    // The current title container (a child of the view); null until one is set.
    RecordContainer* GetTitleContainer() const { return m_TitleContainer; }

private:
    RecordContainer* m_TitleContainer = nullptr;
};
