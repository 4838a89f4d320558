// The settings-file reader: any bytes. A file it accepts saves and reloads to
// the same tables and the same bytes; a refused one names a line of the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "model/settings_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CSettingsTables tables;
    if (int badLine = ParseSettingsFile(text, tables)) {
        const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
        FUZZ_CHECK(badLine >= 1 && badLine <= lines);
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
