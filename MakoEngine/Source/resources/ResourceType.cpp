#include "resources/ResourceType.h"

#include "core/Exception.h"
#include "core/Utility.h"

std::string ResTypeToString(int type)
{
    switch (type) {
    case RESOURCE_UNKNOWN:
        return "RESOURCE_UNKNOWN";
    case RESOURCE_IMAGE:
        return "RESOURCE_IMAGE";
    case RESOURCE_SOUND:
        return "RESOURCE_SOUND";
    case RESOURCE_TABLE:
        return "RESOURCE_TABLE";
    case RESOURCE_MUSIC:
        return "RESOURCE_MUSIC";
    }
    MAKO_THROW(Exception, "Resource type " + std::to_string(int(type)) + " is not known.");
}

std::string ResourceKindName(int type, const std::string& name)
{
    switch (type) {
    case RESOURCE_IMAGE:
        return "picture";
    case RESOURCE_SOUND:
        return "sound";
    case RESOURCE_TABLE:
        return "table resource";
    case RESOURCE_MUSIC:
        return "song";
    }
    if (EndsWith(name, ".lua"))
        return "script";
    if (EndsWith(name, ".ttf") || EndsWith(name, ".otf"))
        return "font";
    if (EndsWith(name, ".cfg"))
        return "configuration file";
    return "file the game does not load";
}
