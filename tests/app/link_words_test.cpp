// The link's changes as the program says them: in Japanese, in the
// communication log and the status bar.
#include "app/link_words.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace {

using Kind = CLinkFailure::Kind;
using What = CLinkChange::What;

CLinkChange Change(What what, bool network, CLinkFailure failure = {}, int lines = -1) {
    return {what, "COM1 /dev/ttyUSB0", network, std::move(failure), lines};
}

TEST(LinkWordsTest, EveryStateInJapanese) {
    const auto closed = CLinkFailure::Of(Kind::kServerClosed);
    EXPECT_EQ(LinkChangeWords(Change(What::kLost, true, closed)),
              "COM1 /dev/ttyUSB0: 切断 (サーバーが閉じました)、再接続中");
    EXPECT_EQ(LinkChangeWords(Change(What::kLost, false, CLinkFailure::Of(Kind::kHungUp))),
              "COM1 /dev/ttyUSB0: 切断 (デバイスが切断されました)、ポート待ち");
    EXPECT_EQ(LinkChangeWords(Change(What::kConnected, false)), "COM1 /dev/ttyUSB0: 接続済み");
    EXPECT_EQ(LinkChangeWords(Change(What::kConnecting, true)), "COM1 /dev/ttyUSB0: 接続中");
    EXPECT_EQ(
        LinkChangeWords(Change(What::kRetrying, true, CLinkFailure::NoAnswer("tcp://h:1", 3))),
        "COM1 /dev/ttyUSB0: 再接続中 (tcp://h:1: 3 秒以内に応答がありません)");
    EXPECT_EQ(LinkChangeWords(
                  Change(What::kNotOpened, false, CLinkFailure::Of(Kind::kInUse, "/dev/ttyUSB0"))),
              "COM1 /dev/ttyUSB0: ポート待ち (/dev/ttyUSB0: 他のプログラムが使用中です)");
    EXPECT_EQ(LinkChangeWords(Change(What::kNotOpened, false)), "COM1 /dev/ttyUSB0: ポート待ち");
    EXPECT_EQ(LinkChangeWords(Change(What::kStalled, false, {}, 0)),
              "COM1 /dev/ttyUSB0: 送信が止まっています: CTS がオフです \u2014 "
              "ケーブルのハンドシェイク線を確かめてください");
    EXPECT_EQ(LinkChangeWords(Change(What::kStalled, false, {}, TIOCM_CTS)),
              "COM1 /dev/ttyUSB0: 送信が止まっています (CTS はオン)");
    EXPECT_EQ(LinkChangeWords(Change(What::kStalled, false)),
              "COM1 /dev/ttyUSB0: 送信が止まっています");
    EXPECT_EQ(LinkChangeWords(Change(What::kResumed, false)),
              "COM1 /dev/ttyUSB0: 送信を再開しました");
}

TEST(LinkWordsTest, EveryFailureInJapaneseWithTheSystemsMessage) {
    const std::string denied = std::strerror(EACCES);
    EXPECT_EQ(LinkFailureWords(CLinkFailure::DeviceOpen("/dev/ttyS0", EACCES)),
              "/dev/ttyS0: " + denied + " (ユーザーを dialout グループに入れてください)");
    EXPECT_EQ(LinkFailureWords(CLinkFailure::System(EIO)), std::strerror(EIO));
    EXPECT_EQ(LinkFailureWords(CLinkFailure::Of(Kind::kNotSerial, "/dev/null")),
              "/dev/null: シリアルポートとして設定できません");
    EXPECT_EQ(LinkFailureWords(CLinkFailure::Of(Kind::kNoAddress, "tcp://h:1")),
              "tcp://h:1: 接続先のアドレスがありません");
    EXPECT_EQ(LinkFailureWords(CLinkFailure::Resolver("tcp://h:1", "Name or service not known")),
              "tcp://h:1: Name or service not known");
    EXPECT_EQ(LinkFailureWords(CLinkFailure::BadName("x://y", "x://y: not a device")),
              "x://y: ポートの名前として使えません");
    EXPECT_EQ(LinkFailureWords({}), "");
}

}  // namespace
