#include "win32/Folders.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// An environment variable usable as a folder: set, non-empty and absolute.
bool AbsoluteFromEnvironment(const char* name, std::string& out)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return false;
    out = value;
    return true;
}

bool HomeFolder(std::string& out)
{
    if (AbsoluteFromEnvironment("HOME", out))
        return true;
    const passwd* entry = getpwuid(getuid());
    if (!entry || !entry->pw_dir || entry->pw_dir[0] != '/')
        return false;
    out = entry->pw_dir;
    return true;
}

bool FolderPath(int folder, std::string& out)
{
    const char* variable = folder == CSIDL_PERSONAL ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME";
    const char* fallback = folder == CSIDL_PERSONAL ? "/.local/share" : "/.config";
    if (!AbsoluteFromEnvironment(variable, out)) {
        if (!HomeFolder(out))
            return false;
        out += fallback;
    }
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return true;
}

} // namespace

long SHGetFolderPathA(void* owner, int folder, void* token, unsigned flags, char* path)
{
    if (!path)
        return FOLDER_E_INVALIDARG;
    path[0] = '\0';
    if ((folder != CSIDL_PERSONAL && folder != CSIDL_APPDATA) || flags != 0)
        return FOLDER_E_INVALIDARG;
    std::string found;
    if (!FolderPath(folder, found) || found.size() >= static_cast<size_t>(MAX_FOLDER_PATH))
        return FOLDER_E_FAIL;
    std::memcpy(path, found.c_str(), found.size() + 1);
    return FOLDER_S_OK;
}
