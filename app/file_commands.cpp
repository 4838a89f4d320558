#include "app/file_commands.h"

#include "app/file_folder.h"
#include "app/profile_problems.h"
#include "app/settings_file_dialog.h"
#include "link/bus_scan.h"
#include "link/comm_log.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "protocol/switcher_model.h"
#include "sink/message_sink.h"

namespace {

// The warning as one note: "Can't file write: /home/op/a.dat: No space left on device".
void Note(CCommLog& log, std::string warning) {
    if (warning.empty()) return;
    for (size_t at; (at = warning.find('\n')) != std::string::npos;) warning.replace(at, 1, ": ");
    log.AddNote(warning);
}

// True when there is nothing to lose, or the user agrees to lose it.
bool MayDiscardChanges(const char* question) {
    return !g_bModified || AskQuestion(question);
}

}  // namespace

std::optional<std::string> CQtFileDialogs::Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    std::string path = dialog.selectedFiles().front().toStdString();
    if (auto fault = RememberFileDialogFolder(path); fault && m_pProblems) {
        m_pProblems->NoteOnce(*fault, "ファイルダイアログのフォルダー");
    }
    return path;
}

std::optional<std::string> CQtFileDialogs::OpenPath(QWidget* parent) {
    CSettingsFileDialog dialog(parent, QFileDialog::AcceptOpen);
    return Run(dialog);
}

std::optional<std::string> CQtFileDialogs::SavePath(QWidget* parent) {
    CSettingsFileDialog dialog(parent, QFileDialog::AcceptSave);
    return Run(dialog);  // asks before overwriting, by default
}

namespace {

const char kTitlesFilter[] = "CSV(*.csv)";

}  // namespace

std::optional<std::string> CQtFileDialogs::OpenTitlesPath(QWidget* parent) {
    CSettingsFileDialog dialog(parent, QFileDialog::AcceptOpen, kTitlesFilter, "csv");
    return Run(dialog);
}

std::optional<std::string> CQtFileDialogs::SaveTitlesPath(QWidget* parent) {
    CSettingsFileDialog dialog(parent, QFileDialog::AcceptSave, kTitlesFilter, "csv");
    return Run(dialog);
}

bool OnFileNew() {
    if (g_nSendStep != 0) return false;
    if (!MayDiscardChanges("データを保存せずに新規作成しますか？")) return false;
    ResetModelDefaults();
    return true;
}

void OnFileOpen(CFileDialogs& dialogs, QWidget* parent, CCommLog& log) {
    if (g_nSendStep != 0) return;
    if (!MayDiscardChanges("データを保存せずに別のファイルを開きますか？")) return;
    auto path = dialogs.OpenPath(parent);
    if (!path) return;
    OpenSettingsFile(*path, log);
}

namespace {

// A file of the other model still sets it; the user hears of it, as qelvarctl
// warns. Against the switcher the last search found where the program talks,
// else against the model in use before.
void WarnOnOtherModel(int nModelBefore, CCommLog& log) {
    const int address = g_bRs485 ? g_nSlaveAddress : -1;
    const auto found = Link().Found().ModelAt(address, CommPortPath(), g_bRs485 != 0);
    std::string text;
    if (found && *found != g_nModel) {
        text =
            ModelMismatchText("The switcher on " + SwitcherWhere(), *found, "the file", g_nModel);
    } else if (!found && g_nModel != nModelBefore) {
        text = ModelMismatchText("The model in use", nModelBefore, "the file", g_nModel);
    } else {
        return;
    }
    text += "; the program now uses " + std::string(ModelName(g_nModel));
    ShowWarning(text);
    Note(log, text);
}

}  // namespace

void OpenSettingsFile(const std::string& path, CCommLog& log) {
    const int nModelBefore = g_nModel;
    const CLoadOutcome loaded = ReadSettingsFile(path);
    Note(log, loaded.strWarning);
    if (loaded.result == LoadResult::kLoaded) WarnOnOtherModel(nModelBefore, log);
    // A file that cannot be opened still gives its name; a refused one does
    // not, or the next Save would write the old data over it.
    if (loaded.result != LoadResult::kRefused) g_strFileName = path;
}

void OnFileSave(CCommLog& log) {
    if (g_nSendStep != 0) return;
    Note(log, SaveSettingsFile(g_strFileName).strWarning);  // without a name: "Can't file open"
}

void OnFileSaveAs(CFileDialogs& dialogs, QWidget* parent, CCommLog& log) {
    if (g_nSendStep != 0) return;
    auto path = dialogs.SavePath(parent);
    if (!path) return;
    g_strFileName = *path;
    Note(log, SaveSettingsFile(*path).strWarning);
}

bool ExitPrompt(CFileDialogs& dialogs, QWidget* parent, CCommLog& log) {
    if (!g_bModified || AskQuestion("データを保存せずに終了しますか？")) return true;
    if (g_strFileName.empty()) {
        OnFileSaveAs(dialogs, parent, log);
    } else {
        OnFileSave(log);
    }
    return false;
}
