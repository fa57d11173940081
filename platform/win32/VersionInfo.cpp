#include "win32/VersionInfo.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#ifndef BB_VERSION
#error "BB_VERSION (the build's version number) must be defined by the build"
#endif

// Layout of the block: the magic text "BBVERINF", the translation table (one language and
// code page, 16 bits each, little-endian as in memory), then "key\0value\0" pairs, then an
// empty key. String keys are stored as their whole sub-block path, so a lookup is a scan.

namespace {

const char kMagic[8] = {'B', 'B', 'V', 'E', 'R', 'I', 'N', 'F'};
const uint16_t kLanguage = 0x0409;
const uint16_t kCodePage = 0x04b0;
const char kStringPrefix[] = "\\StringFileInfo\\040904b0\\";

std::string BuildBlock()
{
    std::string version = std::string(BB_VERSION) + ".0";
    std::string block(kMagic, sizeof kMagic);
    uint16_t translation[2] = {kLanguage, kCodePage};
    block.append(reinterpret_cast<const char*>(translation), sizeof translation);
    const std::pair<const char*, std::string> values[] = {
        {"FileVersion", version}, {"ProductVersion", version}, {"ProductName", "Bumperlux"}};
    for (const auto& entry : values) {
        block += std::string(kStringPrefix) + entry.first;
        block += '\0';
        block += entry.second;
        block += '\0';
    }
    block += '\0';
    return block;
}

const std::string& Block()
{
    static const std::string block = BuildBlock();
    return block;
}

// Whether fileName names the running program's executable; sets errno when not.
bool IsRunningProgram(const char* fileName)
{
    if (!fileName || !fileName[0]) {
        errno = EINVAL;
        return false;
    }
    char* wanted = realpath(fileName, nullptr);
    if (!wanted) {
        errno = ENOENT;
        return false;
    }
    char* self = realpath("/proc/self/exe", nullptr);
    bool same = self && std::strcmp(wanted, self) == 0;
    std::free(wanted);
    std::free(self);
    if (!same)
        errno = ENODATA;
    return same;
}

} // namespace

unsigned GetFileVersionInfoSizeA(const char* fileName, unsigned* handle)
{
    if (handle)
        *handle = 0;
    return IsRunningProgram(fileName) ? static_cast<unsigned>(Block().size()) : 0;
}

int GetFileVersionInfoA(const char* fileName, unsigned handle, unsigned size, void* data)
{
    if (!data || size < Block().size()) {
        errno = EINVAL;
        return 0;
    }
    if (!IsRunningProgram(fileName))
        return 0;
    std::memcpy(data, Block().data(), Block().size());
    return 1;
}

int VerQueryValueA(const void* block, const char* subBlock, void** value, unsigned* length)
{
    if (!block || !subBlock || !value || !length ||
        std::memcmp(block, kMagic, sizeof kMagic) != 0) {
        errno = EINVAL;
        return 0;
    }
    const char* bytes = static_cast<const char*>(block);
    if (strcasecmp(subBlock, "\\VarFileInfo\\Translation") == 0) {
        *value = const_cast<char*>(bytes + sizeof kMagic);
        *length = 4;
        return 1;
    }
    const char* entry = bytes + sizeof kMagic + 4;
    while (*entry) {
        const char* text = entry + std::strlen(entry) + 1;
        if (strcasecmp(entry, subBlock) == 0) {
            *value = const_cast<char*>(text);
            *length = static_cast<unsigned>(std::strlen(text) + 1);
            return 1;
        }
        entry = text + std::strlen(text) + 1;
    }
    errno = ENODATA;
    return 0;
}
