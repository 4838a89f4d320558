// The link's state changes and failures as the program says them, in
// Japanese: the communication log's notes and the status-bar pane. The
// system's message for an errno comes from the C library in the user's
// language where it has one.
#pragma once

#include <string>

#include "link/link_failure.h"
#include "link/link_state.h"

// "COM1 /dev/ttyUSB0: 切断 (デバイスが切断されました)、ポート待ち".
std::string LinkChangeWords(const CLinkChange& change);
// "サーバーが閉じました", "/dev/ttyUSB0: 他のプログラムが使用中です".
std::string LinkFailureWords(const CLinkFailure& failure);
// "送信が止まっています: CTS がオフです — ケーブルのハンドシェイク線を確かめてください".
std::string StallWords(int modemLines);
