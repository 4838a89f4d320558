#include "res/main_menu.h"

#include "res/command_ids.h"

const std::vector<CMenuItem>& MainMenu() {
    static const std::vector<CMenuItem> s_menu = {
        {"ファイル",
         0,
         {{"新規作成", ID_FILE_NEW_SETTINGS, {}},
          {"開く", ID_FILE_OPEN_SETTINGS, {}},
          {"上書き保存", ID_FILE_SAVE_SETTINGS, {}},
          {"名前を付けて保存...", ID_FILE_SAVE_SETTINGS_AS, {}},
          {"", 0, {}},
          {"チャンネル名の読み込み…", ID_FILE_IMPORT_TITLES, {}},
          {"チャンネル名の書き出し…", ID_FILE_EXPORT_TITLES, {}},
          {"", 0, {}},
          {"アプリケーションの終了", ID_APP_EXIT, {}}}},
        {"設定",
         0,
         {{"オート・シーケンス", ID_AUTO_SEQUENCE, {}},
          {"タイトル", ID_TITLE, {}},
          {"タイトル表示位置", ID_TITLE_POSITION, {}},
          {"入力タイトル表示", ID_INPUT_TITLE, {}},
          {"出力タイトル表示", ID_OUTPUT_TITLE, {}},
          {"入力カレンダ表示", ID_INPUT_CALENDAR, {}},
          {"出力カレンダ表示", ID_OUTPUT_CALENDAR, {}},
          {"カレンダ", ID_CALENDAR, {}},
          {"出力切換え", ID_PATTERN_OUTPUT, {}},
          {"ルーティング一覧", ID_ROUTING_VIEW, {}},
          {"スレーブ・アドレス", ID_SLAVE_ADDRESS, {}},
          {"", 0, {}},
          {"全項目の設定", ID_ALL_ITEMS, {}},
          {"メンテナンス",
           0,
           {{"設定項目の読み込み", ID_SETTINGS_READ, {}},
            {"設定の照合", ID_SETTINGS_COMPARE, {}}}}}},
        {"通信",
         0,
         {{"通信の設定", ID_COMM_SETTINGS, {}},
          {"通信ログ", ID_COMM_LOG, {}},
          {"", 0, {}},
          {"応答を待って送信", ID_REPLY_PACED, {}, true},
          {"ネットワーク制御", ID_NETWORK_CONTROL, {}, true}}},
        {"モデル", 0, {{"モデルの選択", ID_MODEL_SELECT, {}}}},
        {"ヘルプ", 0, {{"Qelvar のﾊﾞｰｼﾞｮﾝ情報", ID_APP_ABOUT, {}}}},
    };
    return s_menu;
}

const CCommandString* FindCommandString(int nCommand) {
    static const CCommandString s_strings[] = {
        {ID_COMM_SETTINGS, "通信の設定", "通信"},
        {ID_MODEL_SELECT, "モデルの選択", "モデル"},
        {ID_AUTO_SEQUENCE, "オート・シーケンスの設定", "オート・シーケンス"},
        {ID_TITLE, "タイトルの設定", "タイトル"},
        {ID_TITLE_POSITION, "タイトル表示位置の設定", "タイトル表示位置"},
        {ID_INPUT_TITLE, "入力タイトル表示の設定", "入力タイトル表示"},
        {ID_OUTPUT_TITLE, "出力タイトル表示の設定", "出力タイトル表示"},
        {ID_INPUT_CALENDAR, "入力カレンダ表示の設定", "入力カレンダ表示"},
        {ID_OUTPUT_CALENDAR, "出力カレンダ表示の設定", "出力カレンダ表示"},
        {ID_CALENDAR, "カレンダの設定", "カレンダ"},
        {ID_PATTERN_OUTPUT, "出力切換えの設定", "出力切換え"},
        {ID_ROUTING_VIEW, "入力と出力の接続を一覧で表示・変更", "ルーティング一覧"},
        {ID_SLAVE_ADDRESS, "スレーブ・アドレスの設定", "スレーブ・アドレス"},
        {ID_FILE_NEW_SETTINGS, "新規にファイルを作成", "新規ファイル"},
        {ID_FILE_OPEN_SETTINGS, "既存のファイルを開く", "開く"},
        {ID_FILE_SAVE_SETTINGS, "作業中のファイルを上書きして保存", "保存"},
        {ID_FILE_SAVE_SETTINGS_AS, "作業中のファイルを新しい名前で保存", "名前をつけて保存"},
        {ID_FILE_IMPORT_TITLES, "表計算のCSVファイルからチャンネル名を読み込む",
         "チャンネル名の読み込み"},
        {ID_FILE_EXPORT_TITLES, "チャンネル名を表計算用のCSVファイルに書き出す",
         "チャンネル名の書き出し"},
        {ID_ALL_ITEMS, "全項目の設定", "全設定"},
        {ID_SETTINGS_READ, "設定項目の読み込み", "設定項目の読み込み"},
        {ID_SETTINGS_COMPARE, "スイッチャーの設定を読み出してメモリ上の設定と照合", "設定の照合"},
        {ID_REPLY_PACED, "スイッチャーの応答を待って次の行を送信", "応答を待って送信"},
        {ID_NETWORK_CONTROL, "ネットワーク上のパネルや制御システムからスイッチャーを操作",
         "ネットワーク制御"},
        {ID_COMM_LOG, "送受信した行を表示", "通信ログ"},
        {ID_APP_EXIT, "アプリケーションを終了し、ファイルの保存を指示", "終了"},
        {ID_APP_ABOUT, "プログラム情報、バージョン、著作権を表示", "バージョン情報"},
    };
    for (const auto& s : s_strings) {
        if (s.nCommand == nCommand) return &s;
    }
    return nullptr;
}

const std::vector<CToolbarButton>& ToolbarButtons() {
    static const std::vector<CToolbarButton> s_buttons = {
        {ID_PATTERN_OUTPUT, "O.S"}, {ID_AUTO_SEQUENCE, "A.S"},  {ID_SLAVE_ADDRESS, "S.A"},
        {ID_TITLE, "T.S"},          {ID_INPUT_TITLE, "I.T"},    {ID_OUTPUT_TITLE, "O.T"},
        {ID_TITLE_POSITION, "T.P"}, {ID_INPUT_CALENDAR, "I.C"}, {ID_OUTPUT_CALENDAR, "O.C"},
        {ID_CALENDAR, "C.S"},       {ID_TOOLBAR_SPARE1, ""},    {ID_TOOLBAR_SPARE2, ""},
        {ID_ROUTING_VIEW, "R.L"},
    };
    return s_buttons;
}
