#pragma once
// The ways a file of the user's can be there and still not be read: no permission and an I/O
// error (made through the reader's fault hook, since permissions do not bind root), a folder,
// a link loop and a FIFO. UnreadableFile makes one at a path for as long as it lives, and
// tells whether the thing at the path is still exactly what it made.
#include "core/UserDataFile.h"
#include "support/TempHome.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace bbtest {

enum UnreadableKind {
    UNREADABLE_PERMISSION,
    UNREADABLE_IO_ERROR,
    UNREADABLE_FOLDER,
    UNREADABLE_LINK_LOOP,
    UNREADABLE_FIFO,
};

constexpr UnreadableKind kUnreadableKinds[] = {UNREADABLE_PERMISSION, UNREADABLE_IO_ERROR,
                                               UNREADABLE_FOLDER, UNREADABLE_LINK_LOOP,
                                               UNREADABLE_FIFO};

inline const char* NameOf(UnreadableKind kind)
{
    switch (kind) {
    case UNREADABLE_PERMISSION:
        return "no permission";
    case UNREADABLE_IO_ERROR:
        return "an I/O error";
    case UNREADABLE_FOLDER:
        return "a folder";
    case UNREADABLE_LINK_LOOP:
        return "a link loop";
    case UNREADABLE_FIFO:
        return "a FIFO";
    }
    return "?";
}

// What the log gives as the reason the file could not be read.
inline std::string ReasonOf(UnreadableKind kind)
{
    switch (kind) {
    case UNREADABLE_PERMISSION:
        return std::strerror(EACCES);
    case UNREADABLE_IO_ERROR:
        return std::strerror(EIO);
    case UNREADABLE_FOLDER:
        return std::strerror(EISDIR);
    case UNREADABLE_LINK_LOOP:
        return std::strerror(ELOOP);
    case UNREADABLE_FIFO:
        return "it is a FIFO, not a regular file";
    }
    return "?";
}

class UnreadableFile
{
public:
    // Makes the file at path unreadable that way (its folder is made). Where the kind leaves
    // a regular file (the fault hook's), it holds text.
    UnreadableFile(const std::string& path, UnreadableKind kind, const std::string& text)
        : m_Path(path), m_Kind(kind), m_Text(text)
    {
        namespace fs = std::filesystem;
        fs::create_directories(fs::path(path).parent_path());
        switch (kind) {
        case UNREADABLE_PERMISSION:
        case UNREADABLE_IO_ERROR:
            WriteFile(path, text);
            SetInjectedReadFault(path, kind == UNREADABLE_PERMISSION ? EACCES : EIO);
            break;
        case UNREADABLE_FOLDER:
            fs::create_directory(path);
            WriteFile(path + "/inside", text);
            break;
        case UNREADABLE_LINK_LOOP:
            fs::create_symlink(fs::path(path).filename(), path);
            break;
        case UNREADABLE_FIFO:
            ::mkfifo(path.c_str(), 0600);
            break;
        }
    }
    ~UnreadableFile() { SetInjectedReadFault(m_Path, 0); }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // "" when the path still holds exactly what was made, else what it holds now.
    std::string Changed() const
    {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(m_Path, error);
        switch (m_Kind) {
        case UNREADABLE_PERMISSION:
        case UNREADABLE_IO_ERROR:
            if (!fs::is_regular_file(status))
                return "no longer a regular file";
            return ReadFile(m_Path) == m_Text ? "" : "its bytes changed: " + ReadFile(m_Path);
        case UNREADABLE_FOLDER:
            if (!fs::is_directory(status))
                return "no longer a folder";
            return ReadFile(m_Path + "/inside") == m_Text ? "" : "what it holds changed";
        case UNREADABLE_LINK_LOOP:
            if (!fs::is_symlink(status))
                return "no longer a link";
            return fs::read_symlink(m_Path, error) == fs::path(m_Path).filename()
                       ? ""
                       : "the link points elsewhere";
        case UNREADABLE_FIFO:
            return fs::is_fifo(status) ? "" : "no longer a FIFO";
        }
        return "?";
    }

private:
    std::string m_Path;
    UnreadableKind m_Kind;
    std::string m_Text;
};

} // namespace bbtest
