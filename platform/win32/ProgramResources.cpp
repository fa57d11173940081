#include "win32/ProgramResources.h"

#include <algorithm>
#include <cerrno>
#include <strings.h>
#include <utility>
#include <vector>

namespace {

using Table = std::pair<const ProgramResourceEntry*, size_t>;

std::vector<Table>& Tables()
{
    static std::vector<Table>* tables = new std::vector<Table>(); // lives until exit
    return *tables;
}

const unsigned char kEmpty[1] = {0};

} // namespace

void RegisterProgramResources(const ProgramResourceEntry* entries, size_t count)
{
    if (entries)
        Tables().emplace_back(entries, count);
}

void UnregisterProgramResources(const ProgramResourceEntry* entries)
{
    auto& tables = Tables();
    tables.erase(std::remove_if(tables.begin(), tables.end(),
                                [entries](const Table& t) { return t.first == entries; }),
                 tables.end());
}

HMODULE GetModuleHandleA(const char*)
{
    return nullptr;
}

HRSRC FindResourceExA(HMODULE, const char* type, const char* name, uint16_t)
{
    if (type && name) {
        const auto& tables = Tables();
        for (auto table = tables.rbegin(); table != tables.rend(); ++table)
            for (size_t i = 0; i < table->second; ++i) {
                const ProgramResourceEntry& entry = table->first[i];
                if (strcasecmp(entry.type, type) == 0 && strcasecmp(entry.name, name) == 0)
                    return &entry;
            }
    }
    errno = ENOENT;
    return nullptr;
}

uint32_t SizeofResource(HMODULE, HRSRC resource)
{
    if (!resource) {
        errno = EINVAL;
        return 0;
    }
    return resource->size;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource)
{
    if (!resource)
        errno = EINVAL;
    return resource;
}

const void* LockResource(HGLOBAL loaded)
{
    if (!loaded) {
        errno = EINVAL;
        return nullptr;
    }
    return loaded->size == 0 || !loaded->data ? kEmpty : loaded->data;
}
