// Preloaded into qelvarctl by tests (LD_PRELOAD): every fsync() first waits
// QELVAR_TEST_FSYNC_DELAY_MS milliseconds, so that a test can send a signal
// while a save has written its temporary file and not yet renamed it.
#include <dlfcn.h>
#include <time.h>

#include <cstdlib>

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const Fsync real = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    if (const char* delay = std::getenv("QELVAR_TEST_FSYNC_DELAY_MS")) {
        const long ms = std::atol(delay);
        timespec left{ms / 1000, (ms % 1000) * 1000000};
        while (::nanosleep(&left, &left) != 0) {
        }
    }
    return real(fd);
}
