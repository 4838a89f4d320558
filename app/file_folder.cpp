#include "app/file_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "link/comm_settings.h"

namespace {

const char kSection[] = "Paths";
const char kKey[] = "last_folder";

bool IsFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

}  // namespace

QString FileDialogFolder() {
    const CIniFile profile = LoadProfile();
    // A folder removed since is passed over.
    if (auto last = profile.GetString(kSection, kKey)) {
        const QString folder = QString::fromStdString(*last);
        if (IsFolder(folder)) return folder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return IsFolder(documents) ? documents : QDir::homePath();
}

std::optional<CProfileFault> RememberFileDialogFolder(const std::string& chosenPath) {
    const std::string folder =
        QFileInfo(QString::fromStdString(chosenPath)).absolutePath().toStdString();
    if (LoadProfile().GetString(kSection, kKey) == folder) return std::nullopt;
    return UpdateProfile([&](CIniFile& profile) { profile.SetString(kSection, kKey, folder); });
}
