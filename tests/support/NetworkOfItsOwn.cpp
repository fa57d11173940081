#include "support/NetworkOfItsOwn.h"

#include "support/RequiredFiles.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace bbtest {

namespace {

// One interface request on the socket handle; "" when it went through, else what failed.
std::string Request(int handle, unsigned long request, ifreq& interface, const char* what)
{
    if (ioctl(handle, request, &interface) == 0)
        return std::string();
    return std::string(what) + " " + interface.ifr_name + ": " + std::strerror(errno);
}

std::string SetAddress(int handle, unsigned long request, const char* name, const std::string& text,
                       const char* what)
{
    ifreq interface {
    };
    std::snprintf(interface.ifr_name, IFNAMSIZ, "%s", name);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (inet_pton(AF_INET, text.c_str(), &address.sin_addr) != 1)
        return "\"" + text + "\" is no IPv4 address";
    std::memcpy(&interface.ifr_addr, &address, sizeof address);
    return Request(handle, request, interface, what);
}

// Brings the namespace's loopback interface up and gives it the addresses, as aliases
// lo:1, lo:2, ... of one address each; "" when all went through, else what failed.
std::string SetUpInterfaces(const std::vector<std::string>& addresses)
{
    const int handle = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (handle < 0)
        return std::string("socket: ") + std::strerror(errno);
    ifreq lo{};
    std::snprintf(lo.ifr_name, IFNAMSIZ, "lo");
    std::string error = Request(handle, SIOCGIFFLAGS, lo, "reading the flags of");
    if (error.empty()) {
        lo.ifr_flags = short(lo.ifr_flags | IFF_UP | IFF_RUNNING);
        error = Request(handle, SIOCSIFFLAGS, lo, "bringing up");
    }
    for (std::size_t i = 0; i < addresses.size() && error.empty(); ++i) {
        const std::string alias = "lo:" + std::to_string(i + 1);
        error =
            SetAddress(handle, SIOCSIFADDR, alias.c_str(), addresses[i], "adding an address to");
        if (error.empty())
            error = SetAddress(handle, SIOCSIFNETMASK, alias.c_str(), "255.255.255.255",
                               "setting the mask of");
    }
    close(handle);
    return error;
}

} // namespace

void RunInNetworkOfItsOwn(const std::vector<std::string>& addresses,
                          const std::function<void()>& body)
{
    std::string error;
    bool refused = false;
    // A namespace belongs to the thread that makes it: the test's other threads, and the
    // program's other tests, keep the machine's network.
    std::thread thread([&] {
        if (unshare(CLONE_NEWNET) != 0) {
            refused = errno == EPERM;
            error = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno) +
                    " (a network namespace of the test's own needs root)";
            return;
        }
        error = SetUpInterfaces(addresses);
        if (error.empty())
            body();
    });
    thread.join();
    if (error.empty())
        return;
    if (!refused || InContinuousIntegration())
        FAIL() << "the test's own network could not be made: " << error;
    else
        GTEST_SKIP() << "the test's own network could not be made: " << error;
}

} // namespace bbtest
