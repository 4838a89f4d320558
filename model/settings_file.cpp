#include "model/settings_file.h"

#include "model/file_io.h"
#include "model/settings_capture.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

bool SaveSettingsFile(const std::string& path, CTempFileTracker* tracker) {
    switch (
        WriteFileAtomically(path, FormatSettingsFile(CaptureSettingsTables()), tracker).result) {
        case WriteResult::kOk:
            g_bModified = 0;
            return true;
        case WriteResult::kOpenFailed:
            ShowWarning("Can't file open");
            return false;
        case WriteResult::kWriteFailed:
            break;
    }
    ShowWarning("Can't file write");
    return false;
}

LoadResult ReadSettingsFile(const std::string& path) {
    CReadOutcome read = ReadRegularFile(path, kMaxSettingsFileBytes);
    if (!read.text) {
        ShowWarning("Can't file open\n" + read.strReason);
        return LoadResult::kOpenFailed;
    }
    CSettingsTables scratch = CaptureSettingsTables();
    if (int badLine = ParseSettingsFile(*read.text, scratch)) {
        ShowWarning("Can't file read (line " + std::to_string(badLine) + ")");
        return LoadResult::kRefused;
    }
    CommitSettingsTables(scratch);
    g_bModified = 0;
    return LoadResult::kLoaded;
}

bool LoadSettingsFile(const std::string& path) {
    return ReadSettingsFile(path) == LoadResult::kLoaded;
}
