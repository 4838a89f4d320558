// qelvarctl fleet backup: each read-back lands beside its backup first, and
// replaces it only when it is complete and differs, so that a backup folder
// kept in git shows only the switchers that really changed.
#pragma once

#include <string>

// DIR/NAME.dat, and the file the read-back is written to before it lands.
std::string BackupPath(const std::string& dir, const std::string& name);
std::string BackupReadPath(const std::string& dir, const std::string& name);

// Why NAME cannot be a file name in the backup folder; empty when it can.
std::string BackupNameFault(const std::string& name);

enum class BackupLanding { kWritten, kUnchanged, kFailed };

// After a complete read into readPath: replaces path with it (atomically)
// unless path already holds the same bytes. The read file is removed in
// every case; error says why on kFailed.
BackupLanding LandBackup(const std::string& readPath, const std::string& path, std::string& error);
