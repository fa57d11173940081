#pragma once
// A network that a test makes for itself, so that what it checks of addresses other than
// loopback runs the same on every machine, whatever interfaces the machine has, and no
// packet leaves it.
//
//   bbtest::RunInNetworkOfItsOwn({"10.99.0.1"}, [&] {
//       // sockets made here live in the test's network: 127.0.0.1, ::1 and 10.99.0.1
//   });
//
// The body runs on a thread of its own in a network namespace made for it (unshare with
// CLONE_NEWNET, which needs root, as CI runs the tests): its loopback interface is up, with
// 127.0.0.1 and ::1, and each IPv4 address given is added to it as a further address of this
// machine. Everything the body makes of sockets lives there and ends with the body's thread.
// Where the namespace cannot be made the calling test fails, naming why; only where the
// system refuses it for want of privilege, outside continuous integration (CI=true), is the
// test skipped instead, with that reason.
#include <functional>
#include <string>
#include <vector>

namespace bbtest {

void RunInNetworkOfItsOwn(const std::vector<std::string>& addresses,
                          const std::function<void()>& body);

} // namespace bbtest
