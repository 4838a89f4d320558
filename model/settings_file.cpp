#include "model/settings_file.h"

#include "model/file_io.h"
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
        WriteFileAtomically(path, FormatSettingsFile(g_settings), tracker);
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
    // Read over a copy, so that what the file does not hold (row 0, the current
    // memory) comes through and a refused file leaves nothing behind.
    CSettingsTables scratch = g_settings;
    int linesRead = 0;
    if (int badLine = ParseSettingsFile(*read.text, scratch, &linesRead)) {
        const std::string text = "Can't file read (line " + std::to_string(badLine) + ")";
        return {LoadResult::kRefused, Warn(text.c_str(), "")};
    }
    g_settings = scratch;
    if (linesRead == kSettingsFileLines) {
        g_bModified = 0;
        return {LoadResult::kLoaded, ""};
    }
    // A file cut short (a copy that broke off, an empty file) is not what was
    // saved: the values in memory fill the rest, so they count as changed and
    // the exit question protects them.
    g_bModified = 1;
    const std::string text = "The file ends at line " + std::to_string(linesRead) + " of " +
                             std::to_string(kSettingsFileLines) +
                             "; the rest keeps the values in memory";
    return {LoadResult::kLoaded, Warn(text.c_str(), "")};
}

bool LoadSettingsFile(const std::string& path) {
    return ReadSettingsFile(path).result == LoadResult::kLoaded;
}
