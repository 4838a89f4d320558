#include "model/settings_file.h"

#include "model/file_io.h"
#include "model/settings_capture.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

namespace {

// The box's own text, and the reason below it when there is one.
std::string Warn(const char* text, const std::string& reason) {
    std::string warning = reason.empty() ? text : text + ("\n" + reason);
    ShowWarning(warning);
    return warning;
}

}  // namespace

CSaveOutcome SaveSettingsFile(const std::string& path, CTempFileTracker* tracker) {
    const CWriteOutcome written =
        WriteFileAtomically(path, FormatSettingsFile(CaptureSettingsTables()), tracker);
    switch (written.result) {
        case WriteResult::kOk:
            g_bModified = 0;
            return {true, ""};
        case WriteResult::kOpenFailed:
            return {false, Warn("Can't file open", written.strReason)};
        case WriteResult::kWriteFailed:
            break;
    }
    return {false, Warn("Can't file write", written.strReason)};
}

CLoadOutcome ReadSettingsFile(const std::string& path) {
    CReadOutcome read = ReadRegularFile(path, kMaxSettingsFileBytes);
    if (!read.text) return {LoadResult::kOpenFailed, Warn("Can't file open", read.strReason)};
    CSettingsTables scratch = CaptureSettingsTables();
    if (int badLine = ParseSettingsFile(*read.text, scratch)) {
        const std::string text = "Can't file read (line " + std::to_string(badLine) + ")";
        return {LoadResult::kRefused, Warn(text.c_str(), "")};
    }
    CommitSettingsTables(scratch);
    g_bModified = 0;
    return {LoadResult::kLoaded, ""};
}

bool LoadSettingsFile(const std::string& path) {
    return ReadSettingsFile(path).result == LoadResult::kLoaded;
}
