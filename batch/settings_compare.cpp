#include "batch/settings_compare.h"

#include "batch/cycle_steps.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

std::vector<CReadRequest> UnreadRequests() {
    std::vector<CReadRequest> missing;
    const int n = InputChannelCount();
    const CReadBackCopy* copy = Link().ReadCopy();
    for (int k = 1; k <= ReadBackStepCount(n); ++k) {
        auto request = ReadBackRequest(k, n);
        if (!copy || !copy->Landed(*request)) missing.push_back(*request);
    }
    return missing;
}

CCompareResult CompareWithReadCopy(CompareScope scope) {
    CCompareResult result;
    result.missing = UnreadRequests();
    if (const CReadBackCopy* copy = Link().ReadCopy()) {
        result.differences =
            CompareSettings(g_settings, copy->m_tables, InputChannelCount(), scope);
    }
    return result;
}

void ApplyReadCopy() {
    const CReadBackCopy* copy = Link().ReadCopy();
    if (!copy) return;
    g_settings = copy->m_tables;
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
