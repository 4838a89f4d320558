// The Open and Save As dialog of a settings file: Qt's own dialog (it speaks
// the user's language through Qt's translations), filter "ﾃﾞｰﾀ(*.dat)", suffix
// "dat", starting in the folder last used with "*.dat" in its name field. A
// name with a wildcard, that one included, filters the list instead of being
// taken as a file's name, and the list's columns are as wide as their texts.
// Placed and modal as the other dialogs (PlaceModalDialog).
#pragma once

#include <QFileDialog>

class CSettingsFileDialog : public QFileDialog {
public:
    // Another kind of file (the titles' CSV) takes its own filter and suffix.
    CSettingsFileDialog(QWidget* parent, AcceptMode mode, const char* filter = "ﾃﾞｰﾀ(*.dat)",
                        const char* suffix = "dat");

    void accept() override;

private:
    void FitColumns();
};
