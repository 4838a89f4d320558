// qelvarctl titles export FILE.dat OUT.csv, titles import FILE.dat IN.csv:
// the channel titles to and from a spreadsheet.
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/temp_file_cleanup.h"
#include "editors/titles_csv.h"
#include "model/file_io.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "protocol/visible_text.h"

namespace {

const char kUsage[] =
    "usage: qelvarctl titles export FILE.dat OUT.csv\n"
    "       qelvarctl titles import FILE.dat IN.csv [--out NEW.dat] [--skip-bad]";

int ExportTitles(const std::string& csvPath) {
    CTempFileCleanup cleanup;
    const CWriteOutcome written =
        WriteFileAtomically(csvPath, FormatTitlesCsv(g_settings), &cleanup);
    if (written == WriteResult::kOk) return kExitOk;
    PrintError(std::string(written == WriteResult::kOpenFailed ? "Can't file open: "
                                                               : "Can't file write: ") +
               written.strReason);
    return kExitCannotOpen;
}

// Each refused row on a line of its own, as "IN.csv: row 7: why".
void PrintRefusals(const std::string& csvPath, const CTitlesCsv& csv) {
    for (const auto& refusal : csv.refusals) {
        const std::string line = csvPath + ": " + TitleRefusalLine(refusal);
        std::fprintf(stderr, "%s\n", VisibleText(line).c_str());
    }
}

int ImportTitles(const std::string& datPath, const std::string& csvPath,
                 const std::optional<std::string>& outPath, bool bSkipBad) {
    const CReadOutcome read = ReadRegularFile(csvPath, kMaxTitlesCsvBytes);
    if (!read.text) {
        PrintError("Can't file open: " + read.strReason);
        return kExitCannotOpen;
    }
    const CTitlesCsv csv = ReadTitlesCsv(*read.text, g_settings);
    PrintRefusals(csvPath, csv);
    if (!csv.AllGood() && !(bSkipBad && csv.bHeaderRead)) {
        PrintError("nothing written: " + std::to_string(csv.refusals.size()) + " rows refused" +
                   (csv.bHeaderRead ? " (--skip-bad takes the good ones)" : ""));
        return kExitRefused;
    }
    const int changed = ApplyTitleRows(csv.rows, g_settings);
    // A file nothing changes in is left as it is; --out always gets one.
    if (outPath || changed > 0) {
        CTempFileCleanup cleanup;
        if (!SaveSettingsFile(outPath.value_or(datPath), &cleanup)) return kExitCannotOpen;
    }
    std::printf("%d titles changed\n", changed);
    return csv.refusals.empty() ? kExitOk : kExitRefused;
}

}  // namespace

int RunTitles(const CCliOptions& options) {
    CCommandArgs args(options.args);
    const auto outPath = args.Value("--out");
    const bool bSkipBad = args.Flag("--skip-bad");
    const auto words = args.Positional();
    const bool bWords = words.size() == 3 && (words[0] == "export" || words[0] == "import");
    const bool bExport = bWords && words[0] == "export";
    if (!args.Error().empty() || !bWords || (bExport && (outPath || bSkipBad))) {
        PrintError(args.Error().empty() ? kUsage : args.Error());
        return kExitUsage;
    }
    // The file's own model says which channels it has; the profile plays no part.
    ResetModelDefaults();
    if (!LoadSettingsFile(words[1])) return kExitCannotOpen;
    if (bExport) return ExportTitles(words[2]);
    return ImportTitles(words[1], words[2], outPath, bSkipBad);
}
