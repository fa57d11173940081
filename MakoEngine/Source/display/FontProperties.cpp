// Font: the properties scripts set and read; a font given by a script is a table of
// them or the name of a font resource.
#include "display/Font.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

#include <string>

using LuaPlus::LuaObject;

void Font::RegisterProperties(Class& fontClass)
{
    for (const char* name : {"fontName", "fontSize", "fontIndex"}) {
        fontClass.RegisterPropertyGetter(MakeClassicAccessor(name));
        fontClass.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

void Font::ApplyProperties(const LuaObject& value)
{
    if (value.IsString())
        AcquireAndApplyResource(value.GetString());
    else
        Object::ApplyProperties(value);
}

void Font::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    const std::string oldName = m_FontName;
    const int oldSize = m_FontSize;
    const int oldIndex = m_FontIndex;
    if (name == "fontName")
        m_FontName = ReadStringFromObject(value);
    else if (name == "fontSize")
        m_FontSize = ReadIntegerFromObject(value);
    else if (name == "fontIndex")
        m_FontIndex = ReadIntegerFromObject(value);
    else {
        Object::ApplyClassicProperty(name, value);
        return;
    }
    if (m_FontName.empty() || m_FontSize < 1)
        return;
    try {
        SetFont(m_FontName, m_FontSize, m_FontIndex);
    } catch (...) {
        // A change the font cannot take is not kept: the fields go on describing the
        // font that stays open.
        m_FontName = oldName;
        m_FontSize = oldSize;
        m_FontIndex = oldIndex;
        throw;
    }
}

void Font::RetrieveClassicProperties(LuaObject& /*table*/) {}
