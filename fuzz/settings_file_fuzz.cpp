// The settings-file reader: any bytes. A file it accepts saves and reloads to
// the same tables and the same bytes; a refused one names a line of the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "model/settings_file_format.h"

namespace {

// Lines as the reader counts them: each ends in LF, CR LF or a lone CR, and a
// run of CRs right before an LF ends one line.
long LinesOf(const std::string& text) {
    long ends = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            const size_t after = text.find_first_not_of('\r', i);
            if (after != std::string::npos && text[after] == '\n') i = after;
        } else if (text[i] != '\n') {
            continue;
        }
        ++ends;
    }
    return ends + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CSettingsTables tables;
    if (int badLine = ParseSettingsFile(text, tables)) {
        FUZZ_CHECK(badLine >= 1 && badLine <= LinesOf(text));
        return 0;
    }
    const std::string saved = FormatSettingsFile(tables);
    FUZZ_CHECK(std::count(saved.begin(), saved.end(), '\n') == kSettingsFileLines);
    CSettingsTables reloaded;
    FUZZ_CHECK(ParseSettingsFile(saved, reloaded) == 0);
    FUZZ_CHECK(reloaded == tables);
    FUZZ_CHECK(FormatSettingsFile(reloaded) == saved);
    return 0;
}
