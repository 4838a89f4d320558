// The calendar editor: the switcher's date and time, its 30-second adjustment
// and its date display format, each sent by its own Set button. The lists
// hold the PC's time of opening; nothing is kept but the date format and the
// slave address.
#pragma once

#include <QDialog>
#include <ctime>
#include <functional>

#include "editors/calendar_send.h"

class QComboBox;

// The PC's current local time.
std::tm LocalTimeNow();

class CCalendarDlg : public QDialog {
public:
    using Clock = std::function<std::tm()>;
    // The clock is read once, when the dialog opens.
    explicit CCalendarDlg(QWidget* parent = nullptr, const Clock& clock = LocalTimeNow);

    QComboBox* Combo(int id) const;

private:
    void ShowTime(const std::tm& now);
    void InitSlaveAddress();
    void Select(int comboId, int index);
    void OnSet(CalendarItem item, int listId);
    void OnSelchangeDisplay(int index);
    void OnSelchangeSlaveAddress(int index);
};
