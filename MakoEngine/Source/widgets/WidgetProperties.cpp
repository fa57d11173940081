#include "widgets/WidgetProperties.h"

#include "lua/MakoLuaState.h"

void RankWidgetProperties()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaPlus::LuaObject order = state->GetGlobal("PropertyOrder");
    if (!order.IsTable()) {
        order.AssignNewTable(state);
        state->GetGlobals().SetObject("PropertyOrder", order);
    }
    static const char* const kTextSettings[] = {
        "font",        "fgColor",        "textColor", "lineSpacing",   "widthLimit", "textOffset",
        "shadowColor", "highlightColor", "wrapLimit", "textAlignment", "wrapWidth",  "heightLimit"};
    for (const char* key : kTextSettings)
        if (order[key].IsNil())
            order.SetInteger(key, 30);
    if (order["text"].IsNil())
        order.SetInteger("text", 31);
    if (order["margins"].IsNil())
        order.SetInteger("margins", 40);
    if (order["cellSize"].IsNil())
        order.SetInteger("cellSize", 41);
    if (order["radioButtons"].IsNil())
        order.SetInteger("radioButtons", 42);
}

bool ReadHorizontalAlignment(const LuaPlus::LuaObject& value, HorizontalAlignment& out)
{
    if (!value.IsString())
        return false;
    const std::string name = value.GetString();
    if (name == "Center")
        out = HorizontalAlignment::Center;
    else if (name == "Left")
        out = HorizontalAlignment::Left;
    else if (name == "Right")
        out = HorizontalAlignment::Right;
    else
        return false;
    return true;
}

const char* HorizontalAlignmentName(HorizontalAlignment alignment)
{
    switch (alignment) {
    case HorizontalAlignment::Left:
        return "Left";
    case HorizontalAlignment::Right:
        return "Right";
    default:
        return "Center";
    }
}
