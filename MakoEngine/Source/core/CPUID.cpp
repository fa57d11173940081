#include "core/CPUID.h"

#include <cstring>
#include <iomanip>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

bool ExecuteCpuid(uint32_t leaf, CpuidRegisters& out)
{
#if defined(__x86_64__) || defined(__i386__)
    if (__get_cpuid_max(0, nullptr) == 0)
        return false;
    __cpuid(leaf, out.eax, out.ebx, out.ecx, out.edx);
    return true;
#else
    out = CpuidRegisters();
    return false;
#endif
}

namespace {

const uint32_t EXTENDED_BASE = 0x80000000u;

struct VendorEntry
{
    const char* text;
    uint8_t id;
};

const VendorEntry kVendors[] = {
    {"GenuineIntel", 1}, {"AuthenticAMD", 2},  {"UMC UMC UMC ", 3}, {"CyrixInstead", 4},
    {"NexGenDriven", 5}, {"CentaurHauls", 6},  {"RiseRiseRise", 7}, {"SiS SiS SiS ", 8},
    {"GenuineTMx86", 9}, {"Geode by NSC", 10},
};

void StoreRegister(char* to, uint32_t value)
{
    std::memcpy(to, &value, 4); // little-endian byte order, as the processor gives it
}

uint8_t Byte(uint32_t value, int index)
{
    return static_cast<uint8_t>(value >> (8 * index));
}

uint32_t Bits(uint32_t value, int first, int count)
{
    return (value >> first) & ((count >= 32) ? 0xFFFFFFFFu : ((1u << count) - 1));
}

// Label right-aligned in width characters, then the value as a number.
void Line(std::ostream& out, int width, const char* label, unsigned value)
{
    out << std::setw(width) << label << value << '\n';
}

} // namespace

CPUID::CPUID()
{
    Query(ExecuteCpuid);
}

CPUID::CPUID(const CpuidQuery& query)
{
    Query(query);
}

void CPUID::Query(const CpuidQuery& query)
{
    CpuidRegisters r;
    if (!query(0, r))
        return;
    m_MaxLevel = r.eax > 0x500 ? r.eax - 0x500 : r.eax;
    m_Supported = m_MaxLevel != 0;
    if (query(EXTENDED_BASE, r) && r.eax > EXTENDED_BASE)
        m_MaxExtendedLevel = r.eax;
    if (!m_Supported)
        return;
    QueryStandardLeaves(query);
    QueryExtendedLeaves(query);
}

void CPUID::QueryStandardLeaves(const CpuidQuery& query)
{
    CpuidRegisters r;
    if (query(0, r)) {
        StoreRegister(m_VendorText, r.ebx);
        StoreRegister(m_VendorText + 4, r.edx);
        StoreRegister(m_VendorText + 8, r.ecx);
        m_VendorText[12] = '\0';
        for (const VendorEntry& v : kVendors) {
            if (std::strcmp(v.text, m_VendorText) == 0)
                m_VendorId = v.id;
        }
    }
    if (m_MaxLevel >= 1 && query(1, r)) {
        m_Stepping = static_cast<uint8_t>(Bits(r.eax, 0, 4));
        m_Model = static_cast<uint8_t>(Bits(r.eax, 4, 4));
        m_Family = static_cast<uint8_t>(Bits(r.eax, 8, 4));
        m_Type = static_cast<uint8_t>(Bits(r.eax, 12, 2));
        m_ExtendedModel = static_cast<uint8_t>(Bits(r.eax, 16, 4));
        m_ExtendedFamily = static_cast<uint8_t>(Bits(r.eax, 20, 8));
        m_BrandId = Byte(r.ebx, 0);
        m_CacheLineSize = Byte(r.ebx, 1);
        m_LogicalCount = Byte(r.ebx, 2);
        m_ApicId = Byte(r.ebx, 3);
        m_FeatureEcx = r.ecx;
        m_FeatureEdx = r.edx;
    }
    if (m_MaxLevel >= 2) {
        // Leaf 2 tells in its first result how often it must be executed; each execution
        // gives 15 descriptor bytes (the low byte of EAX is the count, not a descriptor).
        size_t filled = 0;
        int executions = 1;
        for (int i = 0; i < executions && filled + 15 <= sizeof m_ConfigDescriptors; ++i) {
            if (!query(2, r))
                break;
            if (i == 0 && Byte(r.eax, 0) > 1)
                executions = Byte(r.eax, 0);
            const uint32_t words[3] = {r.ebx, r.ecx, r.edx};
            for (int b = 1; b < 4; ++b)
                m_ConfigDescriptors[filled++] = Byte(r.eax, b);
            for (uint32_t word : words)
                for (int b = 0; b < 4; ++b)
                    m_ConfigDescriptors[filled++] = Byte(word, b);
        }
    }
}

