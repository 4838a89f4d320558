// Whole-file reading and crash-safe replacement of a file's contents.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class WriteResult {
    kOk,
    kOpenFailed,   // the target cannot be written (missing folder, no permission, a folder)
    kWriteFailed,  // writing or replacing failed; the previous file is untouched
};

// Writes content to a temporary file beside path and renames it over path, so a
// failed or interrupted write never destroys the previous file. An existing
// target keeps its permission bits; a symbolic link keeps pointing at the file.
WriteResult WriteFileAtomically(const std::string& path, std::string_view content);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);
