// Looks a server's host name up on a thread of its own, so that the I/O
// thread never waits on the name service: it polls Fd() with its other
// descriptors and can stop at any moment. A lookup that is given up (its
// CHostLookup destroyed while it runs) finishes on its own and frees what it
// used; the thread keeps its own copy of the name and of the resolver.
#pragma once

#include <sys/socket.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct CHostAddress {
    sockaddr_storage address{};
    socklen_t nSize = 0;
};

// The addresses in the order to try them, or why there are none.
struct CLookupAnswer {
    std::vector<CHostAddress> addresses;
    std::string strError;
};

// The name service's call: a stream socket's addresses for host and port.
// Tests replace it with one that answers late or never.
using HostResolver = std::function<CLookupAnswer(const std::string& host, int nPort)>;

// getaddrinfo.
CLookupAnswer ResolveHost(const std::string& host, int nPort);

// host when it is a numeric address, which needs no name service; nullopt
// for a name.
std::optional<CLookupAnswer> NumericHost(const std::string& host, int nPort);

class CHostLookup {
public:
    // Starts the lookup. When no thread can be started it is answered at
    // once, with the reason.
    CHostLookup(std::string host, int nPort, const HostResolver& resolver);
    ~CHostLookup();
    CHostLookup(const CHostLookup&) = delete;
    CHostLookup& operator=(const CHostLookup&) = delete;

    // Readable once the answer is there; -1 when no event could be made
    // (then look at Done() now and then).
    int Fd() const;
    bool Done() const;
    // The answer, once Done().
    CLookupAnswer Take();

private:
    struct CShared;
    std::shared_ptr<CShared> m_pShared;
};
