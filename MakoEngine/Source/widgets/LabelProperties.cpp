// Label: the properties scripts set and read.
#include "widgets/Label.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "display/Font.h"
#include "lua/ScriptValueReaders.h"
#include "widgets/WidgetProperties.h"

#include <string>

using LuaPlus::LuaObject;

namespace {

const char* const kLabelProperties[] = {
    "text",        "font",           "fgColor",   "lineSpacing",   "widthLimit", "textOffset",
    "shadowColor", "highlightColor", "wrapLimit", "textAlignment", "wrapWidth",  "heightLimit"};

} // namespace

void Label::RegisterProperties(Class& c)
{
    for (const char* name : kLabelProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    RankWidgetProperties();
}

void Label::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "text") {
        // A number shows its decimal text, as a function's numeric result does.
        std::string text;
        if (value.IsFunction()) {
            LuaObject result = ResolveScriptValue(value);
            if (result.IsConvertibleToString())
                text = result.ToString();
        } else if (value.IsConvertibleToString()) {
            text = value.ToString();
        }
        SetText(text, false);
        UpdateImage();
    } else if (name == "font") {
        SetFont(new Font(value), true);
    } else if (name == "fgColor") {
        m_TextColor = Color(value);
        UpdateImage();
    } else if (name == "lineSpacing") {
        m_LineSpacing = ReadIntegerFromObject(value);
    } else if (name == "widthLimit") {
        m_WidthLimit = ReadIntegerFromObject(value);
    } else if (name == "textOffset") {
        m_TextOffset = Point<int>(value);
    } else if (name == "shadowColor") {
        SetShadowColor(Color(value));
    } else if (name == "highlightColor") {
        SetHighlightColor(Color(value));
    } else if (name == "wrapLimit") {
        WrapText(ReadIntegerFromObject(value), true);
    } else if (name == "wrapWidth") {
        SetWrapWidth(ReadIntegerFromObject(value), true);
    } else if (name == "heightLimit") {
        SetHeightLimit(ReadIntegerFromObject(value), true);
    } else if (name == "textAlignment") {
        HorizontalAlignment alignment;
        if (ReadHorizontalAlignment(value, alignment)) {
            m_LineAlignment = alignment;
            UpdateImage();
        }
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
}

void Label::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    table.SetString("text", m_Text);
    LuaObject color;
    m_TextColor.ToLuaObject(color, true);
    table.SetObject("fgColor", color);
    table.SetInteger("lineSpacing", m_LineSpacing);
    table.SetInteger("widthLimit", m_WidthLimit);
    table.SetInteger("wrapLimit", m_WrapLimit);
    table.SetInteger("wrapWidth", m_WrapWidth);
    table.SetInteger("heightLimit", m_HeightLimit);
    table.SetString("textAlignment", HorizontalAlignmentName(m_LineAlignment));
    if (m_ShadowColor) {
        m_ShadowColor->ToLuaObject(color, true);
        table.SetObject("shadowColor", color);
    }
    if (m_HighlightColor) {
        m_HighlightColor->ToLuaObject(color, true);
        table.SetObject("highlightColor", color);
    }
}
