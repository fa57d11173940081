// A library an end-to-end test preloads into the program it starts (LD_PRELOAD), so that the
// test learns the moment a data file starts to run and chooses what happens then, instead
// of looking for it: every data file runs under a script budget whose processor-clock timer
// is armed (timer_settime) once the file's hooks are in place. When BB_BUDGET_GATE holds
// "<out>,<in>" (two descriptors the program inherits), each arming of a timer writes one
// byte to <out> and waits for one byte on <in>:
//   'g'  go on;
//   's'  raise SIGTERM in this thread (its handler runs before the call returns), then go
//        on, the gate open from then on;
//   end of input: go on, the gate open from then on.
// Without the variable the library changes nothing.
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

int gOut = -2; // -2: not read from the environment yet; -1: no gate
int gIn = -1;

void ReadGate()
{
    gOut = -1;
    const char* gate = std::getenv("BB_BUDGET_GATE");
    int out = -1, in = -1;
    if (gate && std::sscanf(gate, "%d,%d", &out, &in) == 2 && out >= 0 && in >= 0) {
        gOut = out;
        gIn = in;
    }
}

void PassGate()
{
    if (gOut == -2)
        ReadGate();
    if (gOut < 0)
        return;
    const char started = 'b';
    ssize_t written;
    do
        written = write(gOut, &started, 1);
    while (written < 0 && errno == EINTR);
    char command = 0;
    ssize_t got;
    do
        got = read(gIn, &command, 1);
    while (got < 0 && errno == EINTR);
    if (written != 1 || got != 1 || command == 's') {
        gOut = -1; // open for good
        if (got == 1 && command == 's')
            raise(SIGTERM);
    }
}

} // namespace

extern "C" int timer_settime(timer_t timer, int flags, const struct itimerspec* value,
                             struct itimerspec* old)
{
    using Real = int (*)(timer_t, int, const struct itimerspec*, struct itimerspec*);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "timer_settime"));
    if (!real) {
        errno = ENOSYS;
        return -1;
    }
    const int result = real(timer, flags, value, old);
    const int saved = errno;
    if (result == 0 && value && (value->it_value.tv_sec != 0 || value->it_value.tv_nsec != 0))
        PassGate();
    errno = saved;
    return result;
}
