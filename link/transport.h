// The connection to the switcher as the link uses it: a descriptor to poll,
// reads and writes that never block, the line settings. A local serial device
// is one kind (CTtyTransport); a serial device server on the network is the
// other (CNetTransport).
//
// Threads: the first Open, its set-up steps and the last Close run on the
// link's owner while no I/O thread runs. While the I/O thread runs it owns the
// transport: it reads, and closes and reopens the port when it is lost, having
// first detached it from the port writer. Write, HoldsOutput, FlushHeld,
// OutputQueued and Discard(kOutput) run under the port writer's lock on either
// thread, and only while the port is attached there, so a transport keeps what
// Read touches apart from what they touch.
#pragma once

#include <poll.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/link_failure.h"

enum class Parity { kNone, kEven, kOdd };

struct CLineSettings {
    int nBaud = 9600;
    int nDataBits = 8;
    Parity parity = Parity::kEven;
    int nStopBits = 1;
    bool bRtsCts = true;   // hardware flow control
    bool bXonXoff = true;  // software flow control both ways, XON 0x11, XOFF 0x13
    bool operator==(const CLineSettings&) const = default;
};

// 9600 baud, 8 data bits, even parity, 1 stop bit, RTS/CTS and XON/XOFF.
inline constexpr CLineSettings kSwitcherLine{};

enum class IoStatus {
    kDone,     // nBytes (at least one) were moved
    kNothing,  // nothing to read, or no room to write, just now: poll and come back
    kHungUp,   // the far end has gone (end of file, carrier lost, peer closed)
    kFailed,   // any other error; nError holds its errno
};

struct CIoResult {
    IoStatus status = IoStatus::kNothing;
    size_t nBytes = 0;
    int nError = 0;
};

// A transport that connects over a network has a third outcome, "still
// connecting": the caller waits until nWaitFd polls for nWaitEvents (the
// host's name looked up: readable; the connection made or refused:
// writable), then FinishOpen tells how it went, perhaps still connecting.
struct COpenResult {
    bool bOpen = false;
    CLinkFailure failure;  // why not: ENOENT on "/dev/ttyS0"
    bool bConnecting = false;
    int nWaitFd = -1;  // -1: look again now and then
    short nWaitEvents = 0;
    bool bLookingUp = false;  // waiting for the name service, not yet for the server
};

enum class Queue { kInput, kOutput, kBoth };

class ITransport {
public:
    virtual ~ITransport() = default;

    // What the transport reaches, for messages: "COM1 /dev/ttyUSB0".
    virtual std::string Description() const = 0;

    virtual COpenResult Open() = 0;
    // Gives the device up for other programs. Harmless when not open.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Readable when Read has something to report (bytes, a hang-up, an error),
    // writable when Write can take bytes. -1 while not open.
    virtual int PollFd() const = 0;

    // The set-up after Open, one step for each report the user may see. Each is
    // false when it cannot be done, which includes not being open.
    virtual bool SetNonBlocking() = 0;   // Read and Write return at once
    virtual bool SetReadTimeouts() = 0;  // a read hands over what is there, without waiting
    virtual bool ApplyLineSettings(const CLineSettings& line) = 0;
    // What the device reports it uses now; nullopt when it cannot tell.
    virtual std::optional<CLineSettings> ReadLineSettings() const = 0;

    // Drops bytes waiting in the driver in that direction.
    virtual bool Discard(Queue which) = 0;
    // Bytes Write has handed over that have not gone out yet; 0 when unknown.
    virtual size_t OutputQueued() const = 0;

    virtual CIoResult Read(std::span<char> buffer) = 0;
    virtual CIoResult Write(std::string_view bytes) = 0;

    // --- Network transports and a link that recovers ---

    // True for a transport whose Open may take a while (a connection over the
    // network): only the I/O thread opens it, with a time-out.
    virtual bool OpensInBackground() const { return false; }
    // After Open or FinishOpen said "still connecting" and its descriptor polled.
    virtual COpenResult FinishOpen() { return {IsOpen(), {}}; }
    // The device's path, for watching its folder while it is away; empty for
    // a transport that is not a device.
    virtual std::string DevicePath() const { return {}; }
    // Bytes of the transport's own framing still waiting for the line (a
    // Telnet reply, the rest of an escaped chunk): the I/O thread polls for
    // writing and calls FlushHeld while there are any.
    virtual bool HoldsOutput() const { return false; }
    virtual void FlushHeld() {}
    // The modem lines as TIOCMGET reports them (TIOCM_CTS, ...); nullopt for
    // a device without them.
    virtual std::optional<int> ModemLines() const { return std::nullopt; }
    // What a read of nothing at the far end's going means.
    virtual CLinkFailure HangUp() const { return CLinkFailure::Of(CLinkFailure::Kind::kHungUp); }
};
