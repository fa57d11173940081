// The engine's tests read the log where the console shows it: on standard output. (The
// game echoes its log there only with its console; tests/core/LogTest and the console's
// end-to-end tests hold it to that.)
#include "core/Log.h"

namespace {

[[maybe_unused]] const bool gEchoed = [] {
    SetLogEcho(true);
    return true;
}();

} // namespace
