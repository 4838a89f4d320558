// Turns a dialog template into Qt widgets, placed by dialog units computed from
// the dialog's font as the Windows dialog manager does: a horizontal unit is
// the average width of the 52 Latin letters / 4, a vertical unit the font
// height / 8. Each control's id becomes its objectName.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

#include "res/dialog_template.h"

struct CDialogUnits {
    int nBaseX = 8;   // average character width, pixels
    int nBaseY = 16;  // font height, pixels

    int X(int dlu) const { return (dlu * nBaseX + 2) / 4; }
    int Y(int dlu) const { return (dlu * nBaseY + 4) / 8; }
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
};

CDialogUnits DialogUnitsFor(const QFont& font);

// The dialog's font: the face the template asks for (substituted by the IPA
// fonts), at its point size.
QFont DialogFont(const CDialogTemplate& dialog);

// Sets the dialog's caption, font and fixed size and creates its controls. OK
// accepts and CLOSE (IDCANCEL) rejects, as dialogs do by default. The dialog
// is placed and made modal as PlaceModalDialog says, and fitted to its
// caption when shown (FitToCaption).
void BuildDialog(QDialog& dialog, const CDialogTemplate& t);

// The control with the id, or nullptr.
template <class W>
W* FindControl(const QWidget& dialog, int id) {
    return dialog.findChild<W*>(QString::number(id));
}
