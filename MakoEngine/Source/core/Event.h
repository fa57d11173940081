#pragma once
// The one event record of the engine. Input read from SDL and the engine's own
// notifications share SDL 1.2's event layout, so both travel through the same queue and
// handlers. Engine events use the user-event shape: `type`, `code`, `data1`, `data2`;
// on this platform the two data words are pointer-sized.
#include <SDL.h>

#include <cstdint>
#include <string>

using Event = SDL_Event;

enum EventType : std::uint8_t {
    // SDL's own codes (1-8, 12, 13, 16, 17, 24) keep SDL's values.
    MAKO_ROUTEDEVENT = 25, // carries another event to one receiver; never dispatched
    MAKO_ANIMEVENT = 26,
    MAKO_APPQUIT,
    MAKO_BUTTONPRESS,
    MAKO_BUTTONCLICK,
    MAKO_CARDCLICK,
    MAKO_CHILDGROUPADDED,
    MAKO_CONFIGUPDATE,
    MAKO_DIALOGSTARTED,
    MAKO_DIALOGSTOPPED,
    MAKO_DIALOGDELETE,
    MAKO_DISPLAYCHANGE,
    MAKO_GAMERECORDSADDED,
    MAKO_HIGHSCORESUPDATED,
    MAKO_INTERNALEVENT,
    MAKO_LABELRENDER,
    MAKO_MEDALCLICK,
    MAKO_MOUSEENTER,
    MAKO_MOUSELEAVE,
    MAKO_PAUSEAPP,
    MAKO_PAUSEGAME,
    MAKO_PLAYERCHANGE,
    MAKO_SCREENCHANGE,
    MAKO_SLIDECOMPLETE,
    MAKO_TIMER,
    MAKO_VALUECHANGE,
    MAKO_RESETWINDOW,
    MAKO_RELOAD,
    MAKO_SELECT,               // 53
    MAKO_FIRSTFIELDEVENT = 54, // 54-62: play-field events, dispatched by the game states
    MAKO_LASTFIELDEVENT = 62,
};

// What a queued event of a type owns in its data words; released after dispatch.
enum EventDataFlags : unsigned {
    EVENT_DATA_NONE = 0,
    EVENT_DATA1_SHARED = 2,    // data1: heap holder of a shared notification payload
    EVENT_DATA1_LUAOBJECT = 4, // data1: heap LuaObject
    EVENT_DATA2_LUAOBJECT = 8, // data2: heap LuaObject
};
unsigned GetEventDataFlags(std::uint8_t type);

// The name of a type code ("MAKO_TIMER"), "UNKNOWN" for codes without a name.
std::string NameOfEvent(std::uint8_t type);
// The code of a name, compared exactly; an unknown name raises an Exception naming it.
int TypeOfEvent(const std::string& name);

// Builds an engine event of the user-event shape.
Event MakeEvent(std::uint8_t type, int code = 0, void* data1 = nullptr, void* data2 = nullptr);

// The words of an engine event.
inline int EventCode(const Event& e)
{
    return e.user.code;
}
inline void* EventData1(const Event& e)
{
    return e.user.data1;
}
inline void* EventData2(const Event& e)
{
    return e.user.data2;
}
inline std::intptr_t EventData1Int(const Event& e)
{
    return reinterpret_cast<std::intptr_t>(e.user.data1);
}
inline std::intptr_t EventData2Int(const Event& e)
{
    return reinterpret_cast<std::intptr_t>(e.user.data2);
}
inline void* IntToEventData(std::intptr_t value)
{
    return reinterpret_cast<void*>(value);
}
