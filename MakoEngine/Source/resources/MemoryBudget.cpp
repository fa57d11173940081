#include "resources/MemoryBudget.h"

#include "core/Log.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cmath>

namespace {

long long gLimit = MemoryBudget::kDefaultMegabytes * MemoryBudget::kMegabyte;
long long gHeld = 0;
long long gPeak = 0;
long long gCharged = 0;
MemoryBudget::Releaser gReleaser;
// Set while the releaser runs: what it frees must not ask it again.
bool gReleasing = false;

double Megabytes(long long bytes)
{
    return static_cast<double>(bytes) / MemoryBudget::kMegabyte;
}

} // namespace

std::string MemoryBudget::Refusal(long long bytes, const std::string& what)
{
    return boost::str(boost::format("the pack needs more than the budget of %1% MB for what the "
                                    "game holds decoded: %2% needs %3$.1f MB") %
                      (gLimit / kMegabyte) % what % Megabytes(bytes));
}

std::string MemoryBudget::TryCharge(long long bytes, const std::string& what, bool makeRoom)
{
    bytes = std::max(bytes, 0LL);
    if (gHeld + bytes > gLimit && makeRoom && gReleaser && !gReleasing) {
        gReleasing = true;
        try {
            gReleaser(gHeld + bytes - gLimit);
        } catch (...) {
            gReleasing = false;
            throw;
        }
        gReleasing = false;
    }
    if (gHeld + bytes > gLimit)
        return Refusal(bytes, what);
    gCharged += bytes;
    return std::string();
}

void MemoryBudget::Charge(long long bytes, const std::string& what)
{
    const std::string refusal = TryCharge(bytes, what);
    if (!refusal.empty())
        MAKO_THROW(BudgetExceeded, refusal);
}

void MemoryBudget::MakeRoom(long long bytes)
{
    // Room, not a charge: what the decodes asked for in all is left as it was.
    const long long charged = gCharged;
    TryCharge(bytes, std::string());
    gCharged = charged;
}

void MemoryBudget::Hold(long long bytes)
{
    gHeld += bytes;
    gPeak = std::max(gPeak, gHeld);
}

long long MemoryBudget::GetHeld()
{
    return gHeld;
}

long long MemoryBudget::GetPeak()
{
    return gPeak;
}

void MemoryBudget::ResetPeak()
{
    gPeak = gHeld;
}

long long MemoryBudget::GetCharged()
{
    return gCharged;
}

long long MemoryBudget::GetLimit()
{
    return gLimit;
}

void MemoryBudget::SetLimit(long long bytes)
{
    gLimit = std::max(bytes, kMegabyte);
}

void MemoryBudget::SetLimitFromSetting(const std::string& key, double megabytes, bool given)
{
    if (!given) {
        SetLimit(kDefaultMegabytes * kMegabyte);
        return;
    }
    if (!(megabytes >= 1 && megabytes <= 1048576) || std::floor(megabytes) != megabytes) {
        Log("Warning: the configuration's %s is not a whole number of megabytes from 1 to "
            "1048576; the budget stays %lld MB\n",
            key.c_str(), kDefaultMegabytes);
        SetLimit(kDefaultMegabytes * kMegabyte);
        return;
    }
    SetLimit(static_cast<long long>(megabytes) * kMegabyte);
}

MemoryBudget::Releaser MemoryBudget::SetReleaser(Releaser releaser)
{
    std::swap(releaser, gReleaser);
    return releaser;
}
