#include "views/RecordContainer.h"

#include "core/Config.h"

RecordContainer::RecordContainer(int x, int y, int width, int height)
{
    SetPosition(x, y);
    SetSize(width, height);
    Config* config = Config::GetCurrent();
    LuaPlus::LuaObject debug =
        config ? config->GetObject("DebugRecordContainers") : LuaPlus::LuaObject();
    if (debug.IsBoolean() && debug.GetBoolean())
        SetColor(Color(255, 0, 0));
}
