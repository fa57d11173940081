#include "core/CFileVersion.h"
#include "core/CPUID.h"
#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "core/Utility.h"
#include "support/TempHome.h"
#include "win32/Folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace {

uint32_t Text4(const char* s)
{
    uint32_t value;
    std::memcpy(&value, s, 4);
    return value;
}

// A processor described by a table of leaves; leaves it lacks answer zeros.
struct FakeProcessor
{
    std::map<uint32_t, CpuidRegisters> leaves;
    std::map<uint32_t, int> calls;
    bool available = true;

    CpuidQuery Query()
    {
        return [this](uint32_t leaf, CpuidRegisters& out) {
            ++calls[leaf];
            out = leaves.count(leaf) ? leaves[leaf] : CpuidRegisters();
            return available;
        };
    }
    void SetVendor(const char* vendor, uint32_t maxLevel)
    {
        CpuidRegisters r;
        r.eax = maxLevel;
        r.ebx = Text4(vendor);
        r.edx = Text4(vendor + 4);
        r.ecx = Text4(vendor + 8);
        leaves[0] = r;
    }
    void SetName(const char* name48)
    {
        for (uint32_t i = 0; i < 3; ++i) {
            CpuidRegisters r;
            r.eax = Text4(name48 + 16 * i);
            r.ebx = Text4(name48 + 16 * i + 4);
            r.ecx = Text4(name48 + 16 * i + 8);
            r.edx = Text4(name48 + 16 * i + 12);
            leaves[0x80000002 + i] = r;
        }
    }
};

std::string Report(const CPUID& cpu)
{
    std::ostringstream out;
    out << cpu;
    return out.str();
}

// A report line: label right-aligned in width characters, then the value.
std::string Row(int width, const std::string& label, const std::string& value)
{
    return std::string(width - label.size(), ' ') + label + value;
}

bool HasLine(const std::string& report, const std::string& line)
{
    return ("\n" + report).find("\n" + line + "\n") != std::string::npos;
}

} // namespace

TEST(CPUID, ReadsIdentityFromTheLeavesAndReportsIt)
{
    FakeProcessor cpu;
    cpu.SetVendor("GenuineIntel", 0x502); // read as 2
    cpu.leaves[1].eax = 0x00A50F7A;       // ext family 0x0A, ext model 5, type 0, family 0xF
    cpu.leaves[1].ebx = 0x04081002;       // APIC 4, 8 logical, line 0x10, brand 2
    cpu.leaves[1].edx = (1u << 0) | (1u << 25);
    cpu.leaves[1].ecx = 1u << 0;
    cpu.leaves[2].eax = 0x03020103; // executed three times
    cpu.leaves[0x80000000].eax = 0x80000004;
    cpu.leaves[0x80000001].edx = (1u << 29) | (1u << 22);
    cpu.SetName("Test Processor @ 1.00GHz\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0");

    CPUID id(cpu.Query());
    EXPECT_TRUE(id.IsSupported());
    EXPECT_EQ(2u, id.GetMaxLevel());
    EXPECT_EQ(CPUID::VENDOR_INTEL, id.GetVendorId());
    EXPECT_EQ(0xF, id.GetFamily());
    EXPECT_EQ(7, id.GetModel());
    EXPECT_EQ(0xA, id.GetStepping());
    EXPECT_EQ(3, cpu.calls[2]);
    EXPECT_EQ(0, cpu.calls[0x80000005]); // beyond the highest extended leaf: never asked

    std::ostringstream out;
    out << std::dec << 255 << ' ' << id << 255;
    std::string report = out.str();
    EXPECT_EQ("255 ", report.substr(0, 4));
    EXPECT_EQ("255", report.substr(report.size() - 3)); // the caller's number format is kept
    EXPECT_TRUE(HasLine(report, Row(30, "Max CPUID Level : ", "2")));
    EXPECT_TRUE(HasLine(report, Row(30, "VendorID : ", "GenuineIntel")));
    EXPECT_TRUE(HasLine(report, Row(30, "Stepping : ",
                                    "a, Model : 7, Family : f, Type : 0, "
                                    "Brand-ID : 2")));
    EXPECT_TRUE(HasLine(report, Row(30, "Logical CPU Count : ", "8")));
    EXPECT_TRUE(HasLine(report, Row(30, "Max CPUID Extension Level : ", "80000004")));
    EXPECT_TRUE(HasLine(report, Row(30, "Processor Name : ", "Test Processor @ 1.00GHz")));
    // The configuration descriptors: EAX bytes 1-3 of each execution, then EBX, ECX, EDX.
    EXPECT_NE(std::string::npos, report.find("  Configuration Descriptors : 1 2 3 0 0 0"));
    // With the name leaf as the highest, no cache sections, but the features.
    EXPECT_EQ(std::string::npos, report.find("CACHE DESCRIPTORS"));
    EXPECT_TRUE(HasLine(report, "FEATURES:"));
    EXPECT_TRUE(HasLine(report, Row(45, "Floating-point unit on-chip (FPU) :", "1")));
    EXPECT_TRUE(HasLine(report, Row(45, "Virtual Mode Extension (VME) :", "0")));
    EXPECT_TRUE(HasLine(report, Row(45, "Streaming SIMD Extensions (SSE) :", "1")));
    EXPECT_TRUE(HasLine(report, Row(45, "Streaming SIMD Extensions 3 (SSE3) :", "1")));
    EXPECT_TRUE(HasLine(report, Row(45, "x86-64 Long Mode (LM) :", "1")));
    EXPECT_EQ(std::string::npos, report.find("MMX+")); // AMD and Cyrix only
}

