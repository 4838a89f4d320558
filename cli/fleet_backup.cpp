#include "cli/fleet_backup.h"

#include <unistd.h>

#include "model/file_io.h"

namespace {

// More than any settings file is.
constexpr size_t kMaxBackupBytes = 4 << 20;

}  // namespace

std::string BackupPath(const std::string& dir, const std::string& name) {
    return dir + "/" + name + ".dat";
}

std::string BackupReadPath(const std::string& dir, const std::string& name) {
    return dir + "/." + name + ".dat.read";
}

std::string BackupNameFault(const std::string& name) {
    if (name.find('/') != std::string::npos) return "a backup's name cannot hold '/'";
    if (name.starts_with(".")) return "a backup's name cannot begin with '.'";
    return "";
}

BackupLanding LandBackup(const std::string& readPath, const std::string& path, std::string& error) {
    const CReadOutcome read = ReadRegularFile(readPath, kMaxBackupBytes);
    BackupLanding landing = BackupLanding::kFailed;
    if (!read.text) {
        error = read.strReason;
    } else if (ReadRegularFile(path, kMaxBackupBytes).text == read.text) {
        landing = BackupLanding::kUnchanged;
    } else if (const CWriteOutcome written = WriteFileAtomically(path, *read.text);
               written == WriteResult::kOk) {
        landing = BackupLanding::kWritten;
    } else {
        error = written.strReason;
    }
    ::unlink(readPath.c_str());
    return landing;
}
