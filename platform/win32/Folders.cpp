#include "win32/Folders.h"

#include <cstdlib>
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

bool UserFolderPath(int folder, std::string& path)
{
    if ((folder == CSIDL_PERSONAL || folder == CSIDL_APPDATA) && FolderPath(folder, path))
        return true;
    path.clear();
    return false;
}
