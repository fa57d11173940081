#include "support/ResidentMemory.h"

#include <fstream>

namespace bbtest {

long long StatusKb(const std::string& key, int pid)
{
    std::ifstream status("/proc/" + (pid ? std::to_string(pid) : std::string("self")) + "/status");
    const std::string head = key + ":";
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, head.size(), head) == 0)
            return std::stoll(line.substr(head.size()));
    return -1;
}

bool ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

} // namespace bbtest
