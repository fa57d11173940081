#pragma once
// The user's special folders. The personal (documents) folder is $XDG_DATA_HOME, else
// ~/.local/share; the application-data folder is $XDG_CONFIG_HOME, else ~/.config. A
// variable that is empty or not an absolute path is ignored, as the XDG rules say; the home
// folder is $HOME, else the account's home from the password database. Folders are only
// named, never created.

// Folder ids.
const int CSIDL_PERSONAL = 0x0005;
const int CSIDL_APPDATA = 0x001a;

// Size of the path buffer SHGetFolderPathA fills, terminator included.
const int MAX_FOLDER_PATH = 4096;

// Result codes.
const long FOLDER_S_OK = 0;
const long FOLDER_E_FAIL = static_cast<long>(0x80004005L);
const long FOLDER_E_INVALIDARG = static_cast<long>(0x80070057L);

// Writes the folder's absolute path, without a trailing '/', into path (MAX_FOLDER_PATH
// bytes). owner and token are ignored; flags must be 0. Returns FOLDER_S_OK, or
// FOLDER_E_INVALIDARG for an unknown id or a null buffer, FOLDER_E_FAIL when no home folder
// can be found or the path does not fit; path then holds the empty text (when not null).
long SHGetFolderPathA(void* owner, int folder, void* token, unsigned flags, char* path);
