// Command ids of the menu and the tool bar, and the standard dialog buttons.
#pragma once

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int ID_COMM_SETTINGS = 32773;
inline constexpr int ID_MODEL_SELECT = 32775;
inline constexpr int ID_AUTO_SEQUENCE = 32776;
inline constexpr int ID_TITLE = 32777;
inline constexpr int ID_TITLE_POSITION = 32778;
inline constexpr int ID_INPUT_TITLE = 32779;
inline constexpr int ID_OUTPUT_TITLE = 32780;
inline constexpr int ID_INPUT_CALENDAR = 32781;
inline constexpr int ID_OUTPUT_CALENDAR = 32782;
inline constexpr int ID_CALENDAR = 32783;
inline constexpr int ID_PATTERN_OUTPUT = 32784;
inline constexpr int ID_SLAVE_ADDRESS = 32786;
inline constexpr int ID_TOOLBAR_SPARE1 = 32787;  // tool-bar buttons without a command
inline constexpr int ID_TOOLBAR_SPARE2 = 32788;
inline constexpr int ID_FILE_NEW_SETTINGS = 32790;
inline constexpr int ID_FILE_OPEN_SETTINGS = 32791;
inline constexpr int ID_FILE_SAVE_SETTINGS = 32792;
inline constexpr int ID_FILE_SAVE_SETTINGS_AS = 32793;
inline constexpr int ID_ALL_ITEMS = 32794;
inline constexpr int ID_SETTINGS_READ = 32795;
inline constexpr int ID_COMM_LOG = 32796;          // the communication log window
inline constexpr int ID_SETTINGS_COMPARE = 32797;  // compare the settings with the switcher's
inline constexpr int ID_REPLY_PACED = 32798;       // checkable: cycles wait for each reply
inline constexpr int ID_NETWORK_CONTROL = 32799;   // checkable: the switcher served on the network
inline constexpr int ID_ROUTING_VIEW = 32804;      // the routing window (ルーティング一覧)
inline constexpr int ID_FILE_IMPORT_TITLES = 32805;  // the channel titles from a CSV
inline constexpr int ID_FILE_EXPORT_TITLES = 32806;  // the channel titles to a CSV
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

inline constexpr int ID_INDICATOR_KANA = 59142;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int ID_INDICATOR_TIME = 102;

inline constexpr int ID_TIMER_MONITOR = 1;
inline constexpr int ID_TIMER_CLOCK = 4096;
