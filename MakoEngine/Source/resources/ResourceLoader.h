#pragma once
// Turns the bytes of the entries it accepts into a Resource. Loaders are registered with
// the resource manager, which owns them; they hold no state.
#include "resources/ResourceType.h"

#include <string>

class FileReader;
class ResourceInfo;

class ResourceLoader
{
public:
    virtual ~ResourceLoader() = default;

    // Whether this loader makes resources of the entry, decided by the end of its name.
    virtual bool CanLoad(const ResourceInfo& info) = 0;
    // Reads the entry through reader and stores the new Resource and its type in the
    // entry. Failures throw ResourceLoadError and leave the entry unloaded.
    virtual void LoadResource(FileReader* reader, ResourceInfo& info) = 0;
    virtual std::string GetDescription() = 0;
    // The kind (a ResourceType) this loader makes of the entry, judged by its name alone,
    // also while the loader accepts nothing (the audio off), so that a lookup by kind
    // refuses an entry before loading it. RESOURCE_UNKNOWN when the entry is not one this
    // loader reads, or when it may make several kinds (checked once the entry is loaded).
    virtual int KindOfEntry(const ResourceInfo& info) const
    {
        (void)info;
        return RESOURCE_UNKNOWN;
    }
    // After LoadResource failed on the entry: stores something harmless in its place (and
    // its type) and returns true, or returns false when this kind has no stand-in. Never
    // throws for a failure of its own.
    virtual bool LoadStandIn(ResourceInfo& info)
    {
        (void)info;
        return false;
    }
};