void CPUID::QueryExtendedLeaves(const CpuidQuery& query)
{
    CpuidRegisters r;
    if (m_MaxExtendedLevel >= EXTENDED_BASE + 1 && query(EXTENDED_BASE + 1, r))
        m_ExtendedFeatureEdx = r.edx;
    for (uint32_t i = 0; i < 3; ++i) {
        if (m_MaxExtendedLevel < EXTENDED_BASE + 2 + i || !query(EXTENDED_BASE + 2 + i, r))
            break;
        char* at = m_ProcessorName + 16 * i;
        StoreRegister(at, r.eax);
        StoreRegister(at + 4, r.ebx);
        StoreRegister(at + 8, r.ecx);
        StoreRegister(at + 12, r.edx);
    }
    m_ProcessorName[48] = '\0';
    if (m_MaxExtendedLevel >= EXTENDED_BASE + 5 && query(EXTENDED_BASE + 5, r)) {
        const uint32_t words[4] = {r.eax, r.ebx, r.ecx, r.edx};
        for (int w = 0; w < 4; ++w)
            for (int b = 0; b < 4; ++b)
                m_L1Descriptors[4 * w + b] = Byte(words[w], b);
    }
    if (m_MaxExtendedLevel >= EXTENDED_BASE + 6 && query(EXTENDED_BASE + 6, r)) {
        const uint32_t tlbs[2] = {r.eax, r.ebx};
        for (int w = 0; w < 2; ++w) {
            m_L2Descriptors[4 * w + 0] = Bits(tlbs[w], 0, 12);
            m_L2Descriptors[4 * w + 1] = Bits(tlbs[w], 12, 4);
            m_L2Descriptors[4 * w + 2] = Bits(tlbs[w], 16, 12);
            m_L2Descriptors[4 * w + 3] = Bits(tlbs[w], 28, 4);
        }
        m_L2Descriptors[8] = Bits(r.ecx, 0, 8);
        m_L2Descriptors[9] = Bits(r.ecx, 8, 4);
        m_L2Descriptors[10] = Bits(r.ecx, 12, 4);
        m_L2Descriptors[11] = Bits(r.ecx, 16, 16);
    }
}

namespace {

const char* const kTlbLabels[4] = {"code TLB entries : ", "code TLB associativity : ",
                                   "data TLB entries : ", "data TLB associativity : "};

void CacheGroup(std::ostream& out, const std::string& heading, const char* const labels[4],
                const unsigned values[4])
{
    out << heading << '\n';
    for (int i = 0; i < 4; ++i)
        Line(out, 45, labels[i], values[i]);
}

void CacheLabels(const char* kind, std::string texts[4], const char* labels[4])
{
    const char* const parts[4] = {" cache line size in bytes : ", " cache lines per tag : ",
                                  " cache associativity : ", " cache size in KBs : "};
    for (int i = 0; i < 4; ++i) {
        texts[i] = std::string(kind) + parts[i];
        labels[i] = texts[i].c_str();
    }
}

} // namespace

