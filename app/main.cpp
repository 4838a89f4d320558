// qelvar: the PC control program of the switcher.
#include <QApplication>

#include "app/qelvar_app.h"

int main(int argc, char** argv) {
    // Before QApplication, which needs a display.
    if (auto status = AnswerInfoOptions(argc, argv)) return *status;
    QApplication app(argc, argv);
    CQelvarApp qelvar;
    return qelvar.Run(QApplication::arguments());
}
