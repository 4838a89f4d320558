// ファイル > チャンネル名の読み込み… and チャンネル名の書き出し…: the channel titles of
// the settings in memory from and to a spreadsheet's CSV. Each does nothing
// while a send or read cycle runs. Boxes go through the message sink; every
// refused row and what came of a command are noted in the log too.
#pragma once

#include <string>

class CCommLog;
class CFileDialogs;
class QWidget;

void OnImportTitles(CFileDialogs& dialogs, QWidget* parent, CCommLog& log);
void OnExportTitles(CFileDialogs& dialogs, QWidget* parent, CCommLog& log);

// Reads path into g_settings as the import does once its dialog has returned.
// With refused rows, one box lists them and offers to take the good ones;
// nothing changes unless every row is good or the user takes them. A title
// changed marks the settings unsaved. Returns how many titles changed.
int ImportTitlesFile(const std::string& path, CCommLog& log);

inline constexpr char kTakeGoodRows[] = "正しい行だけ読み込む";
inline constexpr char kCancelImport[] = "キャンセル";
// Rows a box lists at most; the log has them all.
inline constexpr int kListedRefusals = 12;
