#include "core/Event.h"

#include "core/Exception.h"
#include "lua/LuaFunctionList.h"

#include <cstring>

namespace {

// Names by code; null where a code has no name.
const char* const kEventNames[MAKO_SELECT + 1] = {nullptr,
                                                  "SDL_ACTIVEEVENT",
                                                  "SDL_KEYDOWN",
                                                  "SDL_KEYUP",
                                                  "SDL_MOUSEMOTION",
                                                  "SDL_MOUSEBUTTONDOWN",
                                                  "SDL_MOUSEBUTTONUP",
                                                  "SDL_JOYAXISMOTION",
                                                  "SDL_JOYBALLMOTION",
                                                  nullptr,
                                                  nullptr,
                                                  nullptr,
                                                  "SDL_QUIT",
                                                  "SDL_SYSWMEVENT",
                                                  nullptr,
                                                  nullptr,
                                                  "SDL_VIDEORESIZE",
                                                  "SDL_VIDEOEXPOSE",
                                                  nullptr,
                                                  nullptr,
                                                  nullptr,
                                                  nullptr,
                                                  nullptr,
                                                  nullptr,
                                                  "SDL_USEREVENT",
                                                  nullptr,
                                                  "MAKO_ANIMEVENT",
                                                  "MAKO_APPQUIT",
                                                  "MAKO_BUTTONPRESS",
                                                  "MAKO_BUTTONCLICK",
                                                  "MAKO_CARDCLICK",
                                                  "MAKO_CHILDGROUPADDED",
                                                  "MAKO_CONFIGUPDATE",
                                                  "MAKO_DIALOGSTARTED",
                                                  "MAKO_DIALOGSTOPPED",
                                                  "MAKO_DIALOGDELETE",
                                                  "MAKO_DISPLAYCHANGE",
                                                  "MAKO_GAMERECORDSADDED",
                                                  "MAKO_HIGHSCORESUPDATED",
                                                  "MAKO_INTERNALEVENT",
                                                  "MAKO_LABELRENDER",
                                                  "MAKO_MEDALCLICK",
                                                  "MAKO_MOUSEENTER",
                                                  "MAKO_MOUSELEAVE",
                                                  "MAKO_PAUSEAPP",
                                                  "MAKO_PAUSEGAME",
                                                  "MAKO_PLAYERCHANGE",
                                                  "MAKO_SCREENCHANGE",
                                                  "MAKO_SLIDECOMPLETE",
                                                  "MAKO_TIMER",
                                                  "MAKO_VALUECHANGE",
                                                  "MAKO_RESETWINDOW",
                                                  "MAKO_RELOAD",
                                                  "MAKO_SELECT"};

} // namespace

unsigned GetEventDataFlags(std::uint8_t type)
{
    switch (type) {
    case MAKO_CHILDGROUPADDED:
        return EVENT_DATA1_SHARED;
    case MAKO_CONFIGUPDATE:
        return EVENT_DATA1_LUAOBJECT;
    case MAKO_INTERNALEVENT:
        return EVENT_DATA2_LUAOBJECT;
    default:
        return EVENT_DATA_NONE;
    }
}

std::string NameOfEvent(std::uint8_t type)
{
    if (type <= MAKO_SELECT && kEventNames[type])
        return kEventNames[type];
    return "UNKNOWN";
}

int TypeOfEvent(const std::string& name)
{
    for (int code = 1; code <= MAKO_SELECT; ++code) {
        if (kEventNames[code] && name == kEventNames[code])
            return code;
    }
    MAKO_THROW(Exception, "\"" + name + "\" is not the name of an event.");
}

Event MakeEvent(std::uint8_t type, int code, void* data1, void* data2)
{
    Event e;
    std::memset(&e, 0, sizeof e);
    e.user.type = type;
    e.user.code = code;
    e.user.data1 = data1;
    e.user.data2 = data2;
    return e;
}

MAKO_LUA_FUNCTION(NameOfEvent)
{
    auto type = static_cast<std::uint8_t>(static_cast<long long>(lua_tonumber(L, -1)) & 0xFF);
    std::string name = ::NameOfEvent(type);
    lua_pushstring(L, name.c_str());
    return 1;
}

MAKO_LUA_FUNCTION(TypeOfEvent)
{
    const char* text = lua_tostring(L, -1);
    lua_pushnumber(L, ::TypeOfEvent(text ? text : ""));
    return 1;
}