void CPUID::WriteCacheReport(std::ostream& out) const
{
    if (m_MaxExtendedLevel >= EXTENDED_BASE + 5) {
        out << "L1 CACHE DESCRIPTORS:\n\n" << std::dec;
        const char* const headings[4] = {
            "4/2 MB L1 TLB configuration descriptor", "4 KB L1 TLB configuration descriptor",
            "data L1 cache configuration descriptor", "code L1 cache configuration descriptor"};
        std::string dataTexts[4], codeTexts[4];
        const char* dataLabels[4];
        const char* codeLabels[4];
        CacheLabels("data L1", dataTexts, dataLabels);
        CacheLabels("code L1", codeTexts, codeLabels);
        const char* const* labels[4] = {kTlbLabels, kTlbLabels, dataLabels, codeLabels};
        for (int group = 0; group < 4; ++group) {
            unsigned values[4];
            for (int i = 0; i < 4; ++i)
                values[i] = m_L1Descriptors[4 * group + i];
            CacheGroup(out, headings[group], labels[group], values);
        }
    }
    if (m_MaxExtendedLevel >= EXTENDED_BASE + 6) {
        out << "L2 CACHE DESCRIPTORS:\n" << std::dec;
        const char* const headings[3] = {"4/2 MB L2 TLB configuration descriptor ",
                                         "4 KB L2 TLB configuration descriptor ",
                                         "unified L2 cache configuration descriptor "};
        std::string unifiedTexts[4];
        const char* unifiedLabels[4];
        CacheLabels("unified L2", unifiedTexts, unifiedLabels);
        const char* const* labels[3] = {kTlbLabels, kTlbLabels, unifiedLabels};
        for (int group = 0; group < 3; ++group) {
            unsigned values[4];
            for (int i = 0; i < 4; ++i)
                values[i] = m_L2Descriptors[4 * group + i];
            CacheGroup(out, headings[group], labels[group], values);
        }
    }
}

namespace {

enum FeatureSource { LEAF1_EDX, LEAF1_ECX, EXTENDED_EDX };

struct Feature
{
    FeatureSource source;
    int bit;
    const char* label;
    uint8_t onlyVendor; // 0: every vendor
};

const Feature kFeatures[] = {
    {LEAF1_EDX, 0, "Floating-point unit on-chip (FPU) :", 0},
    {LEAF1_EDX, 1, "Virtual Mode Extension (VME) :", 0},
    {LEAF1_EDX, 2, "Debugging Extension (DE)  :", 0},
    {LEAF1_EDX, 3, "Page Size Extension (PSE) :", 0},
    {LEAF1_EDX, 4, "Time Stamp Counter (TSC) :", 0},
    {LEAF1_EDX, 5, "Model Specific Registers (MSR) :", 0},
    {LEAF1_EDX, 6, "Physical Address Extension (PAE) :", 0},
    {LEAF1_EDX, 7, "Machine Check Exception (MCE) :", 0},
    {LEAF1_EDX, 8, "CMPXCHG8 Instruction (CX8) :", 0},
    {LEAF1_EDX, 9, "On-chip APIC Hardware (APIC):", 0},
    {LEAF1_EDX, 11, "Fast System Call (SEP) :", 0},
    {LEAF1_EDX, 12, "Memory Type Range Registers (MTRR):", 0},
    {LEAF1_EDX, 13, "Page Global Enable (PGE) :", 0},
    {LEAF1_EDX, 14, "Machine Check Architecture (MCA) :", 0},
    {LEAF1_EDX, 15, "Conditional Move Instruction (CMOV):", 0},
    {LEAF1_EDX, 16, "Page Attribute Table (PAT) :", 0},
    {LEAF1_EDX, 17, "36-bit Page Size Extension (PSE36):", 0},
    {LEAF1_EDX, 18, "96-bit Processor Number (PSN) :", 0},
    {LEAF1_EDX, 19, "CLFLUSH Instruction (CLFL):", 0},
    {LEAF1_EDX, 21, "Debug Trace Store (DTES):", 0},
    {LEAF1_EDX, 22, "ACPI Supported (ACPI):", 0},
    {LEAF1_EDX, 23, "MMX Instructions (MMX) :", 0},
    {LEAF1_EDX, 24, "Fast Save and Restore (FXSR):", 0},
    {LEAF1_EDX, 25, "Streaming SIMD Extensions (SSE) :", 0},
    {LEAF1_EDX, 26, "Streaming SIMD Extensions 2 (SSE2):", 0},
    {LEAF1_EDX, 27, "Self-snoop (SS) :", 0},
    {LEAF1_EDX, 28, "Hyper-Threading Technology (HTT) :", 0},
    {LEAF1_EDX, 29, "Thermal Monitor Supported (TM1) :", 0},
    {LEAF1_EDX, 30, "IA -64 Processor Capable (IA64):", 0},
    {LEAF1_EDX, 31, "Pending Break Event (PBE) :", 0},
    {LEAF1_ECX, 0, "Streaming SIMD Extensions 3 (SSE3) :", 0},
    {LEAF1_ECX, 3, "Monitor (MON) :", 0},
    {LEAF1_ECX, 4, "CPL-qualified Debug Store (DSCPL) :", 0},
    {LEAF1_ECX, 7, "Enhanced SpeedStep Technology (EST) :", 0},
    {LEAF1_ECX, 8, "Thermal Monitor Supported (TM2) :", 0},
    {LEAF1_ECX, 10, "Context ID (CID) :", 0},
    {EXTENDED_EDX, 19, "MultiProcessing Capable (MP) :", 0},
    {EXTENDED_EDX, 20, "NX :", 0},
    {EXTENDED_EDX, 22, "MMX+ Instructions (MMX+) :", CPUID::VENDOR_AMD},
    {EXTENDED_EDX, 24, "MMX+ Instructions (MMX+):", CPUID::VENDOR_CYRIX},
    {EXTENDED_EDX, 29, "x86-64 Long Mode (LM) :", 0},
    {EXTENDED_EDX, 30, "3DNow! Instruction Extensions (3DNow!+) :", 0},
    {EXTENDED_EDX, 31, "3DNow! Instructions (3DNow!) : ", 0},
};

} // namespace

