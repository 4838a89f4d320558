#include "app/link_words.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

namespace {

std::string At(const std::string& where, const std::string& what) {
    return where.empty() ? what : where + ": " + what;
}

}  // namespace

std::string LinkFailureWords(const CLinkFailure& f) {
    using Kind = CLinkFailure::Kind;
    switch (f.kind) {
        case Kind::kNone:
            return {};
        case Kind::kSystem:
            return At(f.strWhere, std::strerror(f.nError));
        case Kind::kDeviceOpen:
            return At(f.strWhere, std::strerror(f.nError)) +
                   (f.nError == EACCES ? " (ユーザーを dialout グループに入れてください)" : "");
        case Kind::kHungUp:
            return "デバイスが切断されました";
        case Kind::kServerClosed:
            return "サーバーが閉じました";
        case Kind::kInUse:
            return At(f.strWhere, "他のプログラムが使用中です");
        case Kind::kNoAnswer:
            return At(f.strWhere, std::to_string(f.nSeconds) + " 秒以内に応答がありません");
        case Kind::kNoLookupAnswer:
            return At(f.strWhere,
                      std::to_string(f.nSeconds) + " 秒以内にネームサービスから応答がありません");
        case Kind::kNotSerial:
            return At(f.strWhere, "シリアルポートとして設定できません");
        case Kind::kNoAddress:
            return At(f.strWhere, "接続先のアドレスがありません");
        case Kind::kResolver:
            return At(f.strWhere, f.strText);
        case Kind::kBadName:
            return At(f.strWhere, "ポートの名前として使えません");
    }
    return {};
}

std::string StallWords(int modemLines) {
    if (modemLines < 0) return "送信が止まっています";
    if (!(modemLines & TIOCM_CTS)) {
        return "送信が止まっています: CTS がオフです \u2014 ケーブルのハンドシェイク線を確かめて"
               "ください";
    }
    return "送信が止まっています (CTS はオン)";
}

std::string LinkChangeWords(const CLinkChange& change) {
    using What = CLinkChange::What;
    const std::string away = change.bNetwork ? "再接続中" : "ポート待ち";
    const std::string why = LinkFailureWords(change.failure);
    const std::string because = why.empty() ? "" : " (" + why + ")";
    std::string text;
    switch (change.what) {
        case What::kConnected:
            text = "接続済み";
            break;
        case What::kConnecting:
            text = "接続中";
            break;
        case What::kNotOpened:
        case What::kRetrying:
            text = away + because;
            break;
        case What::kLost:
            text = "切断" + because + "、" + away;
            break;
        case What::kStalled:
            text = StallWords(change.nModemLines);
            break;
        case What::kResumed:
            text = "送信を再開しました";
            break;
    }
    return change.strPort + ": " + text;
}
