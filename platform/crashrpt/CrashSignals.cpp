// The crash signal handler: when the program dies of a fault or an abort, the installed
// reporter writes a report folder like GenerateErrorReport's, with the signal and a
// backtrace in place of an error text, then the signal takes its earlier course.
//
// The handler runs in a program that may be broken anywhere (the heap, the C library's
// locks), so it allocates nothing and calls only what may be called from a signal
// handler: everything it needs (folder, subject, attachment paths and copy names, the time
// zone offset) was settled before, and it writes with open, write and close.
// backtrace() is readied at installation, so that it loads nothing when it runs.
#include "crashrpt/Attachment.h"
#include "crashrpt/Reporter.h"
#include "win32/OwnFiles.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>

namespace crashrpt {

namespace {

struct CrashSignal
{
    int number;
    const char* text;
};

const CrashSignal kSignals[] = {
    {SIGSEGV, "SIGSEGV (invalid memory access)"},
    {SIGBUS, "SIGBUS (bus error)"},
    {SIGFPE, "SIGFPE (arithmetic error)"},
    {SIGILL, "SIGILL (illegal instruction)"},
    {SIGABRT, "SIGABRT (abort)"},
};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
constexpr int kMaxFrames = 64;

Reporter* gActive = nullptr;              // the reporter a crash signal reports to
struct sigaction gPrevious[kSignalCount]; // the handlers from before the first reporter
long gUtcOffset = 0;                      // seconds east of UTC at installation
bool gOwnStack = false;                   // whether gAltStack is this thread's signal stack
volatile sig_atomic_t gHandling = 0;      // set once a report is being written
alignas(16) char gAltStack[64 * 1024];    // for a crash by stack overflow
char gCopyBuffer[16 * 1024];

// A bounded text buffer for paths and lines; what does not fit is cut off.
class Text
{
public:
    Text& Add(const char* text)
    {
        while (*text && m_Length + 1 < sizeof m_Text)
            m_Text[m_Length++] = *text++;
        m_Text[m_Length] = '\0';
        return *this;
    }
    Text& Add(const std::string& text) { return Add(text.c_str()); }
    // A decimal number, padded with zeros to width digits.
    Text& Number(unsigned long value, int width = 1)
    {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value && n < 20);
        while (n < width && n < 20)
            digits[n++] = '0';
        char text[24];
        for (int i = 0; i < n; ++i)
            text[i] = digits[n - 1 - i];
        text[n] = '\0';
        return Add(text);
    }
    Text& Hex(std::uintptr_t value)
    {
        char text[2 + 2 * sizeof value + 1] = "0x";
        int n = 2;
        bool started = false;
        for (int shift = static_cast<int>(8 * sizeof value) - 4; shift >= 0; shift -= 4) {
            const unsigned digit = (value >> shift) & 0xF;
            if (digit || started || shift == 0) {
                text[n++] = "0123456789abcdef"[digit];
                started = true;
            }
        }
        text[n] = '\0';
        return Add(text);
    }
    void Clear() { m_Length = 0, m_Text[0] = '\0'; }
    void Cut(std::size_t length)
    {
        if (length < m_Length)
            m_Length = length, m_Text[length] = '\0';
    }
    const char* Get() const { return m_Text; }
    std::size_t Length() const { return m_Length; }

private:
    char m_Text[4096] = "";
    std::size_t m_Length = 0;
};

Text gFolder, gPath, gLine; // the handler's working texts (only one report is ever written)

// Writes text whole to fd; 0, or the errno value of the refusal.
int Write(int fd, const Text& text)
{
    return ownfiles::WriteAll(fd, text.Get(), text.Length());
}

// The civil date and time of a moment given in seconds since 1970 (proleptic Gregorian).
void CivilTime(long long seconds, std::tm& out)
{
    long long days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0)
        rest += 86400, --days;
    out.tm_hour = static_cast<int>(rest / 3600);
    out.tm_min = static_cast<int>(rest / 60 % 60);
    out.tm_sec = static_cast<int>(rest % 60);
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    out.tm_mday = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    out.tm_mon = static_cast<int>(monthIndex < 10 ? monthIndex + 2 : monthIndex - 10);
    out.tm_year = static_cast<int>(yearOfEra + era * 400 + (out.tm_mon <= 1) - 1900);
}

