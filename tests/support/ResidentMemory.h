#pragma once
// The resident memory of a process as Linux reports it in /proc/<pid>/status, for the tests
// that bound what a file may cost: the figure now (VmRSS), the peak since the start or since
// the peak was last reset (VmHWM).
#include <string>

namespace bbtest {

// A kB figure of the process's status ("VmRSS", "VmHWM"); pid 0 is this process. -1 when
// the process or the figure is not there.
long long StatusKb(const std::string& key, int pid = 0);

// The process's peak resident memory in kB (VmHWM); -1 when unknown.
inline long long PeakResidentKb(int pid = 0)
{
    return StatusKb("VmHWM", pid);
}

// Sets this process's peak resident memory to what is resident now (Linux 4.0 on); false
// where that cannot be done, and the peak then still counts from the start.
bool ResetPeakResident();

} // namespace bbtest
