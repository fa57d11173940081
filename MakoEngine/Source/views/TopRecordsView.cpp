#include "views/TopRecordsView.h"

#include "core/PropertyAccessor.h"
#include "geometry/Rect.h"
#include "views/RecordContainer.h"

#include <memory>

MAKO_IMPLEMENT_CLASS(TopRecordsView, "TopRecordsView", "Actor", &TopRecordsView::RegisterProperties,
                     &InstantiateObjectOfClass<TopRecordsView>);

void TopRecordsView::RegisterProperties(Class& c)
{
    c.RegisterPropertySetter(MakeClassicAccessor("titleContainer"));
}

void TopRecordsView::ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value)
{
    if (name != "titleContainer") {
        Actor::ApplyClassicProperty(name, value);
        return;
    }
    SDL_Rect rect{};
    SetRectFromLuaObject(rect, value, "titleContainer");
    auto container = std::make_unique<RecordContainer>(rect.x, rect.y, rect.w, rect.h);
    delete m_TitleContainer; // leaves this view as it goes
    m_TitleContainer = container.get();
    AddChild(container.release(), "titleContainer");
}
