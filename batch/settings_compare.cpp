#include "batch/settings_compare.h"

#include "batch/cycle_steps.h"
#include "link/link_context.h"
#include "model/settings_capture.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

CCompareResult CompareWithReadCopy(CompareScope scope) {
    CCompareResult result;
    const int n = InputChannelCount();
    const CReadBackCopy* copy = Link().ReadCopy();
    for (int k = 1; k <= ReadBackStepCount(n); ++k) {
        auto request = ReadBackRequest(k, n);
        if (!copy || !copy->Landed(*request)) result.missing.push_back(*request);
    }
    if (copy) result.differences = CompareSettings(CaptureSettingsTables(), copy->tables, n, scope);
    return result;
}

std::string ReadRequestList(const std::vector<CReadRequest>& requests, size_t nMax) {
    std::string list;
    for (size_t i = 0; i < requests.size() && i < nMax; ++i) {
        if (i) list += ", ";
        list += LineBody(FormatReadCommand(requests[i]));
    }
    if (requests.size() > nMax) list += ", ... (" + std::to_string(requests.size()) + ")";
    return list;
}