void CPUID::WriteFeatureReport(std::ostream& out) const
{
    out << "FEATURES:\n\n";
    for (const Feature& f : kFeatures) {
        if (f.onlyVendor != 0 && f.onlyVendor != m_VendorId)
            continue;
        uint32_t word = f.source == LEAF1_EDX   ? m_FeatureEdx
                        : f.source == LEAF1_ECX ? m_FeatureEcx
                                                : m_ExtendedFeatureEdx;
        Line(out, 45, f.label, (word >> f.bit) & 1);
    }
}

std::ostream& operator<<(std::ostream& out, const CPUID& cpu)
{
    std::ios_base::fmtflags savedFlags = out.flags();
    out << std::right;
    out << "Processor identification (CPUID)\n";
    out << "--------------------------------\n\n";
    out << std::hex;
    if (!cpu.m_Supported) {
        out << "CPUID is not supported\n";
        out.flags(savedFlags);
        return out;
    }
    Line(out, 30, "Max CPUID Level : ", cpu.m_MaxLevel);
    out << std::setw(30) << "VendorID : " << cpu.m_VendorText << '\n';
    out << std::setw(30) << "Stepping : " << unsigned(cpu.m_Stepping)
        << ", Model : " << unsigned(cpu.m_Model) << ", Family : " << unsigned(cpu.m_Family)
        << ", Type : " << unsigned(cpu.m_Type) << ", Brand-ID : " << unsigned(cpu.m_BrandId)
        << '\n';
    Line(out, 30, "Logical CPU Count : ", cpu.m_LogicalCount);
    if (cpu.m_MaxLevel >= 2) {
        out << std::setw(30) << "Configuration Descriptors : ";
        for (uint8_t descriptor : cpu.m_ConfigDescriptors)
            out << unsigned(descriptor) << ' ';
    }
    out << '\n';
    Line(out, 30, "Max CPUID Extension Level : ", cpu.m_MaxExtendedLevel);
    if (cpu.m_MaxExtendedLevel >= EXTENDED_BASE + 4)
        out << std::setw(30) << "Processor Name : " << cpu.m_ProcessorName << '\n';
    cpu.WriteCacheReport(out);
    cpu.WriteFeatureReport(out);
    out.flags(savedFlags);
    return out;
}
