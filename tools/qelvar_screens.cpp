// qelvar_screens OUTDIR: saves a picture of every dialog template as
// OUTDIR/<id>.png and of the communication log window with a few lines as
// OUTDIR/comm_log.png, so the layouts can be looked at without clicking
// through the program. Each picture carries a caption strip, since a grab
// shows the client area only and the caption is part of what is reviewed.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <chrono>
#include <cstdio>

#include "app/comm_log_window.h"
#include "app/dialog_builder.h"
#include "app/qelvar_app.h"
#include "res/dialog_template.h"

namespace {

// The widget as shown, under a strip with its caption in the application font.
QPixmap WithCaption(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
    const QPixmap body = widget.grab();
    const int strip = QFontMetrics(QApplication::font()).height() + 8;
    QPixmap picture(body.width(), body.height() + strip);
    picture.fill(QColor(0, 0, 128));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.setFont(QApplication::font());
    painter.drawText(QRect(6, 0, body.width() - 6, strip), Qt::AlignVCenter, widget.windowTitle());
    painter.drawPixmap(0, strip, body);
    return picture;
}

bool Save(QWidget& widget, const QString& path) {
    const bool ok = WithCaption(widget).save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

void AddSampleLines(CCommLog& log) {
    using namespace std::chrono;
    const auto start = system_clock::now();
    const std::pair<CommDirection, std::string> lines[] = {
        {CommDirection::kSent, "AST01" + std::string(64, '0').replace(0, 2, "10") + "\r\n"},
        {CommDirection::kReceived, "GO\r\n"},
        {CommDirection::kSent, "TSDY\r\n"},
        {CommDirection::kReceived, "GO\r\n"},
        {CommDirection::kSent, "RTSD\r\n"},
        {CommDirection::kReceived, "TSDY\r\n"},
        {CommDirection::kSent, "OTP65\r\n"},
        {CommDirection::kReceived, "E3\r\n"},
    };
    int ms = 0;
    for (const auto& [direction, line] : lines) {
        log.Add({start + milliseconds(ms), direction, line});
        ms += direction == CommDirection::kSent ? 38 : 262;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qelvar_screens OUTDIR\n");
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    InstallFontSubstitutions();
    QFont font("ＭＳ Ｐゴシック");  // as the program sets it
    font.setPointSize(9);
    QApplication::setFont(font);

    bool ok = true;
    for (const CDialogTemplate* t : AllDialogTemplates()) {
        QDialog dialog;
        BuildDialog(dialog, *t);
        ok = Save(dialog, out.filePath(QString::number(t->nId) + ".png")) && ok;
    }
    CCommLog log;
    AddSampleLines(log);
    CCommLogWindow window(log);
    ok = Save(window, out.filePath("comm_log.png")) && ok;
    return ok ? 0 : 2;
}
