// What the routing window shows of one row of g_nPattern (the direct switching
// or a memory) as a matrix of inputs by outputs: the crosspoints in use, the
// changes the operator has staged, and the one line a take sends for them,
// built by the output switching editor's own encoder. Only the switcher's GO
// writes the row into the model; any other end of a take leaves the changes
// staged (the reply interpreter or the connection monitor has said why).
// Knows nothing of painting: the window draws what it answers.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "protocol/table_shapes.h"

enum class CrosspointState {
    kFree,     // neither in use nor staged
    kInUse,    // the output shows this input and no change is staged for it
    kLeaving,  // in use, but a change staged for the output moves it away
    kStaged,   // a staged change puts the output on this input
};

enum class TakeResult {
    kSent,
    kNothingStaged,
    kAwaiting,      // the last take is not answered yet
    kCycleRunning,  // a timed run has the line (g_nSendStep)
};

// How the last take ended.
enum class TakeOutcome {
    kNone,        // no take yet, or the row was changed since
    kAwaiting,    // sent, not answered yet
    kDone,        // GO: the model holds the new row
    kRefused,     // answered with anything but GO: the changes stay staged
    kUnanswered,  // no answer in the reply time, or the port was lost
};

class CRoutingMatrix {
public:
    CRoutingMatrix();

    // 0 = the direct switching, 1..64 = memory 01..64.
    int Row() const { return m_nRow; }
    // Shows another row, dropping what is staged; refused (false) for no such
    // row and while a take awaits its answer.
    bool SetRow(int nRow);

    // The input channels of the model in force: 32 or 64.
    int Inputs() const;
    // The source code the output shows in the row.
    int SourceOf(int nOutput) const;
    // The input staged for the output, if any.
    std::optional<int> StagedFor(int nOutput) const;
    int StagedCount() const;
    CrosspointState State(int nInput, int nOutput) const;
    // "A05" when the output shows an auto-sequence pattern, else empty.
    std::string PatternOf(int nOutput) const;
    // "I03 本社" (the title as UTF-8), "I04" for an input without a title.
    std::string InputLabel(int nInput) const;

    // A click on the crosspoint: stages the output onto the input, or, on a
    // crosspoint staged or in use, drops the output's staged change. False
    // when nothing changed (no such crosspoint, a take awaits its answer).
    bool Toggle(int nInput, int nOutput);
    // 取消: drops every staged change.
    void Drop();

    // The row as the take sends it: the model's row with the staged changes.
    OutputRow TakeRow() const;
    // Exactly what the output switching editor sends for TakeRow(): OT for
    // the direct row, TP for a memory.
    std::string TakeLine() const;
    // 送信: sends TakeLine() through the link.
    TakeResult Take();
    bool Awaiting() const { return m_take.has_value(); }
    TakeOutcome LastOutcome() const { return m_outcome; }

    // Settles a take whose answer has come and catches up with the model (the
    // shown row, the model, the titles). True when anything shown changed.
    bool Follow();

private:
    struct CSeen {
        int nInputs = 0;
        OutputRow row{};
        std::array<std::string, kMaxInputs> titles;
        bool operator==(const CSeen&) const = default;
    };
    struct CTake {
        unsigned long nId = 0;
        int nAddress = -1;  // RS-485 slave address the line went to; -1 on RS-232C
        OutputRow sent{};
    };

    CSeen Seen() const;
    bool SettleTake();
    bool PruneStaged();

    int m_nRow = 0;
    std::array<int, kOutputs> m_staged;  // input per output, -1 for none
    std::optional<CTake> m_take;
    TakeOutcome m_outcome = TakeOutcome::kNone;
    CSeen m_seen;
};
