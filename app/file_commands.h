// The File menu's commands and the exit prompt. Questions and warnings go
// through the message sink; the file dialogs through CFileDialogs, which
// tests replace.
#pragma once

#include <optional>
#include <string>

class CCommLog;
class CProfileProblems;
class QFileDialog;
class QWidget;

class CFileDialogs {
public:
    virtual ~CFileDialogs() = default;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> OpenPath(QWidget* parent) = 0;
    virtual std::optional<std::string> SavePath(QWidget* parent) = 0;
    // The same for the channel titles' CSV.
    virtual std::optional<std::string> OpenTitlesPath(QWidget* parent) = 0;
    virtual std::optional<std::string> SaveTitlesPath(QWidget* parent) = 0;
};

// CSettingsFileDialog for both, Save As with its overwrite prompt; the folder
// chosen is kept for the next.
// A folder the profile cannot keep is noted to problems, when given.
class CQtFileDialogs : public CFileDialogs {
public:
    explicit CQtFileDialogs(CProfileProblems* problems = nullptr) : m_pProblems(problems) {}
    std::optional<std::string> OpenPath(QWidget* parent) override;
    std::optional<std::string> SavePath(QWidget* parent) override;
    std::optional<std::string> OpenTitlesPath(QWidget* parent) override;
    std::optional<std::string> SaveTitlesPath(QWidget* parent) override;

private:
    std::optional<std::string> Run(QFileDialog& dialog);

    CProfileProblems* m_pProblems;
};

inline constexpr char kFileNameText[] =
    "File Name                                              ";  // "File Name" and 46 blanks

// Each does nothing while a send or read cycle runs. New returns true when the
// model was reset (the caller shows kFileNameText). A warning the reader or
// the writer shows is noted in the log too, where it stays after the box.
bool OnFileNew();
void OnFileOpen(CFileDialogs& dialogs, QWidget* parent, CCommLog& log);
// Loads path as Open does once its dialog has returned: the name becomes the
// current file's unless the reader refuses the file's content, since the data
// in memory then still belongs to the previous file.
void OpenSettingsFile(const std::string& path, CCommLog& log);
void OnFileSave(CCommLog& log);
void OnFileSaveAs(CFileDialogs& dialogs, QWidget* parent, CCommLog& log);

// Exit and closing the main window: true when the program is to end; with
// unsaved changes and No, saves instead (Save As without a file name) and stays.
bool ExitPrompt(CFileDialogs& dialogs, QWidget* parent, CCommLog& log);
