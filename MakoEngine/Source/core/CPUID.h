#pragma once
// Identifies the processor with the x86 CPUID instruction and writes a readable report of
// it (vendor, family and model, name, caches, features) into a text stream; the memory
// report of the log writes it at start-up. On a processor without CPUID (or a build for
// another architecture) the object says so and the report has one line.
#include <cstdint>
#include <functional>
#include <ostream>

struct CpuidRegisters
{
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// Executes one CPUID leaf (sub-leaf 0) into out; false when the instruction is not
// available.
using CpuidQuery = std::function<bool(uint32_t leaf, CpuidRegisters& out)>;

// The real instruction on x86; answers false elsewhere.
bool ExecuteCpuid(uint32_t leaf, CpuidRegisters& out);

class CPUID
{
public:
    // Vendor ids, from the vendor text of leaf 0 (compared exactly).
    enum Vendor : uint8_t {
        VENDOR_UNKNOWN = 0,
        VENDOR_INTEL = 1,
        VENDOR_AMD = 2,
        VENDOR_UMC = 3,
        VENDOR_CYRIX = 4,
        VENDOR_NEXGEN = 5,
        VENDOR_CENTAUR = 6,
        VENDOR_RISE = 7,
        VENDOR_SIS = 8,
        VENDOR_TRANSMETA = 9,
        VENDOR_NSC = 10,
    };

    // Queries this processor.
    CPUID();
    // Queries through query instead of the instruction (for other sources of the leaves).
    explicit CPUID(const CpuidQuery& query);

    bool IsSupported() const { return m_Supported; }
    uint32_t GetMaxLevel() const { return m_MaxLevel; }
    uint32_t GetMaxExtendedLevel() const { return m_MaxExtendedLevel; }
    const char* GetVendorText() const MAKO_LIFETIMEBOUND { return m_VendorText; }
    uint8_t GetVendorId() const { return m_VendorId; }
    const char* GetProcessorName() const MAKO_LIFETIMEBOUND { return m_ProcessorName; }
    uint8_t GetFamily() const { return m_Family; }
    uint8_t GetModel() const { return m_Model; }
    uint8_t GetStepping() const { return m_Stepping; }
    uint32_t GetFeatureEdx() const { return m_FeatureEdx; }
    uint32_t GetFeatureEcx() const { return m_FeatureEcx; }
    uint32_t GetExtendedFeatureEdx() const { return m_ExtendedFeatureEdx; }

    // Writes the report; the stream's number format is restored afterwards.
    friend std::ostream& operator<<(std::ostream& out, const CPUID& cpu);

private:
    void Query(const CpuidQuery& query);
    void QueryStandardLeaves(const CpuidQuery& query);
    void QueryExtendedLeaves(const CpuidQuery& query);
    void WriteCacheReport(std::ostream& out) const;
    void WriteFeatureReport(std::ostream& out) const;

    bool m_Supported = false;
    uint32_t m_MaxLevel = 0;
    char m_VendorText[13] = {};
    uint32_t m_FeatureEcx = 0;
    uint32_t m_FeatureEdx = 0;
    uint32_t m_ExtendedFeatureEdx = 0;
    uint8_t m_VendorId = 0;
    uint8_t m_Stepping = 0;
    uint8_t m_Model = 0;
    uint8_t m_Type = 0;
    uint8_t m_Family = 0;
    uint8_t m_BrandId = 0;
    uint8_t m_CacheLineSize = 0;
    uint8_t m_LogicalCount = 0;
    uint8_t m_ApicId = 0;
    uint8_t m_ExtendedModel = 0;
    uint8_t m_ExtendedFamily = 0;
    uint8_t m_ConfigDescriptors[128] = {};
    uint32_t m_MaxExtendedLevel = 0;
    char m_ProcessorName[49] = {};
    uint8_t m_L1Descriptors[16] = {};  // bytes of EAX, EBX, ECX, EDX of leaf 0x80000005
    uint32_t m_L2Descriptors[12] = {}; // fields of EAX, EBX, ECX of leaf 0x80000006
};
