#pragma once
// What a user's file was when this copy of the game read it, so that a save can tell whether
// another copy wrote the file since, and never undoes that copy's save. An identity is the
// file's size, modification time and a hash of its bytes, taken through any link (stat,
// not lstat): a file the game reads through a link is the link's target. A file that did not
// exist has the identity "missing", and must still not exist for a save to go ahead.
//
// The keeper of the player's files (core/PlayerFileKeeper) keeps one identity per file: taken
// before the file is read (so a write by another copy during the read is seen as a change),
// asked under the save's turn before the bytes are written and again just before the rename
// (CheckBeforeSave), and replaced by the written file's identity after a successful write
// (OfWritten).
#include <cstdint>
#include <string>

// What a save should do with its bytes, given the file it read.
enum FileSaveCheck {
    FILESAVE_WRITE,     // the file is still the one read (or nothing stands there now) and the
                        // bytes differ from it: write them
    FILESAVE_UNCHANGED, // the bytes are what was read and a file stands there: nothing of this
                        // copy's would be saved, whoever wrote the file since
    FILESAVE_CHANGED,   // another copy changed the file since it was read (or something else
                        // now stands there): keep the newer file and hold this copy's bytes
};

// Why a save found FILESAVE_CHANGED, for the saver's log line and its notice.
extern const char* const kFileChangedSinceRead;

class FileIdentity
{
public:
    // An identity of no file: the file must not exist (a file never read is taken as one
    // that was missing, so a save never writes over a file it did not read).
    FileIdentity() = default;

    // The file at path as it stands now. Missing only for "no such file" (ENOENT); a file
    // that cannot be examined or read whole (no permission, a FIFO, larger than the user file
    // limit) gets an identity that no file matches, so a save over it is never made.
    static FileIdentity Of(const std::string& path);
    // The file at path that this copy has just replaced with bytes: its size and time as the
    // system gives them now, and the hash of bytes (so a write by another copy in between
    // still shows as a change at the next save).
    static FileIdentity OfWritten(const std::string& path, const std::string& bytes);

    bool IsMissing() const { return m_Kind == KIND_MISSING; }
    // Whether the file at path is still this one: missing and still missing, or the same
    // size, modification time and bytes.
    bool IsStill(const std::string& path) const;
    // Whether bytes are what the file held when this identity was taken.
    bool Holds(const std::string& bytes) const;
    // What a save of bytes over the file at path should do (see FileSaveCheck).
    FileSaveCheck CheckBeforeSave(const std::string& path, const std::string& bytes) const;

    // The hash kept of a file's bytes (64-bit FNV-1a).
    static std::uint64_t HashOf(const std::string& bytes);

private:
    enum Kind { KIND_MISSING, KIND_PRESENT, KIND_UNKNOWN };
    Kind m_Kind = KIND_MISSING;
    unsigned long long m_Size = 0;
    long long m_TimeNs = 0;
    std::uint64_t m_Hash = 0;

    bool SameAs(const FileIdentity& other) const;
};
