// The system side of the utilities: version text, system report, folders and the
// single-instance lock.
#include "core/Utility.h"

#include "core/CFileVersion.h"
#include "core/CPUID.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "win32/Folders.h"
#include "win32/InstanceLock.h"

#include <boost/format.hpp>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <sstream>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

std::string GetVersionString(const CFileVersion& reader)
{
    return reader.QueryValue("FileVersion");
}

std::string ReadApplicationVersion(const std::string& programPath)
{
    // A program started through PATH sees only its bare name as argument 0.
    std::string path = programPath.find('/') == std::string::npos ? "/proc/self/exe" : programPath;
    CFileVersion reader;
    if (!reader.Open(path)) {
        Log("WARNING: The application's version could not be retrieved, error = %s\n",
            GetLastErrorText().c_str());
        return "0.0.0.0";
    }
    std::string version = GetVersionString(reader);
    version.erase(0, version.find_first_not_of(" \t"));
    return version;
}

bool IsDirectX7Available()
{
    return true;
}

namespace {

// Bytes of the address space a process of this build may use: its limit when one is set,
// else the user half of the architecture's address space.
unsigned long long AddressSpaceBytes()
{
    rlimit limit;
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return limit.rlim_cur;
    return sizeof(void*) >= 8 ? (1ULL << 47) : (3ULL << 30);
}

unsigned long long AddressSpaceInUse()
{
    unsigned long long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%llu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE));
}

} // namespace

void LogMemoryStatus()
{
    std::ostringstream report;
    report << CPUID();
    Log("%s", report.str().c_str());

    struct sysinfo info = {};
    sysinfo(&info);
    const unsigned long long unit = info.mem_unit ? info.mem_unit : 1;
    const unsigned long long totalPhysical = info.totalram * unit;
    const unsigned long long availPhysical = (info.freeram + info.bufferram) * unit;
    const unsigned long long totalCommit = totalPhysical + info.totalswap * unit;
    const unsigned long long availCommit = availPhysical + info.freeswap * unit;
    const unsigned long long totalVirtual = AddressSpaceBytes();
    const unsigned long long usedVirtual = AddressSpaceInUse();
    const unsigned long long availVirtual =
        usedVirtual < totalVirtual ? totalVirtual - usedVirtual : 0;
    const unsigned load =
        totalPhysical ? static_cast<unsigned>(100 - availPhysical * 100 / totalPhysical) : 0;

    Log("dwMemoryLoad: %u\n", load);
    Log("Total physical memory: %llu bytes\n", totalPhysical);
    Log("Total available physical memory: %llu bytes\n", availPhysical);
    Log("Total pages committed to memory: %llu bytes\n", totalCommit);
    Log("Total available memory that can be committed as pages: %llu bytes\n", availCommit);
    Log("Total virtual memory: %llu bytes\n", totalVirtual);
    Log("Total available virtual memory: %llu bytes\n", availVirtual);
}

std::string GetWindowsFolderPath(int folderId)
{
    // Named whatever its length: a folder too long for the system makes the saves fail,
    // each said, never the start.
    std::string path;
    if (!UserFolderPath(folderId, path)) {
        const bool known = folderId == CSIDL_PERSONAL || folderId == CSIDL_APPDATA;
        MAKO_THROW(Exception,
                   boost::str(boost::format("Could not find the user's folder "
                                            "(id %1%): %2%") %
                              folderId % (known ? "no home folder (set HOME)" : "unknown folder")));
    }
    return path;
}

namespace {

std::string& DocumentsFolder()
{
    static std::string folder;
    return folder;
}

} // namespace

std::string GetDocumentsFolderPath()
{
    if (!DocumentsFolder().empty())
        return DocumentsFolder();
    return GetWindowsFolderPath(CSIDL_PERSONAL) + "/";
}

void SetDocumentsFolderPath(const std::string& folder)
{
    std::string native = ToNativePath(folder);
    if (!native.empty() && native.back() != '/')
        native += '/';
    DocumentsFolder() = native;
}

std::string GetDocumentsFilePath(const std::string& fileName)
{
    return GetDocumentsFolderPath() + fileName;
}

std::string ToNativePath(const std::string& path)
{
    std::string native = path;
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return native;
}

namespace {

// "BLUX" for the code of "BLUX"; eight hex digits when a byte is not a letter or digit.
std::string AppCodeText(uint32_t appCode)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        char c = static_cast<char>(appCode >> (8 * i));
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08x", appCode);
            return hex;
        }
        text += c;
    }
    return text;
}

} // namespace

namespace {

// The lock file of appCode in savesFolder (see TakeSingleInstanceLock); "" when the folder
// cannot be made, with the reason in reason.
std::string InstanceLockPath(uint32_t appCode, const std::string& savesFolder, std::string& reason)
{
    MAKO_ASSERT_MSG(appCode != 0, "0 is not a valid app code.");
    std::string folder = savesFolder;
    // The system's refusal is said as the folder's; the program's own mistakes pass on.
    if (!ObjectBoundary::Contain([&] { CreateDirectories(folder); })) {
        reason = "its folder \"" + folder + "\" cannot be made";
        return std::string();
    }
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + AppCodeText(appCode) + ".lock";
}

} // namespace

SingleInstanceResult TakeSingleInstanceLock(uint32_t appCode, const std::string& savesFolder,
                                            std::string& reason)
{
    std::string path = InstanceLockPath(appCode, savesFolder, reason);
    if (!path.empty()) {
        std::string why;
        switch (TakeInstanceLock(path, &why)) {
        case INSTANCE_LOCK_TAKEN:
            return SINGLE_INSTANCE_ALONE;
        case INSTANCE_LOCK_HELD_ELSEWHERE:
            Log("Another instance of this application is running (lock \"%s\").\n", path.c_str());
            // The log of this run goes nowhere the user looks: say it where they started it.
            std::fprintf(stderr, "Another instance of this program is already running.\n");
            std::fflush(stderr);
            return SINGLE_INSTANCE_OTHER_RUNNING;
        case INSTANCE_LOCK_UNAVAILABLE:
            reason = "\"" + path + "\": " + why;
            break;
        }
    }
    reason = "the single-instance lock cannot be taken: " + reason;
    // Said here once, where the user started the game; the log, not open yet, has it from
    // the caller once it is (SingleInstanceWarning): lines kept for a log that ends up on
    // standard error would say it twice.
    std::fputs(SingleInstanceWarning(reason).c_str(), stderr);
    std::fflush(stderr);
    return SINGLE_INSTANCE_UNAVAILABLE;
}

std::string SingleInstanceWarning(const std::string& reason)
{
    return "Warning: " + reason + "; this copy of the game plays without saving.\n";
}

bool IsOnlyInstance(uint32_t appCode, const std::string& savesFolder)
{
    std::string reason;
    std::string path = InstanceLockPath(appCode, savesFolder, reason);
    if (path.empty())
        return false;
    if (IsInstanceLockHeld(path))
        return true;
    if (TakeInstanceLock(path) != INSTANCE_LOCK_TAKEN)
        return false;
    // Only a look: a run that allows other instances leaves the lock to them.
    ReleaseInstanceLock(path);
    return true;
}
