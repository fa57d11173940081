#pragma once
// Base of every loaded resource: images, sounds, music segments and Lua tables. A
// resource is made by a loader (or, for tables, by a script assignment to `Resources`),
// owned by its ResourceInfo and kept until the resource manager is destroyed or lets go of
// it (ResourceManager: loaded on demand, or cached and not in use when the budget is full).

class Resource
{
public:
    Resource() = default;
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;
    virtual ~Resource();

    // The bytes the resource occupies (for the memory report); 0 when it holds nothing
    // worth counting.
    virtual int CalcMemoryUsage() = 0;

    // What letting go of the resource now would give back to the budget of what the game
    // holds decoded (MemoryBudget), in bytes: 0 while something uses it (a picture that images
    // share, a sound that plays) and for a resource that holds nothing decoded. The resource
    // manager lets go of cached resources that give something back when the budget is full.
    virtual long long ReleasableBytes() { return 0; }
};
