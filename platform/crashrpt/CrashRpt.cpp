#include "crashrpt/CrashRpt.h"

#include "crashrpt/Attachment.h"
#include "crashrpt/Reporter.h"
#include "win32/OwnFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace crashrpt {

namespace {

std::string TimeStamp(const char* format)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// Creates a new folder below parent named after the current time; "" on failure. Every
// folder made on the way is the user's alone, as the game's other folders are.
std::string MakeReportFolder(const std::string& parent)
{
    ownfiles::MakeFolders(parent.c_str());
    if (CheckReportParent(parent.c_str()) != 0)
        return "";
    std::string base =
        (fs::path(parent) / ("Error Report " + TimeStamp("%Y-%m-%d %H-%M-%S"))).string();
    for (int n = 1; n < 1000; ++n) {
        std::string candidate = n == 1 ? base : base + " (" + std::to_string(n) + ")";
        const int error = ownfiles::MakeNewFolder(candidate.c_str());
        if (error == 0)
            return candidate;
        if (error != EEXIST)
            break;
    }
    return "";
}

// Writes bytes to a new temporary file beside path, syncs it and gives it the name path
// where nothing stands, so that the report is there whole or not at all. Returns 0 or the
// errno value of the failure; the temporary file is then removed.
int WriteWhole(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + kPartSuffix;
    const int fd = ownfiles::OpenNewFile(temporary.c_str(), O_WRONLY, 0666);
    if (fd < 0)
        return errno;
    int error = ownfiles::WriteAll(fd, bytes.data(), bytes.size());
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        error = ownfiles::PlaceNewFile(temporary.c_str(), path.c_str());
    if (error != 0)
        ::unlink(temporary.c_str());
    return error;
}

// The moment a report folder the reporter made is named after, and its number among those
// of that moment (1 for none): its place in time. False for any other name.
bool ReportTime(const std::string& name, std::string& stamp, int& number)
{
    static const std::string prefix = "Error Report ";
    const std::size_t length = prefix.size() + 19; // "2026-03-01 14-05-09"
    if (name.size() < length || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    stamp = name.substr(prefix.size(), 19);
    number = 1;
    const std::string rest = name.substr(length);
    return rest.empty() || std::sscanf(rest.c_str(), " (%d)", &number) == 1;
}

// Keeps the newest keep report folders below parent that the reporter made (folders named
// as it names them, holding plain files only) and removes the older ones, so reports take
// a bounded room; the report just made (made, when given) is always one of those kept.
// Links and anything else are left as they are.
void PruneReports(const std::string& parent, int keep, const std::string& made = "")
{
    if (CheckReportParent(parent.c_str()) != 0)
        return;
    std::vector<std::pair<std::pair<std::string, int>, fs::path>> reports;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        std::string stamp;
        int number = 0;
        if (it->path() == made)
            --keep;
        else if (it->is_directory(ec) && !it->is_symlink(ec) &&
                 ReportTime(it->path().filename().string(), stamp, number))
            reports.push_back({{stamp, number}, it->path()});
    }
    std::sort(reports.begin(), reports.end());
    for (std::size_t i = 0; i + static_cast<std::size_t>(std::max(keep, 0)) < reports.size(); ++i) {
        std::vector<fs::path> files;
        bool plain = true;
        for (fs::directory_iterator it(reports[i].second, ec), end; !ec && it != end;
             it.increment(ec)) {
            plain = plain && it->is_regular_file(ec) && !it->is_symlink(ec);
            files.push_back(it->path());
        }
        if (!plain || ec)
            continue;
        for (const fs::path& file : files)
            fs::remove(file, ec);
        fs::remove(reports[i].second, ec);
    }
}

// The name the copy of path gets in the report folder: its own file name, prefixed with
// a number when an earlier file of the report already took that name.
std::string CopyName(const std::string& path, std::set<std::string>& taken)
{
    std::string name = fs::path(path).filename().string();
    if (name.empty())
        name = "attachment";
    std::string result = name;
    for (int n = 2; taken.count(result); ++n)
        result = std::to_string(n) + " - " + name;
    taken.insert(result);
    return result;
}

} // namespace

Handle Install(FileCallback fileCallback, const std::string& recipient, const std::string& subject,
               NoMailerCallback noMailer, const std::string& reportFolder)
{
    Reporter* reporter = new Reporter();
    reporter->fileCallback = fileCallback;
    reporter->noMailer = noMailer;
    reporter->recipient = recipient;
    reporter->subject = subject;
    reporter->reportFolder = reportFolder;
    reporter->taken.insert(kReportFileName);
    // Room for the report a crash of this run may write.
    PruneReports(reportFolder, kKeptReports - 1);
    InstallSignalHandlers(reporter);
    return reporter;
}

void Uninstall(Handle handle)
{
    if (handle)
        RemoveSignalHandlers(handle);
    delete handle;
}

void AddFile(Handle handle, const std::string& path, const std::string& description)
{
    if (!handle)
        return;
    for (const auto& file : handle->files) {
        if (file.first == path)
            return;
    }
    handle->files.emplace_back(path, description);
    handle->copyNames.push_back(CopyName(path, handle->taken));
}

std::string GenerateErrorReport(Handle handle, const std::string& errorText)
{
    if (!handle)
        return "";
    if (handle->fileCallback && !handle->fileCallback(handle))
        return "";
    std::string folder = MakeReportFolder(handle->reportFolder);
    if (folder.empty()) {
        std::fprintf(stderr, "The error report could not be saved in \"%s\".\n",
                     handle->reportFolder.c_str());
        return "";
    }
    std::ostringstream out;
    out << handle->subject << "\n";
    if (!handle->recipient.empty())
        out << "To: " << handle->recipient << "\n";
    out << "Date: " << TimeStamp("%Y-%m-%d %H:%M:%S") << "\n\n";
    out << (errorText.empty() ? "No error description was given." : errorText) << "\n\n";
    out << "Attached files:\n";
    const timespec deadline = CopyDeadline();
    std::vector<char> block(16384);
    for (std::size_t i = 0; i < handle->files.size(); ++i) {
        const auto& file = handle->files[i];
        const std::string& name = handle->copyNames[i];
        out << "\t" << file.second << ": " << file.first;
        const fs::path copy = fs::path(folder) / name;
        const CopyOutcome outcome =
            CopyAttachment(file.first.c_str(), copy.c_str(), deadline, block.data(), block.size());
        if (outcome.kind == CopyOutcome::COPIED)
            out << " (copied as \"" << name << "\")\n";
        else if (outcome.kind == CopyOutcome::MISSING)
            out << " (not found)\n";
        else
            out << " (not copied: " << ReasonText(outcome) << ")\n";
    }
    const std::string reportPath = (fs::path(folder) / kReportFileName).string();
    if (int error = WriteWhole(reportPath, out.str())) {
        std::fprintf(stderr, "%s: the error report \"%s\" could not be written: %s.\n",
                     handle->subject.c_str(), reportPath.c_str(), std::strerror(error));
        std::fflush(stderr);
        std::error_code ec;
        fs::remove_all(folder, ec);
        return "";
    }
    PruneReports(handle->reportFolder, kKeptReports - 1, folder);
    std::fprintf(stderr, "%s: the error report was saved in \"%s\".\n", handle->subject.c_str(),
                 folder.c_str());
    std::fflush(stderr);
    return folder;
}

} // namespace crashrpt
