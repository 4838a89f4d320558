// Saving the settings model to a .dat file and loading it back, with the
// warnings the File commands show.
#pragma once

#include <string>

// Writes the model to path without ever destroying the previous file. On
// success clears g_bModified; on failure shows "Can't file open" (the file
// cannot be written) or "Can't file write" and leaves g_bModified as it was.
bool SaveSettingsFile(const std::string& path);

// Reads path into the model and clears g_bModified. A file that cannot be
// opened ("Can't file open") or holds a bad value ("Can't file read (line N)")
// leaves the model and g_bModified untouched. g_strFileName is the caller's.
bool LoadSettingsFile(const std::string& path);
