// Whole-file reading and crash-safe replacement of a file's contents.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class WriteResult {
    kOk,
    kOpenFailed,   // the target cannot be written (missing folder, no permission, a folder)
    kWriteFailed,  // writing or replacing failed; the previous file is untouched
};

// What a write came to and, when it failed, why: the path and the system's
// message for the call that failed ("/home/op/a.dat: Permission denied").
struct CWriteOutcome {
    WriteResult result = WriteResult::kOk;
    std::string strReason;
    bool operator==(WriteResult other) const { return result == other; }
};

// Told of the temporary file a write is filling, so that a process ended by a
// signal meanwhile can remove it. Begins comes before the file is created, Ends
// once it has been renamed or removed.
class CTempFileTracker {
public:
    virtual void TempFileBegins(const std::string& path) = 0;
    virtual void TempFileEnds() = 0;

protected:
    ~CTempFileTracker() = default;
};

// Writes content to a temporary file beside path and renames it over path, so a
// failed or interrupted write never destroys the previous file nor leaves a new
// one behind half written; a missing target comes into being only by the rename.
// An existing target keeps its permission bits; a symbolic link keeps pointing
// at the file. Temporary files that earlier writers of the same target left
// behind when they died are removed.
CWriteOutcome WriteFileAtomically(const std::string& path, std::string_view content,
                                  CTempFileTracker* tracker = nullptr);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// A regular file's text, or nothing and why ("/home/op/a.dat: Is a directory").
struct CReadOutcome {
    std::optional<std::string> text;
    std::string strReason;
};

// The whole of a regular file of at most maxBytes. Anything else is refused
// before a byte is read: a FIFO (whose open would wait for a writer), a device
// (which may never end, or act on being opened), a folder, a larger file.
CReadOutcome ReadRegularFile(const std::string& path, size_t maxBytes);
