#include "app/settings_file_dialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

#include "app/file_folder.h"
#include "dialog_kit/dialog_placement.h"

namespace {

bool HasWildcard(const QString& name) {
    return name.contains('*') || name.contains('?');
}

}  // namespace

CSettingsFileDialog::CSettingsFileDialog(QWidget* parent, AcceptMode mode, const char* filter,
                                         const char* suffix)
    : QFileDialog(parent, QString(), FileDialogFolder()) {
    setOption(QFileDialog::DontUseNativeDialog);
    PlaceModalDialog(*this);
    setAcceptMode(mode);
    // Open too takes a name that does not exist: the reader then says it cannot open it.
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(filter);
    setDefaultSuffix(suffix);
    selectFile(QString("*.") + suffix);
    // The list is filled by a thread of the model's; its texts are known once it is.
    if (auto* model = findChild<QFileSystemModel*>()) {
        connect(model, &QFileSystemModel::directoryLoaded, this, [this] { FitColumns(); });
    }
    FitColumns();
}

// Open, Save and Enter in the name field come here.
void CSettingsFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    const QString name = chosen.isEmpty() ? QString() : QFileInfo(chosen.front()).fileName();
    if (!HasWildcard(name)) {
        QFileDialog::accept();
        return;
    }
    if (auto* model = findChild<QFileSystemModel*>()) {
        model->setNameFilters(name.split(' ', Qt::SkipEmptyParts));
    }
}

// Each column as wide as its heading and its widest text; the dialog grows
// to show them all where the screen has room.
void CSettingsFileDialog::FitColumns() {
    auto* view = findChild<QTreeView*>();
    if (!view) return;
    QHeaderView* header = view->header();
    const QAbstractItemView* items = view;  // where the texts' widths are public
    int total = 0;
    for (int i = 0; i < header->count(); ++i) {
        const int wanted = std::max(header->sectionSizeHint(i), items->sizeHintForColumn(i));
        if (header->sectionSize(i) < wanted) header->resizeSection(i, wanted);
        total += header->sectionSize(i);
    }
    const int missing = total - view->viewport()->width();
    if (missing > 0) resize(width() + missing, height());
}
