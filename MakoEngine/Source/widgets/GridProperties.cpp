// Grid: the properties scripts set and read.
#include "widgets/Grid.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "widgets/WidgetProperties.h"

#include <string>

using LuaPlus::LuaObject;

void Grid::RegisterProperties(Class& c)
{
    for (const char* name : {"cellSize", "margins"}) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    RankWidgetProperties();
}

void Grid::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "cellSize") {
        MAKO_ASSERT_MSG(value.IsTable(), "cellSize is {{columns, rows}, {cellWidth, cellHeight}}.");
        const Point<int> count(value[1], "cellSize");
        const Point<int> size(value[2], "cellSize");
        SetGridSize(count.x, count.y, size.x, size.y);
    } else if (name == "margins") {
        MAKO_ASSERT_MSG(value.IsTable(),
                        "margins is {left, top} or {{left, top}, {spacingX, spacingY}}.");
        if (value[1].IsNumber()) {
            const Point<int> margins(value, "margins");
            SetMargins(margins.x, margins.y, 0, 0);
        } else {
            const Point<int> margins(value[1], "margins");
            const Point<int> spacing(value[2], "margins");
            SetMargins(margins.x, margins.y, spacing.x, spacing.y);
        }
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
}
