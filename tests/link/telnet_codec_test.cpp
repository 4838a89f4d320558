// The Telnet layer of an RFC 2217 connection, byte for byte: the opening, the
// escaping of 0xFF, the server's commands taken out of its data, and replies
// to its offers given once.
#include "link/telnet_codec.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

constexpr int IAC = 255, WILL = 251, WONT = 252, DO = 253, DONT = 254, SB = 250, SE = 240;

TEST(TelnetCodec, TheOpeningOffersBinaryAndTheComPortAndSetsTheLineWithoutWaiting) {
    CTelnetCodec codec;
    codec.Open(kSwitcherLine);
    const std::string expected = Bytes({IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 44}) +
                                 Bytes({IAC, SB, 44, 1, 0, 0, 0x25, 0x80, IAC, SE}) +  // 9600 baud
                                 Bytes({IAC, SB, 44, 2, 8, IAC, SE}) +  // 8 data bits
                                 Bytes({IAC, SB, 44, 3, 3, IAC, SE}) +  // even parity
                                 Bytes({IAC, SB, 44, 4, 1, IAC, SE}) +  // 1 stop bit
                                 Bytes({IAC, SB, 44, 5, 3, IAC, SE});   // hardware flow control
    EXPECT_EQ(codec.Outgoing(), expected);
}

TEST(TelnetCodec, DataIsEscapedOutAndUnescapedInWithTheServersCommandsTakenOut) {
    CTelnetCodec codec;
    codec.Open(kSwitcherLine);
    codec.Outgoing().clear();
    codec.Send(
        "A\xff"
        "B\r\n");
    EXPECT_EQ(codec.Outgoing(),
              "A\xff\xff"
              "B\r\n");
    codec.Outgoing().clear();

    // ser2net's answer to the opening, then a reply with a 0xFF in it, split
    // in the middle of a command and of an escape.
    const std::string fromServer = Bytes({IAC, DO, 0, IAC, WILL, 0, IAC, DO, 44}) +
                                   Bytes({IAC, SB, 44, 101, 0, 0, 0x25, 0x80, IAC, SE}) + "GO" +
                                   Bytes({IAC, IAC}) + "\r" + Bytes({IAC, 241}) + "\n" +
                                   Bytes({IAC, SB, 44, 107, 0x30, IAC, SE});
    std::string data;
    for (size_t cut : {4u, 17u, 23u}) {
        data.clear();
        CTelnetCodec split;
        split.Open(kSwitcherLine);
        EXPECT_TRUE(split.Receive(std::string_view(fromServer).substr(0, cut), data));
        EXPECT_TRUE(split.Receive(std::string_view(fromServer).substr(cut), data));
        EXPECT_EQ(data, "GO\xff\r\n") << cut;
    }
    EXPECT_TRUE(codec.Receive(fromServer, data = {}));
    EXPECT_EQ(codec.Outgoing(), "");  // what it asked for was agreed: nothing to answer
}

// One answer at most to each of the server's offers, so no reply can loop: an
// option agreed is not answered again, one refused is refused each time asked.
TEST(TelnetCodec, EachOfferGetsOneAnswerAtMostAndAnAgreedOneNoneWhenRepeated) {
    CTelnetCodec codec;
    codec.Open(kSwitcherLine);
    codec.Outgoing().clear();
    std::string data;
    const std::string offers =
        Bytes({IAC, WILL, 1, IAC, DO, 24, IAC, WILL, 3});  // ECHO, TTYPE, SGA
    EXPECT_TRUE(codec.Receive(offers, data));
    EXPECT_EQ(codec.Outgoing(), Bytes({IAC, DONT, 1, IAC, WONT, 24, IAC, DO, 3}));
    codec.Outgoing().clear();
    EXPECT_TRUE(codec.Receive(offers, data));
    EXPECT_EQ(codec.Outgoing(), Bytes({IAC, DONT, 1, IAC, WONT, 24}));
    EXPECT_EQ(data, "");
}

// Found by fuzzing: a subnegotiation that a stray command breaks off leaves
// no way to tell what follows from data.
TEST(TelnetCodec, ASubnegotiationBrokenOffByACommandBreaksTheStream) {
    CTelnetCodec codec;
    std::string data;
    EXPECT_FALSE(codec.Receive(Bytes({IAC, SB, 44, 1, IAC, WILL, 3}) + "TSDY\r\n", data));
    EXPECT_TRUE(codec.Broken());
    EXPECT_EQ(data, "");
    EXPECT_EQ(codec.Outgoing(), "");  // nothing answered on a broken stream
}

}  // namespace
