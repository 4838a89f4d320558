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

// The read commands of the last read-back or compare that got no readable
// answer (no data line of theirs landed in the copy), in the order of the steps.
std::vector<CReadRequest> UnreadRequests();

// Puts what the last read-back brought into the settings model: the tables,
// the direct switching and the current memory; g_bModified stays as it is.
// Only a read-back whose every read was answered is applied.
void ApplyReadCopy();

// "RAST05", "RCPI", ...: the read commands, as the user names them.
std::string ReadRequestList(const std::vector<CReadRequest>& requests, size_t nMax = 8);