// Makes every folder on the way to the report folder, then a new report folder in it named
// after now; gFolder holds its path afterwards. 0, or the errno value of the failure.
int MakeReportFolder(const Reporter& reporter, const std::tm& now)
{
    gFolder.Clear();
    gFolder.Add(reporter.reportFolder);
    ownfiles::MakeFolders(gFolder.Get());
    if (const int error = CheckReportParent(gFolder.Get()))
        return error;
    if (gFolder.Length() > 0 && gFolder.Get()[gFolder.Length() - 1] != '/')
        gFolder.Add("/");
    gFolder.Add("Error Report ").Number(static_cast<unsigned long>(now.tm_year + 1900), 4);
    gFolder.Add("-").Number(static_cast<unsigned long>(now.tm_mon + 1), 2);
    gFolder.Add("-").Number(static_cast<unsigned long>(now.tm_mday), 2);
    gFolder.Add(" ").Number(static_cast<unsigned long>(now.tm_hour), 2);
    gFolder.Add("-").Number(static_cast<unsigned long>(now.tm_min), 2);
    gFolder.Add("-").Number(static_cast<unsigned long>(now.tm_sec), 2);
    const std::size_t base = gFolder.Length();
    for (unsigned long n = 1; n < 1000; ++n) {
        gFolder.Cut(base);
        if (n > 1)
            gFolder.Add(" (").Number(n).Add(")");
        const int error = ownfiles::MakeNewFolder(gFolder.Get());
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

// gPath: the file name in the report folder, with suffix.
const char* InFolder(const char* name, const char* suffix = "")
{
    gPath.Clear();
    gPath.Add(gFolder.Get()).Add("/").Add(name).Add(suffix);
    return gPath.Get();
}

// The report text down to "Backtrace:\n" in gLine.
void Heading(const Reporter& reporter, const CrashSignal& signal, const siginfo_t* info,
             const std::tm& now)
{
    gLine.Clear();
    gLine.Add(reporter.subject).Add("\n");
    if (!reporter.recipient.empty())
        gLine.Add("To: ").Add(reporter.recipient).Add("\n");
    gLine.Add("Date: ").Number(static_cast<unsigned long>(now.tm_year + 1900), 4);
    gLine.Add("-").Number(static_cast<unsigned long>(now.tm_mon + 1), 2);
    gLine.Add("-").Number(static_cast<unsigned long>(now.tm_mday), 2);
    gLine.Add(" ").Number(static_cast<unsigned long>(now.tm_hour), 2);
    gLine.Add(":").Number(static_cast<unsigned long>(now.tm_min), 2);
    gLine.Add(":").Number(static_cast<unsigned long>(now.tm_sec), 2).Add("\n\n");
    gLine.Add("The program was stopped by signal ").Number(signal.number).Add(", ");
    gLine.Add(signal.text);
    if (info && info->si_code > 0 && (signal.number == SIGSEGV || signal.number == SIGBUS))
        gLine.Add(", at address ").Hex(reinterpret_cast<std::uintptr_t>(info->si_addr));
    gLine.Add(".\n\nBacktrace:\n");
}

// Writes the list of attachments to fd, copying each within the report's one budget, so the
// program ends within seconds. 0, or the errno value of a refused write of the text.
int WriteAttachments(const Reporter& reporter, int fd, const timespec& deadline)
{
    gLine.Clear();
    if (const int error = Write(fd, gLine.Add("\nAttached files:\n")))
        return error;
    for (std::size_t i = 0; i < reporter.files.size() && i < reporter.copyNames.size(); ++i) {
        const std::string& path = reporter.files[i].first;
        const CopyOutcome copy =
            CopyAttachment(path.c_str(), InFolder(reporter.copyNames[i].c_str()), deadline,
                           gCopyBuffer, sizeof gCopyBuffer);
        gLine.Clear();
        gLine.Add("\t").Add(reporter.files[i].second).Add(": ").Add(path);
        if (copy.kind == CopyOutcome::COPIED)
            gLine.Add(" (copied as \"").Add(reporter.copyNames[i]).Add("\")\n");
        else if (copy.kind == CopyOutcome::MISSING)
            gLine.Add(" (not found)\n");
        else
            gLine.Add(" (not copied: ").Add(ReasonText(copy)).Add(")\n");
        if (const int error = Write(fd, gLine))
            return error;
    }
    return 0;
}

// Removes the report folder and all it may hold, and says on standard error why no report
// was saved: a report is whole or not there.
void GiveUp(const Reporter& reporter, int error)
{
    if (gFolder.Length() > 0) {
        for (std::size_t i = 0; i < reporter.copyNames.size(); ++i)
            unlink(InFolder(reporter.copyNames[i].c_str()));
        unlink(InFolder(kReportFileName, kPartSuffix));
        unlink(InFolder(kReportFileName));
        rmdir(gFolder.Get());
    }
    CopyOutcome failed;
    failed.error = error;
    gLine.Clear();
    gLine.Add(reporter.subject).Add(": the error report could not be saved in \"");
    gLine.Add(gFolder.Length() > 0 ? gFolder.Get() : reporter.reportFolder.c_str());
    Write(STDERR_FILENO, gLine.Add("\": ").Add(ReasonText(failed)).Add(".\n"));
}

void WriteCrashReport(const Reporter& reporter, const CrashSignal& signal, const siginfo_t* info)
{
    // One budget for the whole report, its own opens included.
    const timespec deadline = CopyDeadline();
    timespec clock{};
    clock_gettime(CLOCK_REALTIME, &clock);
    std::tm now{};
    CivilTime(static_cast<long long>(clock.tv_sec) + gUtcOffset, now);
    if (const int error = MakeReportFolder(reporter, now)) {
        gFolder.Clear();
        return GiveUp(reporter, error);
    }
    // The text is written under a temporary name and given its own once it is whole.
    const int fd = ownfiles::OpenNewFile(InFolder(kReportFileName, kPartSuffix), O_WRONLY, 0644);
    if (fd < 0)
        return GiveUp(reporter, errno);
    Heading(reporter, signal, info, now);
    int error = Write(fd, gLine);
    if (error == 0) {
        void* frames[kMaxFrames];
        backtrace_symbols_fd(frames, backtrace(frames, kMaxFrames), fd);
        error = WriteAttachments(reporter, fd, deadline);
    }
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0) {
        gLine.Clear();
        gLine.Add(gFolder.Get()).Add("/").Add(kReportFileName);
        error = ownfiles::PlaceNewFile(InFolder(kReportFileName, kPartSuffix), gLine.Get());
    }
    if (error != 0)
        return GiveUp(reporter, error);
    gLine.Clear();
    gLine.Add(reporter.subject).Add(": the error report was saved in \"").Add(gFolder.Get());
    Write(STDERR_FILENO, gLine.Add("\".\n"));
}

void OnCrashSignal(int number, siginfo_t* info, void*)
{
    int index = 0;
    while (index + 1 < kSignalCount && kSignals[index].number != number)
        ++index;
    if (!gHandling && gActive) {
        gHandling = 1;
        WriteCrashReport(*gActive, kSignals[index], info);
    }
    // The earlier handler, the default action unless the program had another, takes over.
    sigaction(number, &gPrevious[index], nullptr);
    // A fault comes again when the faulting instruction runs again after the return; a
    // signal that was sent (raise, kill, abort) is sent again, to arrive after the return.
    if (!info || info->si_code <= 0 || number == SIGABRT)
        raise(number);
}

} // namespace

void InstallSignalHandlers(Reporter* reporter)
{
    if (!gActive) {
        void* frame = nullptr;
        backtrace(&frame, 1); // loads what backtrace needs now, not in the handler
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        gUtcOffset = local.tm_gmtoff;
        // A signal stack of our own only where the thread has none (sanitizers make one).
        stack_t current{};
        if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
            stack_t own{};
            own.ss_sp = gAltStack;
            own.ss_size = sizeof gAltStack;
            gOwnStack = sigaltstack(&own, nullptr) == 0;
        }
        struct sigaction action
        {
        };
        action.sa_sigaction = &OnCrashSignal;
        // A second crash signal waits until the report is written: it is whole or not there.
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < kSignalCount; ++i)
            sigaddset(&action.sa_mask, kSignals[i].number);
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        for (int i = 0; i < kSignalCount; ++i)
            sigaction(kSignals[i].number, &action, &gPrevious[i]);
        gHandling = 0;
    }
    gActive = reporter;
}

void RemoveSignalHandlers(Reporter* reporter)
{
    if (reporter != gActive)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i].number, &gPrevious[i], nullptr);
    if (gOwnStack) {
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
        gOwnStack = false;
    }
    gActive = nullptr;
}

} // namespace crashrpt
