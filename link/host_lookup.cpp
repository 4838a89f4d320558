#include "link/host_lookup.h"

#include <netdb.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

CLookupAnswer Lookup(const std::string& host, int nPort, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(nPort);
    CLookupAnswer answer;
    if (int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        answer.strError = ::gai_strerror(rc);
        return answer;
    }
    for (addrinfo* a = found; a; a = a->ai_next) {
        CHostAddress address;
        std::memcpy(&address.address, a->ai_addr, a->ai_addrlen);
        address.nSize = a->ai_addrlen;
        answer.addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    if (answer.addresses.empty()) answer.strError = "no address";
    return answer;
}

}  // namespace

CLookupAnswer ResolveHost(const std::string& host, int nPort) {
    return Lookup(host, nPort, 0);
}

std::optional<CLookupAnswer> NumericHost(const std::string& host, int nPort) {
    CLookupAnswer answer = Lookup(host, nPort, AI_NUMERICHOST);
    if (answer.addresses.empty()) return std::nullopt;
    return answer;
}

// Owned by the lookup and by its thread together: whichever lets go last frees it.
struct CHostLookup::CShared {
    CShared() : nFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~CShared() {
        if (nFd >= 0) ::close(nFd);
    }
    void Answer(CLookupAnswer found) {
        {
            std::lock_guard lock(mutex);
            answer = std::move(found);
            bDone = true;
        }
        if (nFd >= 0) ::eventfd_write(nFd, 1);
    }

    const int nFd;
    std::mutex mutex;
    bool bDone = false;
    CLookupAnswer answer;
};

CHostLookup::CHostLookup(std::string host, int nPort, const HostResolver& resolver)
    : m_pShared(std::make_shared<CShared>()) {
    HostResolver call = resolver ? resolver : HostResolver(ResolveHost);
    try {
        std::thread([shared = m_pShared, host = std::move(host), nPort, call = std::move(call)] {
            shared->Answer(call(host, nPort));
        }).detach();
    } catch (const std::system_error& e) {
        CLookupAnswer failed;
        failed.strError = std::string("cannot look the name up: ") + e.what();
        m_pShared->Answer(std::move(failed));
    }
}

CHostLookup::~CHostLookup() = default;

int CHostLookup::Fd() const {
    return m_pShared->nFd;
}

bool CHostLookup::Done() const {
    std::lock_guard lock(m_pShared->mutex);
    return m_pShared->bDone;
}

CLookupAnswer CHostLookup::Take() {
    std::lock_guard lock(m_pShared->mutex);
    return std::move(m_pShared->answer);
}
