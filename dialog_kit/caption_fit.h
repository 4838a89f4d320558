// Captions the window manager can show whole. A dialog grows to the width its
// caption needs, up to the screen's; an editor's caption that is longer still
// loses the middle of its file path, never the end, where the file's name is.
#pragma once

class QDialog;
class QString;

// The width a title bar needs for the caption: its text in the application's
// font and the room the window icon and buttons of the usual themes take.
int CaptionWidth(const QString& caption);

// From now on the dialog is fitted to its caption each time it is shown.
void FitToCaption(QDialog& dialog);
