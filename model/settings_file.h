// Saving the settings model to a .dat file and loading it back, with the
// warnings the File commands show.
#pragma once

#include <string>

#include "model/file_io.h"

// What a save or a load came to. strWarning is the warning shown, if any, with
// the file and the reason on its second line where there is one ("Can't file
// write\n/home/op/a.dat: No space left on device"); the caller may keep it
// beyond the box (the communication log).
struct CSaveOutcome {
    bool bSaved = false;
    std::string strWarning;
    explicit operator bool() const { return bSaved; }
};

// Writes the model to path without ever destroying the previous file. On
// success clears g_bModified; on failure shows "Can't file open" (the file
// cannot be written) or "Can't file write" and leaves g_bModified as it was.
// The tracker, when given, is told of the temporary file.
CSaveOutcome SaveSettingsFile(const std::string& path, CTempFileTracker* tracker = nullptr);

enum class LoadResult {
    kLoaded,
    kOpenFailed,  // "Can't file open" and the reason were shown
    kRefused,     // "Can't file read (line N)" was shown
};

struct CLoadOutcome {
    LoadResult result = LoadResult::kLoaded;
    std::string strWarning;
};

// Reads path into the model and clears g_bModified. A file that ends early is
// loaded as far as it goes, with the warning "The file ends at line N of
// 6498; the rest keeps the values in memory", and sets g_bModified. A file that
// cannot be opened, is not a regular file, is larger than any settings file or
// holds a bad value leaves the model and g_bModified untouched.
// g_strFileName is the caller's.
CLoadOutcome ReadSettingsFile(const std::string& path);
// True when the file was loaded.
bool LoadSettingsFile(const std::string& path);