TEST(CPUID, CacheSectionsFollowTheExtendedLeaves)
{
    FakeProcessor cpu;
    cpu.SetVendor("AuthenticAMD", 1);
    cpu.leaves[0x80000000].eax = 0x80000006;
    cpu.leaves[0x80000001].edx = 1u << 22;
    cpu.leaves[0x80000005].ecx = 0x40020140; // data L1: 64 KB, 2-way, 1 line per tag, 64 B
    cpu.leaves[0x80000006].ecx = 0x02006140; // unified L2: 512 KB, assoc 6, 1 per tag, 64 B
    cpu.leaves[0x80000006].ebx = 0x42004200; // 4 KB L2 TLB: 512 entries, assoc 4, both
    CPUID id(cpu.Query());
    EXPECT_EQ(CPUID::VENDOR_AMD, id.GetVendorId());
    std::string report = Report(id);
    EXPECT_EQ(std::string::npos, report.find("Configuration Descriptors")); // leaf 2 absent
    EXPECT_NE(std::string::npos, report.find("L1 CACHE DESCRIPTORS:\n\n4/2 MB L1 TLB "
                                             "configuration descriptor\n"));
    EXPECT_TRUE(HasLine(report, Row(45, "data L1 cache size in KBs : ", "64")));
    EXPECT_TRUE(HasLine(report, Row(45, "data L1 cache line size in bytes : ", "64")));
    EXPECT_TRUE(HasLine(report, Row(45, "data L1 cache associativity : ", "2")));
    EXPECT_TRUE(HasLine(report, "L2 CACHE DESCRIPTORS:"));
    EXPECT_TRUE(HasLine(report, "unified L2 cache configuration descriptor "));
    EXPECT_TRUE(HasLine(report, Row(45, "unified L2 cache size in KBs : ", "512")));
    EXPECT_TRUE(HasLine(report, Row(45, "unified L2 cache associativity : ", "6")));
    EXPECT_TRUE(HasLine(report, Row(45, "code TLB entries : ", "512")));
    EXPECT_TRUE(HasLine(report, Row(45, "MMX+ Instructions (MMX+) :", "1")));
    EXPECT_TRUE(HasLine(report, Row(45, "NX :", "0")));
}

