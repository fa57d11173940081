#include "logic/LevelValueKinds.h"

#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"

#include <cstring>

using LuaPlus::LuaObject;

namespace {

struct NamingKey
{
    const char* key;
    int kind;
};

// The keys of the objects a level may build whose string is the name of a resource: the
// picture an actor or a particle shows, the sounds of structures, goobers and power-ups.
const NamingKey kNamingKeys[] = {
    {"image", RESOURCE_IMAGE},
    {"randomizedImage", RESOURCE_IMAGE},
    {"sound", RESOURCE_SOUND},
    {"collisionSound", RESOURCE_SOUND},
    {"destructionSound", RESOURCE_SOUND},
    {"scoreSound", RESOURCE_SOUND},
    {"lifetimeSound", RESOURCE_SOUND},
    {"lifetimeSound2", RESOURCE_SOUND},
    {"powerupCreationSound", RESOURCE_SOUND},
};

} // namespace

int LevelValueKinds::WantedKind(const std::string& key)
{
    for (const NamingKey& naming : kNamingKeys)
        if (key == naming.key)
            return naming.kind;
    return RESOURCE_UNKNOWN;
}

std::string LevelValueKinds::Refusal(const std::string& holder, const LuaObject& key,
                                     const LuaObject& value)
{
    if (key.IsFunction() || value.IsFunction())
        return "a function is not a value level data may hold; it is left out";
    ResourceManager* manager = GetResourceManager();
    const int kind = key.IsString() ? WantedKind(key.GetString()) : RESOURCE_UNKNOWN;
    if (kind != RESOURCE_UNKNOWN && !value.IsString())
        return "needs the name of a " + ResourceKindName(kind) + ", not a " + value.TypeName() +
               "; the key is left out";
    if (!manager || !value.IsString())
        return std::string();
    // What an object is made of: a table resource, or a picture it shows.
    const bool madeOf = key.IsString() ? std::strcmp(key.GetString(), "resource") == 0
                                       : key.IsNumber() && holder == "resources";
    if (madeOf) {
        // A name no entry has in `resource` is left to the object's maker, which names it as
        // an unknown resource and leaves the object out; one of a list of them is left out.
        const std::string name = value.GetString();
        const bool listed = !key.IsString();
        if ((!listed && !manager->FindInfo(name, true)) || manager->HasOfKind(name, RESOURCE_IMAGE))
            return std::string();
        const std::string why = manager->WhyNotOfKind(name, RESOURCE_TABLE);
        return why.empty() ? why : why + "; it is left out";
    }
    // An empty name names nothing (an actor without a picture).
    if (kind == RESOURCE_UNKNOWN || !*value.GetString())
        return std::string();
    const std::string why = manager->WhyNotOfKind(value.GetString(), kind);
    return why.empty() ? why : why + "; the key is left out";
}
