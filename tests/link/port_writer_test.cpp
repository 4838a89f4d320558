// The writer over a transport that takes bytes as the test says: what waits,
// what is finished later, what a time-out or a broken port throws away.
#include "link/port_writer.h"

#include <gtest/gtest.h>

#include "tests/link/fake_transport.h"

namespace {

using namespace std::chrono_literals;
using Clock = CPortWriter::Clock;

class PortWriterTest : public ::testing::Test {
protected:
    CFakeTransport port;
    CPortWriter writer;
    const Clock::time_point t0 = Clock::now();
};

TEST_F(PortWriterTest, WhatThePortDoesNotTakeAtOnceIsFinishedByFlush) {
    port.nTake = 4;
    port.writeStatus = IoStatus::kDone;
    writer.Write(&port, "TSDY\r\n", t0);
    EXPECT_EQ(port.written, "TSDY\r\n");  // taken in pieces until done
    port.writeStatus = IoStatus::kNothing;
    writer.Write(&port, "RTSD\r\n", t0);
    EXPECT_TRUE(writer.HasPending());
    EXPECT_EQ(writer.PendingBytes(), 6u);
    port.writeStatus = IoStatus::kDone;
    writer.Flush(port);
    EXPECT_EQ(port.written, "TSDY\r\nRTSD\r\n");
    EXPECT_FALSE(writer.HasPending());
}

TEST_F(PortWriterTest, WithoutAnOpenPortNothingIsKept) {
    writer.Write(nullptr, "TSDY\r\n", t0);
    port.bOpen = false;
    writer.Write(&port, "TSDY\r\n", t0);
    EXPECT_EQ(writer.PendingBytes(), 0u);
    EXPECT_EQ(writer.MsUntilTimeout(port, t0), -1);
    EXPECT_EQ(port.written, "");
}

TEST_F(PortWriterTest, ABrokenOrHungUpPortDropsTheLineSilently) {
    for (IoStatus broken : {IoStatus::kFailed, IoStatus::kHungUp}) {
        port.writeStatus = broken;
        writer.Write(&port, "TSDY\r\n", t0);
        EXPECT_EQ(writer.PendingBytes(), 0u);
    }
    EXPECT_EQ(port.written, "");
}

TEST_F(PortWriterTest, ALineCountsAsOutOnlyOnceTheDriverHasSentIt) {
    writer.Write(&port, "TSDY\r\n", t0);
    EXPECT_EQ(writer.MsUntilTimeout(port, t0 + 400ms), 600);  // taken, still in the driver
    port.nQueued = 0;
    EXPECT_EQ(writer.MsUntilTimeout(port, t0 + 400ms), -1);
    writer.DiscardTimedOut(port, t0 + 5s);
    EXPECT_TRUE(port.discarded.empty());
}

TEST_F(PortWriterTest, AWriteStalledForASecondIsDiscardedWithEverythingAfterIt) {
    port.nTake = 3;
    writer.Write(&port, "TSDY\r\n", t0);
    port.writeStatus = IoStatus::kNothing;
    writer.Write(&port, "TSDN\r\n", t0 + 500ms);
    writer.DiscardTimedOut(port, t0 + 999ms);
    EXPECT_TRUE(port.discarded.empty());
    EXPECT_EQ(writer.MsUntilTimeout(port, t0 + 999ms), 1);
    writer.DiscardTimedOut(port, t0 + 1000ms);
    EXPECT_EQ(port.discarded, (std::vector<Queue>{Queue::kOutput}));
    EXPECT_EQ(writer.PendingBytes(), 0u);
    EXPECT_EQ(writer.MsUntilTimeout(port, t0 + 1000ms), -1);
    // The writer goes on afresh.
    port.writeStatus = IoStatus::kDone;
    port.written.clear();
    writer.Write(&port, "RTSD\r\n", t0 + 2s);
    EXPECT_EQ(port.written, "RTSD\r\n");
}

}  // namespace