TEST(CPUID, ProcessorWithoutTheInstructionGivesTheShortReport)
{
    FakeProcessor none;
    none.available = false;
    FakeProcessor zero;
    zero.SetVendor("GenuineIntel", 0);
    for (FakeProcessor* cpu : {&none, &zero}) {
        CPUID id(cpu->Query());
        EXPECT_FALSE(id.IsSupported());
        std::string report = Report(id);
        EXPECT_TRUE(EndsWith(report, "\n\nCPUID is not supported\n")) << report;
        EXPECT_EQ(4, std::count(report.begin(), report.end(), '\n'));
    }
    FakeProcessor odd;
    odd.SetVendor("GenuineIntex", 1);
    EXPECT_EQ(CPUID::VENDOR_UNKNOWN, CPUID(odd.Query()).GetVendorId());
}

#if defined(__x86_64__)
TEST(CPUID, ThisProcessorIsAnX8664)
{
    CPUID id;
    ASSERT_TRUE(id.IsSupported());
    EXPECT_EQ(12u, std::strlen(id.GetVendorText()));
    EXPECT_TRUE(HasLine(Report(id), Row(45, "x86-64 Long Mode (LM) :", "1")));
}
#endif

TEST(FileVersion, ReadsTheRunningProgramsVersionAndGuardsMisuse)
{
    CFileVersion reader;
    EXPECT_THROW(reader.QueryValue("FileVersion"), Exception);
    ASSERT_TRUE(reader.Open("/proc/self/exe"));
    EXPECT_EQ(0x040904b0u, reader.GetLanguageCodePage());
    EXPECT_EQ("1.0.0.0", GetVersionString(reader));
    EXPECT_EQ("", reader.QueryValue("NoSuchValue"));
    EXPECT_EQ("", reader.QueryValue("FileVersion", 0x04070000)); // another language
    try {
        reader.Open("/proc/self/exe");
        FAIL() << "a second Open must fail";
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (m_lpVersionData == 0)", e.GetMessage());
    }
    reader.Close();
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.Open("/bin/sh"));
    EXPECT_FALSE(reader.IsOpen());
    try {
        reader.Open("");
        FAIL() << "an empty name must fail";
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (strlen(lpszModuleName) > 0)", e.GetMessage());
    }
}

TEST(FileVersion, ApplicationVersionFallsBackWithAWarning)
{
    EXPECT_EQ("1.0.0.0", ReadApplicationVersion("/proc/self/exe"));
    EXPECT_EQ("1.0.0.0", ReadApplicationVersion("bumperlux")); // found through PATH
    bbtest::OutputCapture out(1);
    EXPECT_EQ("0.0.0.0", ReadApplicationVersion("/no/such/dir/bumperlux"));
    EXPECT_NE(std::string::npos,
              out.Text().find("WARNING: The application's version could not be retrieved, "
                              "error = 2: No such file or directory\n"));
}

TEST(SystemReport, LogsTheProcessorAndMemoryWithoutOverflow)
{
    bbtest::OutputCapture out(1);
    LogMemoryStatus();
    std::string text = out.Text();
    EXPECT_NE(std::string::npos, text.find("FEATURES:"));
    EXPECT_NE(std::string::npos, text.find("dwMemoryLoad: "));
    const char* labels[] = {"Total physical memory: ", "Total available physical memory: ",
                            "Total pages committed to memory: ", "Total virtual memory: ",
                            "Total available virtual memory: "};
    for (const char* label : labels) {
        size_t at = text.find(label);
        ASSERT_NE(std::string::npos, at) << label;
        long long value = std::atoll(text.c_str() + at + std::strlen(label));
        EXPECT_GT(value, 0) << label; // sizes beyond 2 GB must not wrap negative
    }
    EXPECT_TRUE(IsDirectX7Available());
}

TEST(UserFolders, DocumentsFolderAndPathsInThisPlatformsForm)
{
    bbtest::TempHome home;
    EXPECT_EQ(home.DataHome(), GetWindowsFolderPath(CSIDL_PERSONAL));
    EXPECT_EQ(home.ConfigHome(), GetWindowsFolderPath(CSIDL_APPDATA));
    EXPECT_THROW(GetWindowsFolderPath(0x26), Exception);

    SetDocumentsFolderPath("");
    EXPECT_EQ(home.DataHome() + "/", GetDocumentsFolderPath());
    SetDocumentsFolderPath(home.DataHome() + "\\bumperlux Documents");
    EXPECT_EQ(home.DataHome() + "/bumperlux Documents/", GetDocumentsFolderPath());
    EXPECT_EQ(home.DataHome() + "/bumperlux Documents/shot.bmp", GetDocumentsFilePath("shot.bmp"));
    SetDocumentsFolderPath("");
    EXPECT_EQ("tessarine/bumperlux/", ToNativePath("tessarine\\bumperlux\\"));
}

