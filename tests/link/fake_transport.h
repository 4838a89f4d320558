// A transport the test steers: how many bytes each write takes, what the
// driver still holds, and a record of what went out and what was discarded.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "link/transport.h"

class CFakeTransport : public ITransport {
public:
    // What the next writes do: kDone takes up to nTake bytes.
    IoStatus writeStatus = IoStatus::kDone;
    size_t nTake = 1 << 20;
    size_t nQueued = 0;  // bytes taken that have not gone out on the line
    bool bOpen = true;

    std::string written;  // every byte taken
    std::vector<Queue> discarded;
    int nCloses = 0;
    int* pCloses = nullptr;  // counts closes where the test can still see them

    std::string Description() const override { return "fake"; }
    COpenResult Open() override { return {bOpen, bOpen ? "" : "fake: closed"}; }
    void Close() override {
        bOpen = false;
        ++nCloses;
        if (pCloses) ++*pCloses;
    }
    bool IsOpen() const override { return bOpen; }
    int PollFd() const override { return bOpen ? 0 : -1; }
    bool SetNonBlocking() override { return bOpen; }
    bool SetReadTimeouts() override { return bOpen; }
    bool ApplyLineSettings(const CLineSettings&) override { return bOpen; }
    std::optional<CLineSettings> ReadLineSettings() const override { return std::nullopt; }
    bool Discard(Queue which) override {
        discarded.push_back(which);
        if (which != Queue::kInput) nQueued = 0;
        return bOpen;
    }
    size_t OutputQueued() const override { return nQueued; }
    CIoResult Read(std::span<char>) override { return {IoStatus::kNothing}; }
    CIoResult Write(std::string_view bytes) override {
        if (writeStatus != IoStatus::kDone) return {writeStatus};
        size_t n = std::min(nTake, bytes.size());
        if (n == 0) return {IoStatus::kNothing};
        written.append(bytes.substr(0, n));
        nQueued += n;
        return {IoStatus::kDone, n};
    }
};
