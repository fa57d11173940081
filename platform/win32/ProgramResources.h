#pragma once
// Files compiled into the program, found by type and name: the stand-in for the program's
// own resources and the calls that read them. The build step that embeds the game's
// scripts and configuration files generates a source that registers its table here before
// main runs; tests may register tables of their own.
//
// Lookups are case-insensitive in type and name, as resource names are; the language is
// ignored (every resource is language-neutral). The bytes are never copied: they live as
// long as the registered table. Main thread only.
#include <cstddef>
#include <cstdint>

struct ProgramResourceEntry
{
    const char* type;          // e.g. "MAKO_RESOURCE"
    const char* name;          // e.g. "BALL.LUA"
    const unsigned char* data; // the file's bytes, unchanged
    uint32_t size;
};

// Adds a table of count entries; its entries shadow entries of the same type and name
// registered earlier. The table must outlive its registration.
void RegisterProgramResources(const ProgramResourceEntry* entries, size_t count);
// Removes a table added with RegisterProgramResources; unknown tables are ignored.
void UnregisterProgramResources(const ProgramResourceEntry* entries);

struct ProgramModule;
using HMODULE = ProgramModule*;
using HRSRC = const ProgramResourceEntry*;
using HGLOBAL = const ProgramResourceEntry*;

// The program's own module: null, as every lookup is in the program itself.
HMODULE GetModuleHandleA(const char* moduleName);

// The resource of that type and name, or null (errno = ENOENT) when there is none.
HRSRC FindResourceExA(HMODULE module, const char* type, const char* name, uint16_t language);
// The resource's size in bytes; 0 for a null resource (errno = EINVAL).
uint32_t SizeofResource(HMODULE module, HRSRC resource);
// A handle to the loaded resource; null for a null resource (errno = EINVAL).
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The resource's first byte; null for a null handle (errno = EINVAL). An empty resource
// still gives a valid pointer.
const void* LockResource(HGLOBAL loaded);