// The lock lives beside the saves: every start with the same cards folder sees it, whatever
// its runtime folder; one that cannot be taken is reported, never taken for "alone".
TEST(SingleInstance, TheLockBesideTheSavesIsSeenWhateverTheRuntimeFolder)
{
    bbtest::TempHome home;
    const uint32_t code = 'B' | ('L' << 8) | ('U' << 16) | ('X' << 24);
    const std::string cards = home.DataHome() + "/bumperlux Documents/Player Cards/";
    std::string reason;
    EXPECT_EQ(SINGLE_INSTANCE_ALONE, TakeSingleInstanceLock(code, cards, reason));
    EXPECT_TRUE(std::filesystem::exists(cards + "BLUX.lock"));
    // Our own lock is no other instance.
    EXPECT_EQ(SINGLE_INSTANCE_ALONE, TakeSingleInstanceLock(code, cards, reason));
    EXPECT_TRUE(IsOnlyInstance(code, cards));

    // Another process's lock, seen with any runtime folder and with none.
    const uint32_t test = 'T' | ('E' << 8) | ('S' << 16) | ('T' << 24);
    std::filesystem::create_directories(home.RuntimeDir());
    int other = open((cards + "TEST.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(0, flock(other, LOCK_EX | LOCK_NB));
    EXPECT_EQ(SINGLE_INSTANCE_OTHER_RUNNING, TakeSingleInstanceLock(test, cards, reason));
    EXPECT_FALSE(IsOnlyInstance(test, cards));
    const std::string otherRuntime = home.Path() + "/run2";
    std::filesystem::create_directories(otherRuntime);
    setenv("XDG_RUNTIME_DIR", otherRuntime.c_str(), 1);
    EXPECT_EQ(SINGLE_INSTANCE_OTHER_RUNNING, TakeSingleInstanceLock(test, cards, reason));
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SINGLE_INSTANCE_OTHER_RUNNING, TakeSingleInstanceLock(test, cards, reason));
    EXPECT_TRUE(std::filesystem::is_empty(otherRuntime));
    EXPECT_TRUE(std::filesystem::is_empty(home.RuntimeDir()));
    close(other);
    EXPECT_EQ(SINGLE_INSTANCE_ALONE, TakeSingleInstanceLock(test, cards, reason));

    // A saves folder that cannot be made: reported with the reason, not taken for alone.
    bbtest::WriteFile(home.Path() + "/file", "x");
    {
        bbtest::OutputCapture err(2);
        EXPECT_EQ(SINGLE_INSTANCE_UNAVAILABLE,
                  TakeSingleInstanceLock(test, home.Path() + "/file/Player Cards/", reason));
        EXPECT_EQ(0u, reason.find("the single-instance lock cannot be taken: ")) << reason;
        EXPECT_NE(std::string::npos, err.Text().find("; this copy of the game plays without "
                                                     "saving.\n"))
            << err.Text();
    }
    EXPECT_FALSE(IsOnlyInstance(test, home.Path() + "/file/Player Cards/"));

    try {
        TakeSingleInstanceLock(0, cards, reason);
        FAIL() << "code 0 must fail";
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (appCode != 0)\nMessage: 0 is not a valid app code.",
                  e.GetMessage());
    }

    // A backslash in the user's own folder is part of its name: the lock stays inside it.
    const std::string odd = home.Path() + "/back\\slash/Player Cards/";
    EXPECT_EQ(SINGLE_INSTANCE_ALONE, TakeSingleInstanceLock(test, odd, reason));
    EXPECT_TRUE(std::filesystem::exists(odd + "TEST.lock"));
    EXPECT_FALSE(std::filesystem::exists(home.Path() + "/back/slash"));
}
