// A main window on a pseudo-terminal (or a missing port), with a temporary
// profile, a recorder for the boxes and stub file dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/file_commands.h"
#include "app/main_frame.h"
#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "tests/support/program_state.h"
#include "tests/support/pty_pair.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wire_capture.h"

class CStubFileDialogs : public CFileDialogs {
public:
    std::optional<std::string> OpenPath(QWidget*) override {
        ++nOpenCalls;
        return openResult;
    }
    std::optional<std::string> SavePath(QWidget*) override {
        ++nSaveCalls;
        return saveResult;
    }
    std::optional<std::string> OpenTitlesPath(QWidget*) override { return titlesOpenResult; }
    std::optional<std::string> SaveTitlesPath(QWidget*) override { return titlesSaveResult; }
    std::optional<std::string> openResult;
    std::optional<std::string> saveResult;
    std::optional<std::string> titlesOpenResult;
    std::optional<std::string> titlesSaveResult;
    int nOpenCalls = 0;
    int nSaveCalls = 0;
};

// A user's pick in a list, which is what the dialogs' handlers react to.
void Pick(QComboBox* combo, int index);
// A left click at a point of the widget, as the mouse gives it.
void ClickAt(QWidget* widget, QPoint at);
// A key pressed and released on the widget, as the keyboard gives it.
void PressKey(QWidget* widget, int key);

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the profile: the given lines under [Qelvar-32_Section], COM1 on the pty.
    void WriteProfile(const std::string& section, const std::string& com1 = "");
    void MakeFrame(const CStartOptions& options = {});
    // Runs the event loop until pred holds (at most timeoutMs).
    static bool ProcessUntil(const std::function<bool()>& pred, int timeoutMs = 2000);
    // Acts on the next modal dialog once it is open (from inside its exec()).
    static void WhenModal(std::function<void(QDialog&)> act);
    static void Choose(QDialog& dialog, int comboId, int index);
    static void Click(QDialog& dialog, int buttonId);

    CTempDir dir;
    std::string profile;
    CPtyPair pty;
    CRecordingSink sink;
    CStubFileDialogs* dialogs = nullptr;  // owned by the frame
    std::unique_ptr<CMainFrame> frame;
};
