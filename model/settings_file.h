// Saving the settings model to a .dat file and loading it back, with the
// warnings the File commands show.
#pragma once

#include <string>

#include "model/file_io.h"

// Writes the model to path without ever destroying the previous file. On
// success clears g_bModified; on failure shows "Can't file open" (the file
// cannot be written) or "Can't file write" and leaves g_bModified as it was.
// The tracker, when given, is told of the temporary file.
bool SaveSettingsFile(const std::string& path, CTempFileTracker* tracker = nullptr);

enum class LoadResult {
    kLoaded,
    kOpenFailed,  // "Can't file open" and the reason were shown
    kRefused,     // "Can't file read (line N)" was shown
};

// Reads path into the model and clears g_bModified. A file that cannot be
// opened, is not a regular file, is larger than any settings file or holds a
// bad value leaves the model and g_bModified untouched.
// g_strFileName is the caller's.
LoadResult ReadSettingsFile(const std::string& path);
// True when the file was loaded.
bool LoadSettingsFile(const std::string& path);
