// Dialog: the properties scripts set and read.
#include "screens/Dialog.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"
#include "widgets/Label.h"

#include <string>

using LuaPlus::LuaObject;

void Dialog::RegisterProperties(Class& c)
{
    for (const char* name : {"title", "titleAlignmentOffset"}) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    c.BuildDefaults();
}

void Dialog::ApplyTitleOffset()
{
    if (m_Title)
        m_Title->SetPosition(m_Title->GetX() + m_TitleOffsetX, m_Title->GetY() + m_TitleOffsetY);
}

void Dialog::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "title") {
        SetTitle(ReadStringFromObject(value), -1);
        ApplyTitleOffset();
    } else if (name == "titleAlignmentOffset") {
        const Point<int> offset(value);
        m_TitleOffsetX = static_cast<std::int16_t>(offset.x);
        m_TitleOffsetY = static_cast<std::int16_t>(offset.y);
        ApplyTitleOffset();
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
}

void Dialog::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    if (m_Title)
        table.SetString("title", m_Title->GetText());
    table.SetObject("titleAlignmentOffset",
                    Point<int>(m_TitleOffsetX, m_TitleOffsetY).ToLuaObject(table.GetState()));
}
