#include "app/titles_commands.h"

#include <filesystem>

#include "app/file_commands.h"
#include "editors/titles_csv.h"
#include "link/comm_log.h"
#include "model/file_io.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

namespace {

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

void Warn(CCommLog& log, const std::string& text, const std::string& reason) {
    ShowWarning(text + "\n" + reason);
    log.AddNote(text + ": " + reason);
}

// The box's text: how many rows were refused, the first of them, and the
// question when there are good rows to take.
std::string RefusalText(const std::string& path, const CTitlesCsv& csv) {
    const int refused = static_cast<int>(csv.refusals.size());
    std::string text =
        FileName(path) + ": 読み込めない行が " + std::to_string(refused) + " 行あります\n";
    for (int i = 0; i < refused && i < kListedRefusals; ++i) {
        text += "\n" + TitleRefusalLine(csv.refusals[i]);
    }
    if (refused > kListedRefusals) {
        text += "\nほか " + std::to_string(refused - kListedRefusals) + " 行（通信ログにすべて）";
    }
    return text;
}

// Whether the rows read may be taken: all good, or the user takes the good ones.
bool MayTake(const std::string& path, const CTitlesCsv& csv, CCommLog& log) {
    if (csv.AllGood()) return true;
    for (const auto& refusal : csv.refusals) {
        log.AddNote(path + ": " + TitleRefusalLine(refusal));
    }
    const std::string text = RefusalText(path, csv);
    if (!csv.bHeaderRead || csv.rows.empty()) {
        ShowWarning(text);
        return false;
    }
    const std::string question =
        "\n\n正しい " + std::to_string(csv.rows.size()) + " 行だけ読み込みますか？";
    return AskGoOn(text + question, kTakeGoodRows, kCancelImport);
}

}  // namespace

int ImportTitlesFile(const std::string& path, CCommLog& log) {
    const CReadOutcome read = ReadRegularFile(path, kMaxTitlesCsvBytes);
    if (!read.text) {
        Warn(log, "Can't file open", read.strReason);
        return 0;
    }
    const CTitlesCsv csv = ReadTitlesCsv(*read.text, g_settings);
    if (!MayTake(path, csv, log)) return 0;
    const int changed = ApplyTitleRows(csv.rows, g_settings);
    if (changed > 0) g_bModified = 1;
    log.AddNote(path + ": " + std::to_string(changed) + " titles changed");
    return changed;
}

void OnImportTitles(CFileDialogs& dialogs, QWidget* parent, CCommLog& log) {
    if (g_nSendStep != 0) return;
    auto path = dialogs.OpenTitlesPath(parent);
    if (path) ImportTitlesFile(*path, log);
}

void OnExportTitles(CFileDialogs& dialogs, QWidget* parent, CCommLog& log) {
    if (g_nSendStep != 0) return;
    auto path = dialogs.SaveTitlesPath(parent);
    if (!path) return;
    const CWriteOutcome written = WriteFileAtomically(*path, FormatTitlesCsv(g_settings));
    switch (written.result) {
        case WriteResult::kOk:
            return;
        case WriteResult::kOpenFailed:
            Warn(log, "Can't file open", written.strReason);
            return;
        case WriteResult::kWriteFailed:
            break;
    }
    Warn(log, "Can't file write", written.strReason);
}
