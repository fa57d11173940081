#pragma once
// The user's special folders. The personal (documents) folder is $XDG_DATA_HOME, else
// ~/.local/share; the application-data folder is $XDG_CONFIG_HOME, else ~/.config. A
// variable that is empty or not an absolute path is ignored, as the XDG rules say; the home
// folder is $HOME, else the account's home from the password database. Folders are only
// named, never created.

#include <string>

// Folder ids.
const int CSIDL_PERSONAL = 0x0005;
const int CSIDL_APPDATA = 0x001a;

// The folder's absolute path, without a trailing '/', of any length the variables give: false
// (path empty) for an unknown id or when no home folder can be found.
bool UserFolderPath(int folder, std::string& path);
