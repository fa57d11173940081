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
    const bool oldSizeGiven = m_SizeGiven;
    if (name == "fontName") {
        m_FontName = ReadStringFromObject(value);
    } else if (name == "fontSize") {
        m_FontSize = ReadIntegerFromObject(value);
        m_SizeGiven = true;
    } else if (name == "fontIndex")
        m_FontIndex = ReadIntegerFromObject(value);
    else {
        Object::ApplyClassicProperty(name, value);
        return;
    }
    // Opens once name and size are both known; a given size out of range is refused then,
    // with the font's name.
    if (m_FontName.empty() || !m_SizeGiven)
        return;
    try {
        SetFont(m_FontName, m_FontSize, m_FontIndex);
    } catch (...) {
        // A change the font cannot take is not kept: the fields go on describing the
        // font that stays open.
        m_FontName = oldName;
        m_FontSize = oldSize;
        m_FontIndex = oldIndex;
        m_SizeGiven = oldSizeGiven;
        throw;
    }
}

void Font::RetrieveClassicProperties(LuaObject& /*table*/) {}
