// Where a dialog opens and what it blocks. Every dialog is modal to its own
// window hierarchy only (the main window and the dialogs above it), so the
// communication log, which hangs on none, stays usable meanwhile. A dialog of
// the main window opens just below it, where the status bar with the link and
// the clock stays in view; any other is centred on the window it came from.
#pragma once

#include <QPoint>

class QDialog;
class QWidget;

void PlaceModalDialog(QDialog& dialog);
// The point just below the window, frame included.
QPoint BelowWindow(const QWidget& window);
