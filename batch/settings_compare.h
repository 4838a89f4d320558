// Comparing the settings model with what a compare read (CompareReadSteps)
// brought back from the switcher.
#pragma once

#include <string>
#include <vector>

#include "model/settings_diff.h"
#include "protocol/read_lines.h"

struct CCompareResult {
    // Read commands no data line answered: their entries could not be compared.
    std::vector<CReadRequest> missing;
    std::vector<CSettingsDifference> differences;

    bool Complete() const { return missing.empty(); }
    bool Same() const { return missing.empty() && differences.empty(); }
};

// The model's tables against the copy the last compare read filled, for the
// input channels of the model in force.
CCompareResult CompareWithReadCopy(CompareScope scope = CompareScope::kEverythingRead);

// "RAST05", "RCPI", ...: the read commands, as the user names them.
std::string ReadRequestList(const std::vector<CReadRequest>& requests, size_t nMax = 8);
