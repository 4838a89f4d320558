#include "cli/temp_file_cleanup.h"

#include <unistd.h>

#include <atomic>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The one thing the handler may touch: the path of the file in flight, or null.
std::atomic<const char*> s_pInFlight{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

extern "C" void RemoveTempFileAndEnd(int signal) {
    if (const char* path = s_pInFlight.exchange(nullptr)) ::unlink(path);
    // SA_RESETHAND has put the default action back and SA_NODEFER left the
    // signal unblocked: raising it again ends the process as it would have.
    ::raise(signal);
}

}  // namespace

CTempFileCleanup::CTempFileCleanup() {
    struct sigaction action {};
    action.sa_handler = RemoveTempFileAndEnd;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &m_old[i]);
        if (m_old[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
    }
}

CTempFileCleanup::~CTempFileCleanup() {
    s_pInFlight.store(nullptr);
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &m_old[i], nullptr);
}

void CTempFileCleanup::TempFileBegins(const std::string& path) {
    s_pInFlight.store(nullptr);
    m_strPath = path;
    s_pInFlight.store(m_strPath.c_str());
}

void CTempFileCleanup::TempFileEnds() {
    // The string stays as it is: a handler on another thread may still hold it.
    s_pInFlight.store(nullptr);
}
