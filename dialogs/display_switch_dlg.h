// The five display switch editors (input title, output title, title position,
// input calendar, output calendar): one switch per channel, painted as a grid
// and sent whole in one line by Set. One class serves all five; a table in
// the .cpp says how they differ on screen.
#pragma once

#include "dialog_kit/table_editor_dlg.h"
#include "editors/display_send.h"

class CDisplaySwitchDlg : public CTableEditorDlg {
public:
    explicit CDisplaySwitchDlg(DisplaySwitch which, QWidget* parent = nullptr);

    // The lists of this member: its Display (or Position) and Same lists.
    QComboBox* ValueCombo() const;
    QComboBox* SameCombo() const;

protected:
    int GridEntryCount() const override;
    std::string GridCellText(int i) const override;
    int GridColumnWidth() const override;
    CGridLists GridLists() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int& Selection() const;
    int* CurrentEntry() const;
    void OnSelchangeChannel(int index);
    void OnSelchangeDisplay(int index);  // Position on the title position dialog
    void OnSelchangeSameDisplay(int index);
    void OnSet();
    void ShowCurrentEntry();
    void KeepTypingOutOfTheChannel();
    void GoToTypedChannel();

    DisplaySwitch m_which;
    const CDisplaySwitchSpec& m_member;
};

// "in01=ON", "out05=OFF", "in04=Bot.": entry i of a display switch grid.
std::string DisplayCellText(const CDisplaySwitchSpec& member, int i);
