#include "dialog_kit/dialog_builder.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "dialog_kit/caption_fit.h"
#include "dialog_kit/dialog_placement.h"
#include "res/command_ids.h"

namespace {

// Some styles open a list without an edit field as a menu laid over the box,
// as tall as its entries allow: a 128-entry list then fills the screen. Every
// list here opens as a scrolling list of kListRows rows beside its box, on any
// style. Typing the start of an entry still picks it.
constexpr int kListRows = 20;

QWidget* MakeCombo(QDialog& dialog, const CControlTemplate& c) {
    auto* combo = new QComboBox(&dialog);
    combo->setEditable(c.kind == ControlKind::kDropDown);
    for (const auto& item : c.items) combo->addItem(QString::fromStdString(item));
    combo->setMaxVisibleItems(kListRows);
    combo->setStyleSheet("QComboBox { combobox-popup: 0; }");
    return combo;
}

QWidget* MakeButton(QDialog& dialog, const CControlTemplate& c) {
    auto* button = new QPushButton(QString::fromStdString(c.text), &dialog);
    button->setAutoDefault(false);
    button->setDefault(c.kind == ControlKind::kDefaultButton);
    if (c.nId == IDOK) QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (c.nId == IDCANCEL) {
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    return button;
}

QWidget* MakeEdit(QDialog& dialog, const CControlTemplate& c) {
    auto* edit = new QLineEdit(QString::fromStdString(c.text), &dialog);
    edit->setReadOnly(c.bReadOnly);
    // A read-only edit only shows a count: no focus, no Tab stop.
    if (c.bReadOnly) edit->setFocusPolicy(Qt::NoFocus);
    if (c.bRightAlign) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

QWidget* MakeFrame(QDialog& dialog) {
    auto* frame = new QFrame(&dialog);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    return frame;
}

QWidget* MakeListView(QDialog& dialog, const CControlTemplate& c) {
    auto* list = new QTreeWidget(&dialog);
    QStringList headings;
    for (const auto& item : c.items) headings << QString::fromStdString(item);
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QWidget* MakeControl(QDialog& dialog, const CControlTemplate& c) {
    switch (c.kind) {
        case ControlKind::kGroupBox:
            return new QGroupBox(QString::fromStdString(c.text), &dialog);
        case ControlKind::kDropList:
        case ControlKind::kDropDown:
            return MakeCombo(dialog, c);
        case ControlKind::kButton:
        case ControlKind::kDefaultButton:
            return MakeButton(dialog, c);
        case ControlKind::kEdit:
            return MakeEdit(dialog, c);
        case ControlKind::kStaticText:
            return new QLabel(QString::fromStdString(c.text), &dialog);
        case ControlKind::kFrame:
            return MakeFrame(dialog);
        case ControlKind::kListView:
            return MakeListView(dialog, c);
        case ControlKind::kProgress: {
            auto* bar = new QProgressBar(&dialog);
            bar->setTextVisible(false);
            return bar;
        }
    }
    return nullptr;
}

}  // namespace

CDialogUnits DialogUnitsFor(const QFont& font) {
    QFontMetrics metrics(font);
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    CDialogUnits units;
    units.nBaseX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    units.nBaseY = metrics.height();
    return units;
}

QFont DialogFont(const CDialogTemplate& dialog) {
    QFont font(QString::fromStdString(dialog.font));
    font.setPointSize(dialog.nPointSize);
    return font;
}

void BuildDialog(QDialog& dialog, const CDialogTemplate& t) {
    const QFont font = DialogFont(t);
    dialog.setFont(font);
    dialog.setWindowTitle(QString::fromStdString(t.caption));
    const CDialogUnits units = DialogUnitsFor(font);
    dialog.setFixedSize(units.X(t.cx), units.Y(t.cy));
    PlaceModalDialog(dialog);
    FitToCaption(dialog);
    for (const auto& c : t.controls) {
        QWidget* widget = MakeControl(dialog, c);
        if (c.nId != kNoId) widget->setObjectName(QString::number(c.nId));
        QRect rect = units.Rect(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::kDropList || c.kind == ControlKind::kDropDown) {
            rect.setHeight(widget->sizeHint().height());  // cy is the opened list's height
        }
        widget->setGeometry(rect);
    }
}
