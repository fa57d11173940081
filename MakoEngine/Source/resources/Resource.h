#pragma once
// Base of every loaded resource: images, sounds, music segments and Lua tables. A
// resource is made by a loader (or, for tables, by a script assignment to `Resources`),
// owned by its ResourceInfo and kept until the resource manager is destroyed.

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
};
