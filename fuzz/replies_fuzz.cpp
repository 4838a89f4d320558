// Reply interpretation: any line, on both models and both interfaces, whole and
// split at its first LF. After each line the model holds only what a settings
// file may hold, the error flag is up exactly for an error reply, and a line
// the decoders refuse changes nothing; an accepted data line changes only its
// own table. Taken in as the link takes it, a line nothing was owed does
// nothing, and one owed to a set command is GO or stops a run, with one box.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/readback_decoders.h"
#include "link/reply_dispatch.h"
#include "link/reply_interpreter.h"
#include "link/transmitter.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

namespace {

struct CModelState {
    CSettingsTables tables;
    int bModified = 0;
    bool operator==(const CModelState&) const = default;
};

CModelState Snapshot() {
    return {g_settings, g_bModified};
}

void Restore(const CModelState& s) {
    g_settings = s.tables;
    g_bModified = s.bModified;
}

// The state with the part a data line of this kind may change blanked out.
CModelState WithoutPartOf(CModelState s, DataLine kind) {
    CSettingsTables& t = s.tables;
    switch (kind) {
        case DataLine::kSeqPattern:
            t.m_nSeqTime = {};
            break;
        case DataLine::kTitle:
            t.m_strTitle = {};
            break;
        case DataLine::kTitlePositions:
            t.m_nTitlePosition = {};
            break;
        case DataLine::kInTitleDisp:
            t.m_nInTitleDisp = {};
            break;
        case DataLine::kOutTitleDisp:
            t.m_nOutTitleDisp = {};
            break;
        case DataLine::kCurMemory:
            t.m_nCurMemory = 0;
            break;
        case DataLine::kOutputs:
            t.m_nPattern[kDirectRow] = {};
            break;
        case DataLine::kMemoryPattern:
            for (auto& row : MemoryRows(t)) row = {};
            break;
        case DataLine::kInCalendarDisp:
            t.m_nInCalendarDisp = {};
            break;
        case DataLine::kOutCalendarDisp:
            t.m_nOutCalendarDisp = {};
            break;
        case DataLine::kDateFormat:
            t.m_nDateFormat = 0;
            break;
    }
    return s;
}

bool AllIn(const auto& values, int lo, int hi) {
    return std::all_of(values.begin(), values.end(), [&](int v) { return v >= lo && v <= hi; });
}

// What a settings file may hold, sources within the model in force.
void CheckHoldsOnlyFileValues(const CModelState& s) {
    const CSettingsTables& t = s.tables;
    for (const auto* flags : {&t.m_nInTitleDisp, &t.m_nTitlePosition, &t.m_nInCalendarDisp}) {
        FUZZ_CHECK(AllIn(*flags, 0, 1));
    }
    FUZZ_CHECK(AllIn(t.m_nOutTitleDisp, 0, 1) && AllIn(t.m_nOutCalendarDisp, 0, 1));
    for (const auto& times : t.m_nSeqTime) FUZZ_CHECK(AllIn(times, 0, kMaxSeqTime));
    const int lastSource = InputChannelCount() + kPatterns - 1;
    for (const auto& row : t.m_nPattern) FUZZ_CHECK(AllIn(row, 0, lastSource));
    FUZZ_CHECK(t.m_nCurMemory >= 0 && t.m_nCurMemory <= kPatterns);
    FUZZ_CHECK(t.m_nDateFormat >= 0 && t.m_nDateFormat <= 2);
    for (const auto& title : t.m_strTitle) {
        FUZZ_CHECK(title.size() <= static_cast<size_t>(kMaxTitleBytes) && title.size() % 2 == 0);
        FUZZ_CHECK(title.find_first_of("\r\n") == std::string::npos);
    }
}

bool IsErrorReply(std::string_view work) {
    for (std::string_view reply : {"GN\r\n", "MENU\r\n", "E0\r\n", "E1\r\n", "E2\r\n", "E3\r\n"}) {
        if (work == reply) return true;
    }
    return false;
}

class CCountingSink : public CMessageSink {
public:
    void ShowBox(BoxKind kind, const std::string&) override {
        (kind == BoxKind::kReplyError ? errors : kind == BoxKind::kSuccess ? successes : others)++;
    }
    int errors = 0, successes = 0, others = 0;
};

void CheckOneLine(std::string_view line) {
    const CModelState before = Snapshot();
    CCountingSink sink;
    SetMessageSink(&sink);
    g_bErrorReply = 1;
    InterpretReply(line);
    SetMessageSink(nullptr);
    const CModelState after = Snapshot();

    const std::string_view work = g_bRs485 ? line.substr(std::min<size_t>(2, line.size())) : line;
    const bool bError = IsErrorReply(work);
    FUZZ_CHECK(g_bErrorReply == (bError ? 1 : 0));
    FUZZ_CHECK(sink.errors == (bError ? 1 : 0) && sink.others == 0);
    FUZZ_CHECK(sink.successes == (work == "GO\r\n" ? 1 : 0));
    CheckHoldsOnlyFileValues(after);
    FUZZ_CHECK(after.tables.m_nModel == before.tables.m_nModel);

    const auto kind = DataLineOf(work);
    if (!kind) {
        FUZZ_CHECK(after == before);
        return;
    }
    // The decoder alone, from the same state, says whether the line was taken.
    Restore(before);
    const bool bAccepted = DecodeDataLine(*kind, work);
    FUZZ_CHECK(Snapshot() == after);
    FUZZ_CHECK(bAccepted || after == before);
    FUZZ_CHECK(WithoutPartOf(after, *kind) == WithoutPartOf(before, *kind));
}

// As the link takes the line in: nothing owed, it changes nothing and shows
// nothing; owed to a set command, it is GO, an error reply or a fault, each
// with one box, and lands nowhere.
void CheckAttributed(std::string_view line) {
    const CModelState before = Snapshot();
    CCountingSink sink;
    SetMessageSink(&sink);
    Link().Owed().Reset();
    g_bErrorReply = 0;
    DispatchLine(line);
    FUZZ_CHECK(g_bErrorReply == 0 && sink.errors + sink.successes + sink.others == 0);
    FUZZ_CHECK(Snapshot() == before);

    Link().SetLineTap([](std::string_view) {});
    SendCommand("TSDY\r\n");
    Link().SetLineTap({});
    DispatchLine(line);
    SetMessageSink(nullptr);
    const std::string_view work = g_bRs485 ? line.substr(std::min<size_t>(2, line.size())) : line;
    const bool bGo = work == "GO\r\n";
    FUZZ_CHECK(g_bErrorReply == (bGo ? 0 : 1));
    FUZZ_CHECK(sink.successes == (bGo ? 1 : 0) && sink.errors == (bGo ? 0 : 1) && sink.others == 0);
    FUZZ_CHECK(Snapshot() == before);
    Link().Owed().Reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t firstLf = input.find('\n');
    for (int config = 0; config < 4; ++config) {
        g_nModel = config & 1;
        g_bRs485 = config >> 1;
        g_nSendStep = 0;
        ResetModelDefaults();
        CheckOneLine(input);
        ResetModelDefaults();
        CheckAttributed(input);
        if (firstLf == std::string_view::npos) continue;
        ResetModelDefaults();
        CheckOneLine(input.substr(0, firstLf + 1));
        CheckOneLine(input.substr(firstLf + 1));
    }
    return 0;
}
