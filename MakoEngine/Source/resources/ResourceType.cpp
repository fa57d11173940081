#include "resources/ResourceType.h"

#include "core/Exception.h"

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
